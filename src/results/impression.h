#pragma once

#include "results/rapport.h"

#include <QString>

namespace kelvane::services {
struct Services;
}

namespace kelvane::results {

// The print button of a results frame: prints the report on the printer service, named after the results file
// (its name or path). When no printer took it, a box tells the full path of the PDF written instead. A failure is
// shown in the error box, never thrown, and leaves no document begun. Returns whether the report went out.
bool imprimerResultats(const services::Services& services, const Rapport& rapport, const QString& fichierResultats);

} // namespace kelvane::results
