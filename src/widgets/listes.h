#pragma once

#include <QStringList>
#include <functional>

class QListWidget;

namespace kelvane::widgets {

// Runs `choix` with the row of a line chosen in the list, whether by a click (on any line, even the current one)
// or by moving the selection with the keyboard (the first arrow key in a list without a chosen line chooses its
// current line); the row is never -1.
void suivreChoix(QListWidget* liste, const std::function<void(int)>& choix);

// Sorts file names as a Windows folder shows them: alphabetical, ignoring case and accents.
void trierNoms(QStringList& noms);

} // namespace kelvane::widgets
