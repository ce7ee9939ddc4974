#pragma once

#include "platform/services/clock.h"
#include "platform/services/printerrecording.h"
#include "platform/services/random.h"
#include "platform/services/services.h"
#include "platform/services/timer.h"
#include "support/doubles/scripteddialogs.h"
#include "support/doubles/scriptedmessages.h"

#include <QList>
#include <QPointer>
#include <deque>

namespace kelvane::doubles {

class ManualClock final : public services::ClockService {
public:
    QDate today() const override { return date; }
    int second() const override { return sec; }
    QDate date{2001, 12, 6};
    int sec = 0;
};

// Numbers given by the test, then a fixed one when the queue is empty.
class ScriptedRandom final : public services::RandomService {
public:
    float next() override;
    std::deque<float> values;
    float fallback = 0.5F;
};

class ManualTimer final : public services::Timer {
    Q_OBJECT
public:
    using services::Timer::Timer;
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool isEnabled() const override { return enabled_; }
    // One tick, as the real timer would give it: only while enabled. Returns whether it ticked.
    bool fire();

private:
    int interval_ = 0;
    bool enabled_ = false;
};

class ManualTimerFactory final : public services::TimerFactory {
public:
    services::Timer* createTimer(QObject* parent) override;
    QList<QPointer<ManualTimer>> timers;
};

// Everything scripted, with the real file service.
class ScriptedServices {
public:
    ScriptedServices() = default;
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    ScriptedMessages messages;
    ManualClock clock;
    ScriptedRandom random;
    ManualTimerFactory timers;
    services::SystemFiles files;
    services::RecordingPrinter printer;
    ScriptedDialogs dialogs;
    ScriptedLauncher launcher;

    // The set handed to forms and sessions.
    services::Services all();
};

} // namespace kelvane::doubles
