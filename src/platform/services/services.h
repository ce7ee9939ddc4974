#pragma once

#include "platform/services/clock.h"
#include "platform/services/files.h"
#include "platform/services/messages.h"
#include "platform/services/random.h"
#include "platform/services/timer.h"

namespace kelvane::services {

class PrinterService;

// The services every form calls. The program installs the real ones at start; tests install scripted ones.
struct Services {
    MessageService* messages = nullptr;
    ClockService* clock = nullptr;
    RandomService* random = nullptr;
    TimerFactory* timers = nullptr;
    FileService* files = nullptr;
    PrinterService* printer = nullptr;
};

Services& installed();
void installServices(const Services& s);

} // namespace kelvane::services
