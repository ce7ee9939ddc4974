#include "avertissements/erreurs.h"

#include "platform/services/messages.h"

#include <QFileInfo>

namespace kelvane::avertissements {

QString texteErreur(const Error& erreur, const QString& fichier) {
    QString texte = erreur.message();
    if (!fichier.isEmpty() && !texte.contains(fichier) && !texte.contains(QFileInfo(fichier).fileName())) {
        texte += QStringLiteral("\r(fichier: %1)").arg(fichier);
    }
    return texte;
}

void afficherErreur(services::MessageService& messages, const Error& erreur, const QString& fichier) {
    messages.MsgBox(texteErreur(erreur, fichier), services::Buttons::OkOnly, QStringLiteral("Kelvane"));
}

} // namespace kelvane::avertissements
