#pragma once

#include <QStringList>

namespace kelvane::services {
struct Services;
class MessageService;
} // namespace kelvane::services

namespace kelvane::app {

// Runs the program with the given services in the current folder, its application folder: opens the settings
// database, warns when no teacher code is set, and shows the menu until it is closed. Returns the program's exit
// status: non-zero when the settings database could not be used. The start's own messages (the missing code, the
// settings database that cannot be used) go to `messagesDepart` when given, else to the services' message boxes.
int executer(const services::Services& services, services::MessageService* messagesDepart = nullptr);

// The same with the machine's own services (message boxes, clock, timers, files, printer), in the folder chosen from
// the command line's arguments by demarrage::entrer. Under KELVANE_SANS_FENETRE the start's messages go to the
// standard error instead of boxes.
int executerAvecServicesSysteme(const QStringList& arguments);

} // namespace kelvane::app
