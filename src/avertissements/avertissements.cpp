#include "avertissements/avertissements.h"

#include "platform/services/messages.h"

namespace kelvane::avertissements {

using services::Answer;
using services::Buttons;

bool confirmerQuitter(services::MessageService& messages) {
    return messages.MsgBox(QStringLiteral("Etes vous sûr de vouloir quitter le test?"), Buttons::YesNo,
                           kAvertissement) == Answer::Yes;
}

void annoncerTolerance(services::MessageService& messages, int tolerance) {
    avertir(messages, QStringLiteral("Pour réussir ce test il faut ") + QString::number(tolerance) +
                          QStringLiteral("% de bonnes réponses"));
}

void refuserPasUnTest(services::MessageService& messages, const QString& fichier) {
    messages.MsgBox(QStringLiteral("La base ") + fichier +
                        QStringLiteral(" n'est pas un test d'habilitation électrique"),
                    Buttons::OkOnly, kMauvaisType);
}

void signalerIntrouvable(services::MessageService& messages, const QString& fichier, const QString& dossier,
                         const QString& quoi) {
    avertir(messages, QStringLiteral("Le fichier %1 est introuvable dans le répertoire %2. Choisissez %3 de la liste.")
                          .arg(fichier, dossier, quoi));
}

void avertir(services::MessageService& messages, const QString& texte) {
    messages.MsgBox(texte, Buttons::OkOnly, kAvertissement);
}

} // namespace kelvane::avertissements
