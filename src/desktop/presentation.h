#pragma once

#include <QString>
#include <QTranslator>

namespace kelvane::desktop {

// What a windowed program sets before its first window, and keeps for its whole run: its icon, its version, the
// desktop entry its windows belong to (the menu's name and icon on the task bar), and Qt's own texts (standard
// buttons, file choosers, the print box, the edit menus of the text fields) in French when the system has them.
class Presentation {
public:
    explicit Presentation(const QString& entreeBureau);
    Presentation(const Presentation&) = delete;
    Presentation& operator=(const Presentation&) = delete;
    ~Presentation();

    // Whether Qt's French texts were found and installed.
    bool traductionQt() const { return traductionInstallee_; }

private:
    QTranslator qt_;
    bool traductionInstallee_ = false;
};

} // namespace kelvane::desktop
