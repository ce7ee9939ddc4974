#include "session/dossiertravail.h"

#include "platform/services/files.h"

namespace kelvane::session {

void DossierTravail::changer(const QString& dossier) {
    fichiers_.setCurrentFolder(dossier);
    chemin_ = dossier;
}

} // namespace kelvane::session
