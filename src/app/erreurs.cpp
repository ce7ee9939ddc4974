#include "app/erreurs.h"

#include "platform/services/services.h"

#include <QFileInfo>

namespace kelvane::app {

QString texteErreur(const kelvane::Error& erreur, const QString& fichier) {
    QString texte = erreur.message();
    if (!fichier.isEmpty() && !texte.contains(fichier) && !texte.contains(QFileInfo(fichier).fileName())) {
        texte += QStringLiteral("\r(fichier: %1)").arg(fichier);
    }
    return texte;
}

void afficherErreur(const kelvane::Error& erreur, const QString& fichier) {
    services::installed().messages->MsgBox(texteErreur(erreur, fichier), services::Buttons::OkOnly,
                                           QStringLiteral("Kelvane"));
}

} // namespace kelvane::app
