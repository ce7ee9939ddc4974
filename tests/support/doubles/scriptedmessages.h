#pragma once

#include "platform/services/messages.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace kelvane::doubles {

// Message and input boxes for tests: every box is recorded, and answered from a queue of expectations.
// A box that nobody expected fails the running test (and is answered OK / No / cancelled so that it goes on).
class ScriptedMessages final : public services::MessageService {
public:
    struct Shown {
        QString prompt;
        services::Buttons buttons = services::Buttons::OkOnly;
        QString title;
        bool input = false;
    };

    // The next message box is expected to carry this prompt (empty: any prompt) and is answered so.
    // 'during' runs while the box is "open", before it returns, e.g. to tick a timer meanwhile.
    void expectMessage(const QString& prompt, services::Answer answer = services::Answer::Ok,
                       std::function<void()> during = {});
    void expectInput(const QString& prompt, const QString& answer);

    services::Answer MsgBox(const QString& prompt, services::Buttons buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title) override;

    const QList<Shown>& shown() const { return shown_; }
    const Shown& last() const { return shown_.back(); }
    int pending() const { return static_cast<int>(queue_.size()); }
    // Every expected box has been shown: check it at the end of a test, an unshown box is a missed step.
    bool allAnswered() const { return queue_.empty(); }
    void clear(); // forgets the expectations and the boxes shown

private:
    void fail(const QString& why) const;

    struct Expected {
        bool input = false;
        QString prompt;
        services::Answer answer = services::Answer::Ok;
        QString text;
        std::function<void()> during;
    };
    std::deque<Expected> queue_;
    QList<Shown> shown_;
};

} // namespace kelvane::doubles
