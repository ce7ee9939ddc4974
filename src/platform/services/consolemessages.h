#pragma once

#include "platform/services/messages.h"

#include <cstdio>

namespace kelvane::services {

// Message boxes for a run with no one to click: each prompt is written to a stream (the standard error by
// default) under its title, and the box answers at once as Escape would: Ok, No, or Cancel when offered.
class ConsoleMessages final : public MessageService {
public:
    explicit ConsoleMessages(std::FILE* flux = stderr) : flux_(flux) {}

    Answer MsgBox(const QString& prompt, Buttons buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title) override;

private:
    std::FILE* flux_;
};

} // namespace kelvane::services
