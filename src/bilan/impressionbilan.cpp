#include "bilan/impressionbilan.h"

#include "platform/services/printer.h"
#include "platform/services/services.h"

namespace kelvane::bilan {

services::PrintOutcome imprimerBilan(services::PrinterService&, const Classe&, const Selection&, const Illustrations&) {
    return {};
}

bool imprimerBilan(const services::Services&, const Classe&, const Selection&, const Illustrations&) {
    return false;
}

} // namespace kelvane::bilan
