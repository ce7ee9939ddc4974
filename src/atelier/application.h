#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::services {
struct Services;
}

namespace kelvane::atelier {

// Runs the workbench on an application folder: its teacher code first when it holds one, then the window until it
// is closed. Returns the program's exit status: 1 when the third wrong code ends it before the window opens.
int executer(const services::Services& services, const QString& dossierInitial);

// The same with the machine's own services (message boxes, file choosers, the start of the student program), on the
// folder chosen from the command line's arguments by demarrage::entrer, as the student program's. Under
// KELVANE_SANS_FENETRE the messages of that choice go to the standard error instead of a box.
int executerAvecServicesSysteme(const QStringList& arguments);

} // namespace kelvane::atelier
