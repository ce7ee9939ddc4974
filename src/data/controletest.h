#pragma once

#include "data/test.h"

#include <QString>
#include <vector>

namespace kelvane::data {

// One problem of a test, as a teacher reads it: the question it concerns (its index in stored order), or -1 for
// the test's settings and chapters.
struct Probleme {
    int question = -1;
    QString message;

    bool operator==(const Probleme&) const = default;
};

// Every problem that keeps a test from being used as it is written: texts within their fields (data/format.h),
// one to five answers with their texts, ranks 1..n each once, at least one answer to tick, at least one level, a
// declared chapter, question numbers 1..N each once, the time allowed (1 to 32767 s) and the pass mark (0 to 100 %).
// Problems come in the order of the test: settings, chapters, then each question. An empty list means the test can
// be saved.
std::vector<Probleme> controlerTest(const Test& test);

} // namespace kelvane::data
