#pragma once

#include "platform/services/clock.h"
#include "platform/services/dialogs.h"
#include "platform/services/files.h"
#include "platform/services/launcher.h"
#include "platform/services/messages.h"
#include "platform/services/random.h"
#include "platform/services/timer.h"

namespace kelvane::services {

class PrinterService;

// The services the forms and the session call, handed to each at its construction: the program's start makes the
// machine's own, tests make scripted ones.
struct Services {
    MessageService* messages = nullptr;
    ClockService* clock = nullptr;
    RandomService* random = nullptr;
    TimerFactory* timers = nullptr;
    FileService* files = nullptr;
    PrinterService* printer = nullptr;
    // The workbench's own: the folder and file choosers, and the start of the student program.
    FileDialogService* dialogs = nullptr;
    LauncherService* launcher = nullptr;
};

} // namespace kelvane::services
