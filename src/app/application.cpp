#include "app/application.h"

#include "app/formes.h"
#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/parametres.h"
#include "desktop/messagebox.h"
#include "desktop/printerqt.h"
#include "forms/menu.h"
#include "platform/services/services.h"
#include "widgets/forme.h"

#include <QApplication>
#include <QStyleFactory>
#include <optional>

namespace kelvane::app {

int executer(const services::Services& services) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QString dossier = services.files->currentFolder();
    const forms::Lieux lieux{dossier, dossier};

    std::optional<data::FichierParametres> parametres;
    try {
        parametres = data::FichierParametres::ouvrir(lieux.appli);
        if (parametres->sansCode()) {
            avertissements::avertir(*services.messages, QStringLiteral("Aucun Code secret est valide") + QChar(13) +
                                                            QStringLiteral("Créer votre propre code"));
        }
    } catch (const Error& e) {
        avertissements::afficherErreur(*services.messages, e,
                                       services::joinPath(lieux.appli, QStringLiteral("habilitation.mdb")));
        return 1;
    }

    Formes formes(services, lieux, *parametres);
    formes.menu().show();
    widgets::centrer(&formes.menu());
    return QApplication::exec();
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
    return executer(s);
}

} // namespace kelvane::app
