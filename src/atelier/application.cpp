#include "atelier/application.h"

#include "atelier/fenetreatelier.h"
#include "demarrage/dossierdepart.h"
#include "desktop/filedialogs.h"
#include "desktop/messagebox.h"
#include "desktop/printerqt.h"
#include "platform/services/consolemessages.h"
#include "platform/services/services.h"

#include <QApplication>
#include <QStyleFactory>

namespace kelvane::atelier {

int executer(const services::Services& services, const QString& dossierInitial) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    FenetreAtelier fenetre(services);
    switch (fenetre.ouvrirDossier(dossierInitial)) {
    case Acces::Ouvert:
        break;
    case Acces::Annule:
        return 0;
    case Acces::Ferme:
        return 1;
    }
    fenetre.show();
    return QApplication::exec();
}

int executerAvecServicesSysteme(const QStringList& arguments) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    desktop::QtMessages messages;
    services::ConsoleMessages console;
    const QString dossierInitial =
        demarrage::entrer(demarrage::Programme::Atelier, arguments,
                          demarrage::sansFenetre() ? static_cast<services::MessageService&>(console) : messages);
    if (dossierInitial.isEmpty()) {
        return 1;
    }
    services::SystemClock clock;
    services::SystemRandom random;
    services::SystemTimerFactory timers;
    services::SystemFiles files;
    services::SystemLauncher launcher;
    desktop::QtFileDialogs dialogs;
    desktop::SystemPrinter printer;
    services::Services s;
    s.clock = &clock;
    s.random = &random;
    s.timers = &timers;
    s.files = &files;
    s.messages = &messages;
    s.printer = &printer;
    s.dialogs = &dialogs;
    s.launcher = &launcher;
    return executer(s, dossierInitial);
}

} // namespace kelvane::atelier
