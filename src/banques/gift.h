#pragma once

#include "banques/banque.h"

#include <QByteArray>
#include <QString>

namespace kelvane::banques {

// Reads a GIFT bank (UTF-8): questions separated by blank lines, "//" comment lines (a comment's "[tag:B1]" gives a
// level), "$CATEGORY: path" lines giving the chapters, an optional "::title::" and "[html]", "[plain]",
// "[markdown]" or "[moodle]" format, the answers between braces. Multiple choice ("=" right, "~" wrong, "~%50%" a
// weight: positive is to tick), true/false ({T}, {TRUE}, {F}, {FALSE}) and the ordering plug-in's "{>" are kept;
// short answer, numerical, matching, essay and a text without braces are left out with their reason. "\~ \= \# \{
// \} \: \\" stand for the character, "\n" for a line break; "#" feedback is dropped. A syntax error gives erreur
// with its line.
ResultatImport importerGift(const QByteArray& donnees, const QString& nomFichier);

} // namespace kelvane::banques
