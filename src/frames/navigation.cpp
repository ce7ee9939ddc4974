#include "frames/navigation.h"

#include "avertissements/erreurs.h"
#include "platform/services/files.h"
#include "session/dossiertravail.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

namespace kelvane::frames {

bool Navigation::suivreLecteur() {
    try {
        const QString dossier = dossier_.fichiers().setCurrentDrive(lecteur_->drive());
        const QSignalBlocker bloque(dossiers_);
        dossiers_->setPath(dossier);
        dossier_.changer(dossiers_->path());
    } catch (const Error& e) {
        avertissements::afficherErreur(messages_, e, lecteur_->drive());
        return false;
    }
    return true;
}

bool Navigation::suivreDossier() {
    try {
        dossier_.changer(dossiers_->path());
    } catch (const Error& e) {
        avertissements::afficherErreur(messages_, e, dossiers_->path());
        return false;
    }
    return true;
}

void Navigation::placer(const QString& dossier, bool suivre) {
    const QSignalBlocker b1(lecteur_);
    const QSignalBlocker b2(dossiers_);
    services::FileService& fichiers = dossier_.fichiers();
    try {
        if (suivre) {
            fichiers.setCurrentDrive(fichiers.driveOf(dossier));
            dossier_.changer(dossier);
        }
        lecteur_->refresh();
        lecteur_->setDrive(fichiers.driveOf(dossier));
        dossiers_->setPath(dossier);
    } catch (const Error& e) {
        if (suivre) {
            avertissements::afficherErreur(messages_, e, dossier);
        }
        // Otherwise a folder that vanished meanwhile: the lists keep what they showed.
    }
}

} // namespace kelvane::frames
