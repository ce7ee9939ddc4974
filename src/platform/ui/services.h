#pragma once

#include "platform/ui/clock.h"
#include "platform/ui/files.h"
#include "platform/ui/messages.h"
#include "platform/ui/random.h"
#include "platform/ui/timer.h"

namespace kelvane::ui {

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

Services& services();
void installServices(const Services& s);

} // namespace kelvane::ui
