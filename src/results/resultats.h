#pragma once

#include "data/fichierresultats.h"
#include "results/verdict.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace kelvane::results {

// What the scoring needs besides the file's records: the session's view of it.
struct Seance {
    QString nomTest;
    QString libelleMode;    // after the test's name in the header: session::ModeTest::libelleMode
    int tolerance = 0;      // pass mark, percent
    int nbQuestions = 0;    // places of the session
    std::vector<int> ordre; // ordre[i]: the record position of the question at place i
};

// The figures of the results screen, before any text is made of them.
struct Scores {
    int bonnes = 0;                                     // right answers over the session's places
    int total = 0;                                      // every question record
    double pourcentage = 0.0;                           // bonnes over total, 0..100, exact
    bool reussi = false;                                // the exact share against the pass mark
    std::vector<int> positions;                         // positions[i]: the record shown at place i
    std::array<int, data::NbNiveaux> questionsNiveau{}; // per level (B0, B1, B2, BR, BC), over the places
    std::array<int, data::NbNiveaux> bonnesNiveau{};
    struct Chapitre {
        QString nom;
        double numero = 0.0;
        int questions = 0; // every question record of its number
        int bonnes = 0;
    };
    std::vector<Chapitre> chapitres; // in stored order, those that have questions
};

// Everything the results screen shows.
struct TextesResultats {
    QString candidat;                             // first name, NAME, class
    QString entete;                               // test, mode and date
    QString nombreBonnes;                         // "Nombre de Bonnes Réponses: n sur m questions"
    QString verdict;                              // share and verdict
    std::array<QString, data::NbNiveaux> niveaux; // B0, B1, B2, BR, BC
    QStringList lignesQuestions;                  // one per place of the session
    QStringList lignesChapitres;                  // one per chapter that has questions
    int nbBonnes = 0;
    double pourcentage = 0.0; // the exact share, before it is cut for the screen
    bool reussi = false;
};

// Counts the right answers of the session, in total, per level and per chapter. The
// questions are read in the order `seance.ordre` gives to places 0 to nbQuestions - 1 (a place it never filled
// stands for the first stored question); the chapters in stored order, each counting every question record of its
// number; the total is every question record. The verdict compares the exact share with the pass mark.
Scores calculerScores(const std::vector<data::QuestionResultats>& questions,
                      const std::vector<data::Chapitre>& chapitres, const Seance& seance);

// The texts of the results screen, from calculerScores's figures. Shares are shown cut, never rounded up.
TextesResultats calculerResultats(const data::Eleve& eleve, const std::vector<data::QuestionResultats>& questions,
                                  const std::vector<data::Chapitre>& chapitres, const Seance& seance,
                                  const Verdicts& mots);

} // namespace kelvane::results
