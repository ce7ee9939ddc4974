#pragma once

#include <QString>

namespace kelvane::services {
struct Services;
}

namespace kelvane::atelier {

// Runs the workbench on an application folder: its teacher code first when it holds one, then the window until it
// is closed. Returns the program's exit status: 1 when the third wrong code ends it before the window opens.
int executer(const services::Services& services, const QString& dossierInitial);

// The same with the machine's own services: message boxes, file choosers, the start of the student program.
int executerAvecServicesSysteme(const QString& dossierInitial);

} // namespace kelvane::atelier
