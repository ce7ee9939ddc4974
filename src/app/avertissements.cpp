#include "app/avertissements.h"

#include "platform/ui/services.h"

namespace kelvane::app {

bool confirmerQuitter() {
    return ui::services().messages->MsgBox(QStringLiteral("Etes vous sûr de vouloir quitter le test?"), ui::vbYesNo,
                                           kAvertissement) == ui::vbYes;
}

void annoncerTolerance(int tolerance) {
    ui::services().messages->MsgBox(QStringLiteral("Pour réussir ce test il faut ") + QString::number(tolerance) +
                                        QStringLiteral("% de bonnes réponses"),
                                    ui::vbOKOnly, kAvertissement);
}

void refuserPasUnTest(const QString& fichier) {
    ui::services().messages->MsgBox(QStringLiteral("La base ") + fichier +
                                        QStringLiteral(" n'est pas un test d'habilitation électrique"),
                                    ui::vbOKOnly, kMauvaisType);
}

void signalerIntrouvable(const QString& fichier, const QString& dossier, const QString& quoi) {
    ui::services().messages->MsgBox(QStringLiteral("Le fichier %1 est introuvable dans le répertoire %2. Choisissez %3 "
                                                   "de la liste.")
                                        .arg(fichier, dossier, quoi),
                                    ui::vbOKOnly, kAvertissement);
}

} // namespace kelvane::app
