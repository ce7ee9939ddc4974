#include "platform/ui/scripted/scriptedservices.h"

namespace kelvane::ui {

float ScriptedRandom::next() {
    if (values.empty()) {
        return fallback;
    }
    const float v = values.front();
    values.pop_front();
    return v;
}

bool ManualTimer::fire() {
    if (!enabled_) {
        return false;
    }
    emit tick();
    return true;
}

Timer* ManualTimerFactory::createTimer(QObject* parent) {
    auto* timer = new ManualTimer(parent);
    timers.append(QPointer<ManualTimer>(timer));
    return timer;
}

ScriptedServices::ScriptedServices() : previous_(services()) {
    Services s;
    s.messages = &messages;
    s.clock = &clock;
    s.random = &random;
    s.timers = &timers;
    s.files = &files;
    s.printer = &printer;
    installServices(s);
}

ScriptedServices::~ScriptedServices() {
    installServices(previous_);
}

} // namespace kelvane::ui
