#pragma once

#include "banques/banque.h"

#include <QIODevice>
#include <QString>

namespace kelvane::banques {

// The number of characters that one entity declared in a bank's DOCTYPE may expand to, the entities it names
// included: enough for any real bank (Moodle declares none), too few for a "billion laughs".
inline constexpr int kLimiteEntites = 4096;

// Reads a Moodle XML bank as it streams from the device: only the question being read and those kept stay in
// memory. A <question type="category"> starts a chapter; multichoice (an answer to tick when its fraction is above
// 0), truefalse (answers « Vrai » and « Faux ») and ordering (the answers in their right order, shown in the test
// in the order placerReponsesOrdre gives) questions are kept; their HTML becomes plain text; a picture embedded as
// <file> and referred to by @@PLUGINFILE@@ in a text goes with the question or the answer; tags named like a level (B0,
// B1, B2, BR, BC) give the levels. Every other question is left out with its reason. A malformed file gives erreur with
// its line and column. nomFichier names the file in the messages and, less its extension, the chapter of questions
// outside any category.
ResultatImport importerMoodle(QIODevice& fichier, const QString& nomFichier);

} // namespace kelvane::banques
