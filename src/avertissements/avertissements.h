#pragma once

#include <QString>

namespace kelvane::services {
class MessageService;
}

namespace kelvane::avertissements {

// The title of warnings and confirmations (with its leading blank), and of a refused file.
inline const QString kAvertissement = QStringLiteral(" Avertissement");
inline const QString kMauvaisType = QStringLiteral("Mauvais type de base de données");

// The boxes that several forms show, each written once.

// "Etes vous sûr de vouloir quitter le test?", Yes and No; true on Yes.
bool confirmerQuitter(services::MessageService& messages);
// "Pour réussir ce test il faut 70% de bonnes réponses".
void annoncerTolerance(services::MessageService& messages, int tolerance);
// "La base X n'est pas un test d'habilitation électrique", titled as a refused file.
void refuserPasUnTest(services::MessageService& messages, const QString& fichier);
// A chosen name that the working folder does not hold (kept from another folder, or typed): what is wrong, and
// that the choice can be made again from the list of `quoi` ("un test", "un fichier").
void signalerIntrouvable(services::MessageService& messages, const QString& fichier, const QString& dossier,
                         const QString& quoi);
// An OK box titled " Avertissement".
void avertir(services::MessageService& messages, const QString& texte);

} // namespace kelvane::avertissements
