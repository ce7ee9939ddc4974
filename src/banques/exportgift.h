#pragma once

#include "banques/banque.h"
#include "data/test.h"

#include <QByteArray>
#include <QStringList>

namespace kelvane::banques {

// The test as a GIFT bank (UTF-8): the questions in number order, a "$CATEGORY:" line wherever the chapter changes,
// each named "Question N", its levels as "// [tag:B1]" comments, its texts "[plain]" with GIFT's special characters
// escaped. A question to tick is a multiple choice ("=" for the one right answer, "%" weights as the Moodle XML export
// shares them when there are several); a question to put in order uses the ordering plug-in's "{>n ALL VERTICAL
// ABSOLUTE_POSITION SHOW" with its answers in the right order. GIFT holds no picture: when the test has some, notes
// says how many were left behind.
QByteArray exporterGift(const data::Test& test, const Images& images, QStringList& notes);

} // namespace kelvane::banques
