#pragma once

#include "data/fichierresultats.h"
#include "platform/services/printer.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kelvane::results {

// What the printed report says, read from the results file and the session before anything is printed, so that
// a file that cannot be read leaves no half report behind.
struct Rapport {
    QString prenom;
    QString nom;
    QString classe;
    QString nomTest;
    QDate date;
    int nbBonnes = 0;
    int nbQuestions = 0; // every record of the question table
    int tolerance = 0;
    struct Ligne {
        QString question;
        bool reussi = false;
    };
    QList<Ligne> questions; // in stored order
};

// The report's content: the candidate of the eleves record, every question in stored order with its mark, the count
// of right answers and the pass mark as the results screen last gave them.
Rapport lireRapport(const data::Eleve& eleve, const std::vector<data::QuestionResultats>& questions,
                    const QString& nomTest, int nbBonnes, int tolerance, const QDate& aujourdhui);

// Prints the report and ends the document: a bold Arial 10 header naming the candidate, the test and the day, then
// in Arial 8 the count of right answers, the verdict, and every question with "Oui" or "Non" at column 110.
// A question of more than 100 characters breaks after the last blank among its first 100 (after the 100th
// character when there is none there). The share is cut for the count line; the verdict compares the exact share
// with the pass mark, as the results screen does. No question at all counts as a share of 0.
services::PrintOutcome imprimerRapport(services::PrinterService& printer, const Rapport& rapport);

// Where a question's text breaks, as a count of characters for the first line; its whole length when it fits on
// one line.
qsizetype coupureQuestion(const QString& texte);

} // namespace kelvane::results
