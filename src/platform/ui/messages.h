#pragma once

#include <QString>

namespace kelvane::ui {

// Button sets and results of a message box, numbered as the forms' code expects them.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNo = 4;
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

class MessageService {
public:
    virtual ~MessageService() = default;
    // A modal box; returns vbOK for set 0, vbYes or vbNo for set 4.
    virtual int MsgBox(const QString& prompt, int buttons, const QString& title) = 0;
    // A modal input box; the empty text when cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title) = 0;
};

} // namespace kelvane::ui
