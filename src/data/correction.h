#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>

namespace kelvane::data {

// The number at the head of a typed text: blanks, tabs and line feeds are ignored wherever they stand, then the
// longest prefix that forms a number (sign, digits, a point as decimal separator, exponent) is read; a text with
// no such prefix gives 0. "3abc" gives 3, " 3" gives 3, "1 2" gives 12, "abc" and "" give 0.
double valeurNumerique(const QString& texte);

// The rank typed in an ordering combo as the 16-bit value recorded: the leading number, rounded to the nearest
// whole number (halves to the even one). A number out of the 16-bit range is error 6: the form shows it and the
// session goes on, the question's record unchanged.
std::int16_t valeurCombo(const QString& texte);

// The marking rule: right only when every expected value S1 to S5 equals the answer RE1 to RE5. An empty
// expected value cannot be compared and is not counted as a difference.
bool estJuste(const std::array<QVariant, 5>& attendues, const std::array<std::int16_t, 5>& reponses);

} // namespace kelvane::data
