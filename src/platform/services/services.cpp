#include "platform/services/services.h"

namespace kelvane::services {

namespace {
Services& instance() {
    static Services s;
    return s;
}
} // namespace

Services& installed() {
    return instance();
}

void installServices(const Services& s) {
    instance() = s;
}

} // namespace kelvane::services
