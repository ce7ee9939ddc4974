#pragma once

namespace kelvane::services {
struct Services;
}

namespace kelvane::app {

// Loads the menu and runs the program with the given services. Returns the program's exit status:
// non-zero when the settings database could not be used.
int executer(const services::Services& services);

// The same with the machine's own services: message boxes, clock, timers, files.
int executerAvecServicesSysteme();

} // namespace kelvane::app
