#pragma once

#include <QObject>
#include <memory>

namespace kelvane::services {

// A form's timer: interval, enabled flag and a tick. Tests tick it by hand.
class Timer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

signals:
    void tick();
};

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual Timer* createTimer(QObject* parent) = 0;
};

class SystemTimerFactory final : public TimerFactory {
public:
    Timer* createTimer(QObject* parent) override;
};

} // namespace kelvane::services
