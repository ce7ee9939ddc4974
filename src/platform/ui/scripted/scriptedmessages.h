#pragma once

#include "platform/ui/messages.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace kelvane::ui {

// Message and input boxes for tests: every box is recorded, and answered from a queue of expectations.
// A box that nobody expected fails the running test (and is answered OK / No / cancelled so that it goes on).
class ScriptedMessages final : public MessageService {
public:
    struct Shown {
        QString prompt;
        int buttons = 0;
        QString title;
        bool input = false;
    };

    // The next message box is expected to carry this prompt (empty: any prompt) and is answered so.
    // 'during' runs while the box is "open", before it returns, e.g. to tick a timer meanwhile.
    void expectMessage(const QString& prompt, int answer = vbOK, std::function<void()> during = {});
    void expectInput(const QString& prompt, const QString& answer);

    int MsgBox(const QString& prompt, int buttons, const QString& title) override;
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
        int answer = vbOK;
        QString text;
        std::function<void()> during;
    };
    std::deque<Expected> queue_;
    QList<Shown> shown_;
};

} // namespace kelvane::ui
