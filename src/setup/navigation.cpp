#include "setup/navigation.h"

#include "app/commun.h"
#include "app/erreurs.h"
#include "platform/ui/dirlistbox.h"
#include "platform/ui/drivelistbox.h"
#include "platform/ui/services.h"

namespace kelvane::setup {

namespace {
void changerDossier(const QString& dossier, QString& repertoire) {
    ui::services().files->setCurrentFolder(dossier);
    repertoire = dossier;
}
} // namespace

bool suivreLecteur(ui::DriveListBox* lecteur, ui::DirListBox* dossiers, QString& repertoire) {
    try {
        Commun::LecteurCourant = lecteur->drive();
        const QString dossier = ui::services().files->setCurrentDrive(Commun::LecteurCourant);
        const QSignalBlocker bloque(dossiers);
        dossiers->setPath(dossier);
        changerDossier(dossiers->path(), repertoire);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, lecteur->drive());
        return false;
    }
    return true;
}

bool suivreDossier(const ui::DirListBox* dossiers, QString& repertoire) {
    try {
        changerDossier(dossiers->path(), repertoire);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, dossiers->path());
        return false;
    }
    return true;
}

} // namespace kelvane::setup
