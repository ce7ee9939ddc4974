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

services::Services ScriptedServices::services() const {
    // The services are called through non-const references; this object only hands out where they live.
    auto* self = const_cast<ScriptedServices*>(this);
    services::Services s;
    s.messages = &self->messages;
    s.clock = &self->clock;
    s.random = &self->random;
    s.timers = &self->timers;
    s.files = &self->files;
    s.printer = &self->printer;
    return s;
}

} // namespace kelvane::doubles
