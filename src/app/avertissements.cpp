#include "app/avertissements.h"

#include "platform/services/services.h"

namespace kelvane::app {

bool confirmerQuitter() {
    return services::installed().messages->MsgBox(QStringLiteral("Etes vous sûr de vouloir quitter le test?"),
                                                  services::Buttons::YesNo, kAvertissement) == services::Answer::Yes;
}

void annoncerTolerance(int tolerance) {
    services::installed().messages->MsgBox(QStringLiteral("Pour réussir ce test il faut ") +
                                               QString::number(tolerance) + QStringLiteral("% de bonnes réponses"),
                                           services::Buttons::OkOnly, kAvertissement);
}

void refuserPasUnTest(const QString& fichier) {
    services::installed().messages->MsgBox(QStringLiteral("La base ") + fichier +
                                               QStringLiteral(" n'est pas un test d'habilitation électrique"),
                                           services::Buttons::OkOnly, kMauvaisType);
}

void signalerIntrouvable(const QString& fichier, const QString& dossier, const QString& quoi) {
    services::installed().messages->MsgBox(
        QStringLiteral("Le fichier %1 est introuvable dans le répertoire %2. Choisissez %3 "
                       "de la liste.")
            .arg(fichier, dossier, quoi),
        services::Buttons::OkOnly, kAvertissement);
}

} // namespace kelvane::app
