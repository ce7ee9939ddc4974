#pragma once

#include "platform/db/recordset.h"
#include "platform/services/random.h"

#include <vector>

namespace kelvane {

// The seconds factor of the draw: the second of the minute (0 to 59) over 60.
double facteurSecondes(int seconde);

// The evaluation order: a permutation of 0 to n - 1 drawn from a pool of the stored positions. Each step takes
// j = floor(1 + f * (r * m)) with m the entries left and r * m formed in single precision, so the draw only looks
// at the front of the pool early in the minute; at second 0 (f = 0) the order is the stored one. f is expected in
// [0, 1); any other value gives the stored order.
std::vector<int> TirerOrdre(int n, double f, services::RandomService& aleatoire);

// The training and viewer order: ordre[i - 1] = the position (AbsolutePosition) of the record of rsQuestion whose
// field numero is i, for i from 1 to nbQuestions. When two records carry the same number the later one in stored
// order wins; a place whose number no record carries keeps the value it had. ordre is grown to nbQuestions
// places (new places start at 0, the first stored question), never shrunk. Leaves rsQuestion past its end.
void ordreParNumero(db::Recordset& rsQuestion, int nbQuestions, std::vector<int>& ordre);

} // namespace kelvane
