#include "app/application.h"

#include "app/commun.h"
#include "app/formes.h"
#include "app/menu.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/printerqt.h"
#include "platform/ui/services.h"

#include <QApplication>
#include <QStyleFactory>

namespace kelvane::app {

int executer(const ui::Services& services) {
    ui::installServices(services);
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
    ui::SystemClock clock;
    ui::SystemRandom random;
    ui::SystemTimerFactory timers;
    ui::SystemFiles files;
    ui::QtMessages messages;
    ui::SystemPrinter printer;
    ui::Services s;
    s.clock = &clock;
    s.random = &random;
    s.timers = &timers;
    s.files = &files;
    s.messages = &messages;
    s.printer = &printer;
    const int statut = executer(s);
    ui::installServices({});
    return statut;
}

} // namespace kelvane::app
