#pragma once

#include "desktop/filedialogs.h"
#include "desktop/messagebox.h"
#include "desktop/printerqt.h"
#include "platform/services/clock.h"
#include "platform/services/consolemessages.h"
#include "platform/services/files.h"
#include "platform/services/launcher.h"
#include "platform/services/random.h"
#include "platform/services/services.h"
#include "platform/services/timer.h"

namespace kelvane::desktop {

// The machine's own services, one of each, for a program's whole run.
class ServicesSysteme {
public:
    ServicesSysteme() {
        services_.clock = &clock_;
        services_.random = &random_;
        services_.timers = &timers_;
        services_.files = &files_;
        services_.messages = &messages_;
        services_.printer = &printer_;
        services_.dialogs = &dialogs_;
        services_.launcher = &launcher_;
    }
    ServicesSysteme(const ServicesSysteme&) = delete;
    ServicesSysteme& operator=(const ServicesSysteme&) = delete;

    const services::Services& tous() const { return services_; }
    // Where the start-up messages go: boxes, or the error output when no window may be shown.
    services::MessageService& messagesDepart(bool sansFenetre) {
        return sansFenetre ? static_cast<services::MessageService&>(console_) : messages_;
    }

private:
    services::SystemClock clock_;
    services::SystemRandom random_;
    services::SystemTimerFactory timers_;
    services::SystemFiles files_;
    services::SystemLauncher launcher_;
    services::ConsoleMessages console_;
    QtMessages messages_;
    QtFileDialogs dialogs_;
    SystemPrinter printer_;
    services::Services services_;
};

} // namespace kelvane::desktop
