#pragma once

#include <QString>

namespace kelvane::session {

// Everything that differs between the training form and the evaluation form, in one place.
struct ModeTest {
    bool examen;             // evaluation: examen yes in the results file, ModeExamen True
    QString nomForme;        // "EssayerTest" / "Evaluation"
    QString titre;           // window caption
    QString titreListeTests; // caption over the test list
    bool reprise;            // the list of begun training tests, and their resumption
    QString separateurNom;   // before the date in the results file's name: data::kSeparateurExamen or ...Entrainement
    QString libelleMode;     // after the test's name in the question and results headers: " (Evaluation)"
    QString nomMode;         // a session's mode in the class summary and the list of results files: "Examen"
    QString libelleTemps;    // beside the countdown
    QString messageTempsEcoule;
    bool finAuTempsEcoule; // evaluation: the end of the time ends the session
    bool retourQuestions;  // training: the results lead back to the questions
    bool tirage;           // evaluation: the order is drawn; training: by question number
};

const ModeTest& modeEntrainement();
const ModeTest& modeEvaluation();
// The mode of a results file, after its examen flag.
const ModeTest& modeTest(bool examen);

} // namespace kelvane::session
