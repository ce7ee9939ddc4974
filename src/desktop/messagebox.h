#pragma once

#include "platform/services/messages.h"

#include <QPointer>
#include <QWidget>

namespace kelvane::desktop {

// The real message and input boxes, modal over the given window (or the active one when none was given).
// A carriage return in a prompt starts a new line, as in the texts the program shows.
class QtMessages final : public services::MessageService {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}

    services::Answer MsgBox(const QString& prompt, services::Buttons buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title) override;

    void setParentWidget(QWidget* parent) { parent_ = parent; }

private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
};

// "\r\n" and a lone "\r" both become a line break.
QString promptText(const QString& prompt);

} // namespace kelvane::desktop
