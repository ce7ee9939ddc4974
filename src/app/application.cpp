#include "app/application.h"

#include "app/formes.h"
#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/parametres.h"
#include "demarrage/dossierdepart.h"
#include "desktop/servicessysteme.h"
#include "forms/menu.h"
#include "platform/services/services.h"
#include "widgets/forme.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <optional>

namespace kelvane::app {

int executer(const services::Services& services, services::MessageService* messagesDepart) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    services::MessageService& depart = messagesDepart != nullptr ? *messagesDepart : *services.messages;
    const QString dossier = services.files->currentFolder();
    const forms::Lieux lieux{dossier, dossier};

    std::optional<data::FichierParametres> parametres;
    try {
        parametres = data::FichierParametres::ouvrir(lieux.appli);
        if (parametres->sansCode()) {
            avertissements::avertir(depart, QStringLiteral("Aucun Code secret est valide") + QChar(13) +
                                                QStringLiteral("Créer votre propre code"));
        }
    } catch (const Error& e) {
        const QString reglages = services::joinPath(lieux.appli, data::kFichierParametres);
        depart.MsgBox(avertissements::texteErreur(e, reglages) +
                          QStringLiteral("\n\nKelvane cherche %1 dans le dossier où il démarre : « %2 ». "
                                         "Lancez « kelvane DOSSIER » en donnant le dossier de la classe.")
                              .arg(data::kFichierParametres, QDir::toNativeSeparators(lieux.appli)),
                      services::Buttons::OkOnly, QStringLiteral("Kelvane"));
        return 1;
    }

    Formes formes(services, lieux, *parametres);
    formes.menu().show();
    widgets::centrer(&formes.menu());
    return QApplication::exec();
}

int executerAvecServicesSysteme(const QStringList& arguments) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    desktop::ServicesSysteme systeme;
    services::MessageService& depart = systeme.messagesDepart(demarrage::sansFenetre());
    if (demarrage::entrer(demarrage::Programme::Eleve, arguments, depart).isEmpty()) {
        return 1;
    }
    return executer(systeme.tous(), &depart);
}

} // namespace kelvane::app
