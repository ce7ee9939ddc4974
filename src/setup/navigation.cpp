#include "setup/navigation.h"

#include "app/commun.h"
#include "app/erreurs.h"
#include "platform/services/services.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

namespace kelvane::setup {

namespace {
void changerDossier(const QString& dossier, QString& repertoire) {
    services::installed().files->setCurrentFolder(dossier);
    repertoire = dossier;
}
} // namespace

bool suivreLecteur(widgets::DriveListBox* lecteur, widgets::DirListBox* dossiers, QString& repertoire) {
    try {
        Commun::LecteurCourant = lecteur->drive();
        const QString dossier = services::installed().files->setCurrentDrive(Commun::LecteurCourant);
        const QSignalBlocker bloque(dossiers);
        dossiers->setPath(dossier);
        changerDossier(dossiers->path(), repertoire);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, lecteur->drive());
        return false;
    }
    return true;
}

bool suivreDossier(const widgets::DirListBox* dossiers, QString& repertoire) {
    try {
        changerDossier(dossiers->path(), repertoire);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, dossiers->path());
        return false;
    }
    return true;
}

} // namespace kelvane::setup
