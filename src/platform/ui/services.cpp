#include "platform/ui/services.h"

namespace kelvane::ui {

namespace {
Services& instance() {
    static Services s;
    return s;
}
} // namespace

Services& services() {
    return instance();
}

void installServices(const Services& s) {
    instance() = s;
}

} // namespace kelvane::ui
