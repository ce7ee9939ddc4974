#pragma once

#include "platform/services/random.h"

#include <QVariant>
#include <vector>

namespace kelvane::session {

// The seconds factor of the draw: the second of the minute (0 to 59) over 60.
double facteurSecondes(int seconde);

// The evaluation order: a permutation of 0 to n - 1 drawn from a pool of the stored positions. Each step takes
// j = floor(1 + f * (r * m)) with m the entries left and r * m formed in single precision, so the draw only looks
// at the front of the pool early in the minute; at second 0 (f = 0) the order is the stored one. f is expected in
// [0, 1); any other value gives the stored order.
std::vector<int> tirerOrdre(int n, double f, services::RandomService& aleatoire);

// The training and viewer order, from the field numero of every question in stored order: place i - 1 takes the
// position of the record numbered i, for i from 1 to nbQuestions. When two records carry the same number the later
// one wins; a place whose number no record carries keeps the value it had in `ordre`. The order is grown to
// nbQuestions places (new places start at 0, the first stored question), never shrunk.
std::vector<int> ordreParNumero(const std::vector<QVariant>& numeros, int nbQuestions, std::vector<int> ordre);

} // namespace kelvane::session
