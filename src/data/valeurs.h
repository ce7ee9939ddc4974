#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

namespace kelvane::data {

// Conversions of field values as the session reads them.

// A 16-bit whole number from a number that need not be whole: rounded to the nearest, halves to the even one.
// Out of range (or not a number) is error 6, with `quoi` naming the value in the text.
std::int16_t entier16(double valeur, const QString& quoi);
// The same from a field value; an empty value or one that is not a number is error 13.
std::int16_t entier16(const QVariant& valeur, const QString& quoi);

// A flag counts only when it holds true: false and empty are both "not set".
bool estVrai(const QVariant& valeur);

// A field as text for a caption: an empty value gives the empty text.
QString texteChamp(const QVariant& valeur);

} // namespace kelvane::data
