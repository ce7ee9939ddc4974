#pragma once

#include "results/resultats.h"

#include <QString>
#include <map>

// A class folder made by the program's own sessions, for the class summary's tests: the test B1V of six questions
// (chapters 1 "Généralités" and 2 "Sécurité", pass mark 70) beside the settings file, and four results files:
//   Alice MARTIN 1A, training on 06/12/01: every question right;
//   Bruno DURAND 1A, training on 06/12/01: answer 2 ticked on questions 1 to 3 (wrong), right on 4 to 6;
//   Chloé PETIT 1B, training on 06/12/01: right on question 1, answers 1 and 2 on question 2, then given up;
//   Bruno DURAND 1A, evaluation on 08/12/01 (stored order): right but on question 5, where answer 3 is ticked.
// Question levels: 1 B0, 2 B0 B1, 3 B1, 4 B1 BR, 5 BR, 6 B0; chapters: 1, 1, 2, 2, 2, 1.
namespace classe {

// Makes the folder's files in `dossier` (existing, empty); returns what each session's results screen showed, by
// file name.
std::map<QString, kelvane::results::TextesResultats> creer(const QString& dossier);

} // namespace classe
