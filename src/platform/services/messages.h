#pragma once

#include <QString>

namespace kelvane::services {

// The buttons a message box offers, and the one the user pressed.
enum class Buttons { OkOnly, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class MessageService {
public:
    virtual ~MessageService() = default;
    // A modal box; answers Ok for an OkOnly box, Yes or No for a YesNo box, and also Cancel for a YesNoCancel box
    // (what Escape gives).
    virtual Answer MsgBox(const QString& prompt, Buttons buttons, const QString& title) = 0;
    // A modal input box; the empty text when cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title) = 0;
};

} // namespace kelvane::services
