#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace kelvane::mktest {

// The symbol pictures the program shows beside some questions, drawn black on white.
enum class Symbol { Condo, Terre, ClasseII };

inline constexpr int kImageSize = 96;
inline constexpr int kJpegQuality = 90; // fixed, so that every build writes the same bytes

QString symbolFileName(Symbol symbol); // "Condo.jpg", "Terre.jpg", "Classe II.jpg"
QImage drawSymbol(Symbol symbol);

// Writes the three pictures into folder (made when missing). Returns the faults, in French; empty on success.
QStringList writeImages(const QString& folder);

} // namespace kelvane::mktest
