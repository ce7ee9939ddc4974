#include "session/modetest.h"

#include "data/format.h"

namespace kelvane::session {

const ModeTest& modeEntrainement() {
    static const ModeTest mode{
        .examen = false,
        .nomForme = QStringLiteral("EssayerTest"),
        .titre = QStringLiteral("Essai en temps réel d'un test"),
        .titreListeTests = QStringLiteral("Liste des Tests"),
        .reprise = true,
        .separateurNom = data::kSeparateurEntrainement,
        .libelleMode = QStringLiteral(" (Entrainement)"),
        .nomMode = QStringLiteral("Entrainement"),
        .libelleTemps = QStringLiteral("Temps restant"),
        .messageTempsEcoule = QStringLiteral("Le temps imparti est écoulé, le test est normalement terminé"),
        .finAuTempsEcoule = false,
        .retourQuestions = true,
        .tirage = false,
    };
    return mode;
}

const ModeTest& modeEvaluation() {
    static const ModeTest mode{
        .examen = true,
        .nomForme = QStringLiteral("Evaluation"),
        .titre = QStringLiteral("Evaluation"),
        .titreListeTests = QStringLiteral("Tests d'évaluation"),
        .reprise = false,
        .separateurNom = data::kSeparateurExamen,
        .libelleMode = QStringLiteral(" (Evaluation)"),
        .nomMode = QStringLiteral("Examen"),
        .libelleTemps = QStringLiteral("Temps restant avant la fin du test"),
        .messageTempsEcoule = QStringLiteral("Le temps imparti est écoulé, le test est terminé"),
        .finAuTempsEcoule = true,
        .retourQuestions = false,
        .tirage = true,
    };
    return mode;
}

const ModeTest& modeTest(bool examen) {
    return examen ? modeEvaluation() : modeEntrainement();
}

} // namespace kelvane::session
