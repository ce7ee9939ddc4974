#pragma once

#include "data/test.h"

#include <QString>
#include <array>

namespace kelvane::edition {

using Question = data::Test::Question;

// The five levels of a question, in the order of its fields B0 to BC.
inline const std::array<QString, 5> kNiveaux{QStringLiteral("B0"), QStringLiteral("B1"), QStringLiteral("B2"),
                                             QStringLiteral("BR"), QStringLiteral("BC")};

// A question's fields read as the editor shows them: a null reads as the empty text, 0 or false; true may be
// stored as 1 or -1.
QString texte(const Question& q);
bool estQcm(const Question& q);
int nbReponses(const Question& q);
QString reponse(const Question& q, int j); // j from 0 to 4
int valeur(const Question& q, int j);      // the tick (1 or 0) or the rank
bool niveau(const Question& q, int k);     // k from 0 (B0) to 4 (BC)
int chapitre(const Question& q);
int numero(const Question& q);
int tempsQuestion(const Question& q);
// The levels a question belongs to, as "B0 B1".
QString niveaux(const Question& q);

// A new question to tick with two empty answers, in the given chapter, with the given levels.
Question nouvelleQuestion(int chapitre, const std::array<bool, 5>& niveaux = {});

// The question turned into one to tick (the answer ranked first becomes the one ticked) or one to put in order
// (ranks 1 to n in the order shown).
void changerGenre(Question& q, bool qcm);
// Answers added (empty, not ticked or ranked after the others) or removed (their text and value cleared, as the
// file's slots beyond the count hold).
void changerNbReponses(Question& q, int n);

// Whether two questions read the same for the editor (true stored as -1 equals true stored as 1).
bool memeQuestion(const Question& a, const Question& b);

} // namespace kelvane::edition
