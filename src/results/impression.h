#pragma once

#include "platform/services/printer.h"
#include "results/rapport.h"

#include <QString>
#include <functional>

namespace kelvane::services {
struct Services;
}

namespace kelvane::results {

// A print button's work: `imprimer` prints one document, named nomDocument, on the printer service. When no printer
// took it, a box says avisPdf followed by the full path of the PDF written instead. A failure is shown in the error
// box, never thrown, and leaves no document begun. Returns whether the document went out.
bool imprimerAvecAvis(const services::Services& services, const QString& nomDocument, const QString& avisPdf,
                      const std::function<services::PrintOutcome(services::PrinterService&)>& imprimer);

// The print button of a results frame: prints the report on the printer service, named after the results file
// (its name or path). When no printer took it, a box tells the full path of the PDF written instead. A failure is
// shown in the error box, never thrown, and leaves no document begun. Returns whether the report went out.
bool imprimerResultats(const services::Services& services, const Rapport& rapport, const QString& fichierResultats);

} // namespace kelvane::results
