#pragma once

#include "data/fichierresultats.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace kelvane::results {

// The words of the verdict: the test forms speak to the candidate, the viewer about the candidate.
struct Verdicts {
    QString echec;
    QString reussite;
};

inline const Verdicts VerdictsSession{QStringLiteral("vous n'avez pas réussi le test"),
                                      QStringLiteral("vous avez réussi le test")};
inline const Verdicts VerdictsVisualisation{QStringLiteral("le test n'est pas réussi"),
                                            QStringLiteral("le test est réussi")};

// What the scoring needs besides the file's records: the session's view of it.
struct Seance {
    QString nomTest;
    bool examen = false;
    int tolerance = 0;      // pass mark, percent
    int nbQuestions = 0;    // places of the session
    std::vector<int> ordre; // ordre[i]: the record position of the question at place i
};

// Everything the results screen shows.
struct TextesResultats {
    QString candidat;               // first name, NAME, class
    QString entete;                 // test, mode and date
    QString nombreBonnes;           // "Nombre de Bonnes Réponses: n sur m questions"
    QString verdict;                // share and verdict
    std::array<QString, 5> niveaux; // B0, B1, B2, BR, BC
    QStringList lignesQuestions;    // one per place of the session
    QStringList lignesChapitres;    // one per chapter that has questions
    int nbBonnes = 0;
    double pourcentage = 0.0; // the exact share, before it is cut for the screen
    bool reussi = false;
};

// Counts the right answers of the session, in total, per level and per chapter, and builds the texts. The
// questions are read in the order `seance.ordre` gives to places 0 to nbQuestions - 1 (a place it never filled
// stands for the first stored question); the chapters in stored order, each counting every question record of its
// number; the total is every question record. Shares are cut, not rounded; the verdict compares the exact share
// with the pass mark.
TextesResultats calculerResultats(const data::Eleve& eleve, const std::vector<data::Question>& questions,
                                  const std::vector<data::Chapitre>& chapitres, const Seance& seance,
                                  const Verdicts& mots);

} // namespace kelvane::results
