#pragma once

#include "banques/banque.h"

#include <QByteArray>
#include <QString>

namespace kelvane::banques {

// Reads an Aiken bank (UTF-8): each question a line of text (or several, joined), then its answers each on a line
// of its own lettered "A." or "A)", then "ANSWER: X" naming the one right answer. Blank lines are skipped. Every
// question goes into one chapter named after the file. A question without its ANSWER line, an answer before any
// question or an ANSWER naming no answer given is a syntax error, in erreur with its line.
ResultatImport importerAiken(const QByteArray& donnees, const QString& nomFichier);

} // namespace kelvane::banques
