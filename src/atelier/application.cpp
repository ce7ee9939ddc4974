#include "atelier/application.h"

#include "atelier/fenetreatelier.h"
#include "demarrage/dossierdepart.h"
#include "desktop/servicessysteme.h"
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
    desktop::ServicesSysteme systeme;
    const QString dossierInitial =
        demarrage::entrer(demarrage::Programme::Atelier, arguments, systeme.messagesDepart(demarrage::sansFenetre()));
    if (dossierInitial.isEmpty()) {
        return 1;
    }
    return executer(systeme.tous(), dossierInitial);
}

} // namespace kelvane::atelier
