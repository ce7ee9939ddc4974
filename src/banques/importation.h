#pragma once

#include "banques/banque.h"

#include <QByteArray>
#include <QString>

namespace kelvane::banques {

enum class Format { Moodle, Gift, Aiken };

// The format of a bank from its name, else from its bytes: Moodle XML for a .xml name, GIFT for a .gift name; for
// any other name (.txt...) Moodle XML when the text starts with '<', GIFT when it holds a '{', Aiken otherwise.
Format formatBanque(const QString& nomFichier, const QByteArray& donnees);

// Reads the bank at chemin in its format (formatBanque): a Moodle XML bank streams from the file, a GIFT or Aiken
// one is read whole. A file that cannot be read gives erreur.
ResultatImport importer(const QString& chemin);

// The same from the bank's bytes; nomFichier names it in the messages and names the chapter of questions outside
// any category.
ResultatImport importer(const QByteArray& donnees, Format format, const QString& nomFichier);

} // namespace kelvane::banques
