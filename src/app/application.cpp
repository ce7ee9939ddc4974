#include "app/application.h"

#include "app/commun.h"
#include "app/formes.h"
#include "app/menu.h"
#include "desktop/messagebox.h"
#include "desktop/printerqt.h"
#include "platform/services/services.h"

#include <QApplication>
#include <QStyleFactory>

namespace kelvane::app {

int executer(const services::Services& services) {
    services::installServices(services);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    int statut = 0;
    {
        Formes formes;
        Menu menu;
        formes.brancher(menu);
        if (!menu.Form_Load()) {
            statut = 1;
        } else {
            menu.show();
            statut = QApplication::exec();
        }
    }
    Commun::reinitialiser();
    return statut;
}

int executerAvecServicesSysteme() {
    services::SystemClock clock;
    services::SystemRandom random;
    services::SystemTimerFactory timers;
    services::SystemFiles files;
    desktop::QtMessages messages;
    desktop::SystemPrinter printer;
    services::Services s;
    s.clock = &clock;
    s.random = &random;
    s.timers = &timers;
    s.files = &files;
    s.messages = &messages;
    s.printer = &printer;
    const int statut = executer(s);
    services::installServices({});
    return statut;
}

} // namespace kelvane::app
