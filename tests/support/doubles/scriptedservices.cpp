#include "support/doubles/scriptedservices.h"

using namespace kelvane;
using namespace kelvane::doubles;

namespace kelvane::doubles {

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

services::Timer* ManualTimerFactory::createTimer(QObject* parent) {
    auto* timer = new ManualTimer(parent);
    timers.append(QPointer<ManualTimer>(timer));
    return timer;
}

services::Services ScriptedServices::all() {
    services::Services s;
    s.messages = &messages;
    s.clock = &clock;
    s.random = &random;
    s.timers = &timers;
    s.files = &files;
    s.printer = &printer;
    s.dialogs = &dialogs;
    s.launcher = &launcher;
    return s;
}

} // namespace kelvane::doubles
