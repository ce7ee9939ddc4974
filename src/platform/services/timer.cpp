#include "platform/services/timer.h"

#include <QTimer>

namespace kelvane::services {

namespace {

// A form's timer ticks only while enabled with a non-zero interval, and changing the
// interval of a running timer starts the count again.
class SystemTimer final : public Timer {
public:
    explicit SystemTimer(QObject* parent) : Timer(parent), timer_(this) {
        connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    }

    void setInterval(int milliseconds) override {
        interval_ = milliseconds < 0 ? 0 : milliseconds;
        apply(true);
    }
    int interval() const override { return interval_; }

    void setEnabled(bool enabled) override {
        const bool restart = enabled != enabled_;
        enabled_ = enabled;
        apply(restart);
    }
    bool isEnabled() const override { return enabled_; }

private:
    void apply(bool restart) {
        if (!enabled_ || interval_ == 0) {
            timer_.stop();
        } else if (restart || !timer_.isActive()) {
            timer_.start(interval_);
        }
    }

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = false;
};

} // namespace

Timer* SystemTimerFactory::createTimer(QObject* parent) {
    return new SystemTimer(parent);
}

} // namespace kelvane::services
