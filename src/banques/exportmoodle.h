#pragma once

#include "banques/banque.h"
#include "data/test.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kelvane::banques {

// The test as a Moodle XML bank that Moodle's own import takes: one category per chapter ("$course$/top/<name>"),
// then the questions in number order, each named "Question N", with its levels as tags. A question to tick is a
// multichoice: 100 shared between the right answers (33.33333, 33.33333, 33.33334 for three) and, when there are
// several, -100 shared between the wrong ones, as Moodle's fixed grades allow. A question to put in order is an
// ordering question, its answers in the right order, each answer's fraction (which Moodle's import leaves aside)
// giving its place in the test. Pictures are embedded as base64 <file> elements, referred to by @@PLUGINFILE@@.
// Reading this export back with importerMoodle gives the same chapters, numbered in order, and the same questions
// with their pictures, bar the questions' times, which Moodle has no place for, and runs of blanks in a text, which
// HTML reads as one.
QByteArray exporterMoodle(const data::Test& test, const Images& images);

// A hundred percent, in the unit of Moodle's fractions: its grades are kept to seven decimals of 1, five of a
// percent.
inline constexpr qint64 kCentPourCent = 10'000'000;

// Moodle's text of a fraction given in hundred-thousandths of a percent: "100", "33.33333", "-50".
QString fractionMoodle(qint64 fraction);

// n equal shares of total (kCentPourCent or -kCentPourCent), the last taking what rounding leaves so that they
// add up to the total.
std::vector<qint64> partsMoodle(int n, qint64 total);

} // namespace kelvane::banques
