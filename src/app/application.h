#pragma once

namespace kelvane::services {
struct Services;
}

namespace kelvane::app {

// Runs the program with the given services in the current folder, its application folder: opens the settings
// database, warns when no teacher code is set, and shows the menu until it is closed. Returns the program's exit
// status: non-zero when the settings database could not be used.
int executer(const services::Services& services);

// The same with the machine's own services: message boxes, clock, timers, files, printer.
int executerAvecServicesSysteme();

} // namespace kelvane::app
