#pragma once

#include "data/format.h"
#include "data/test.h"

#include <QString>
#include <array>

namespace kelvane::edition {

// The test's own question, its fields as the file holds them: the editor changes it in place.
using data::QuestionTest;

// A question's fields read as the editor shows them: a null reads as the empty text, 0 or false; true may be
// stored as 1 or -1.
QString texte(const QuestionTest& q);
bool estQcm(const QuestionTest& q);
int nbReponses(const QuestionTest& q);
QString reponse(const QuestionTest& q, int j); // j from 0 to data::NbReponsesMax - 1
int valeur(const QuestionTest& q, int j);      // the tick (1 or 0) or the rank
bool niveau(const QuestionTest& q, int k);     // k from 0 (B0) to 4 (BC)
int chapitre(const QuestionTest& q);
int numero(const QuestionTest& q);
int tempsQuestion(const QuestionTest& q);
// The levels a question belongs to, as "B0 B1".
QString niveaux(const QuestionTest& q);

// A new question to tick with two empty answers, in the given chapter, with the given levels.
QuestionTest nouvelleQuestion(int chapitre, const std::array<bool, data::NbNiveaux>& niveaux = {});

// The question turned into one to tick (the answer ranked first becomes the one ticked) or one to put in order
// (ranks 1 to n in the order shown).
void changerGenre(QuestionTest& q, bool qcm);
// Answers added (empty, not ticked or ranked after the others) or removed (their text and value cleared, as the
// file's slots beyond the count hold).
void changerNbReponses(QuestionTest& q, int n);

// Whether two questions read the same for the editor (true stored as -1 equals true stored as 1).
bool memeQuestion(const QuestionTest& a, const QuestionTest& b);

} // namespace kelvane::edition
