#pragma once

#include "data/etatsession.h"
#include "platform/db/recordset.h"
#include "platform/services/printer.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kelvane {

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

// Reads the candidate from the first record of rsEleves (where it leaves it), and every question of rsQuestion
// from MoveFirst to EOF (where it leaves it). A null field reads as the empty text, or as not right.
Rapport lireRapport(db::Recordset& rsEleves, db::Recordset& rsQuestion, const EtatSession& etat,
                    const QDate& aujourdhui);

// Prints the report and ends the document: a bold Arial 10 header naming the candidate, the test and the day, then
// in Arial 8 the count of right answers, the verdict, and every question with "Oui" or "Non" at column 110.
// A question of more than 100 characters breaks after the last blank among its first 100 (after the 100th
// character when there is none there). The share is cut for the count line; the verdict compares the exact share
// with the pass mark, as the results screen does. No question at all counts as a share of 0.
services::PrintOutcome imprimerRapport(services::PrinterService& printer, const Rapport& rapport);

// Both together, for the results of a form: its session members and its results file.
services::PrintOutcome ImprimerRapport(services::PrinterService& printer, db::Recordset& rsEleves,
                                       db::Recordset& rsQuestion, const EtatSession& etat, const QDate& aujourdhui);

// Where a question's text breaks, as a count of characters for the first line; its whole length when it fits on
// one line.
qsizetype coupureQuestion(const QString& texte);

} // namespace kelvane
