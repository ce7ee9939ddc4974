#pragma once

#include "platform/ui/messages.h"

#include <QPointer>
#include <QWidget>

namespace kelvane::ui {

// The real message and input boxes, modal over the given window (or the active one when none was given).
// A carriage return in a prompt starts a new line, as in the texts inherited from the old forms.
class QtMessages final : public MessageService {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}

    int MsgBox(const QString& prompt, int buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title) override;

    void setParentWidget(QWidget* parent) { parent_ = parent; }

private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
};

// "\r\n" and a lone "\r" both become a line break.
QString promptText(const QString& prompt);

} // namespace kelvane::ui
