#pragma once

#include "data/etatsession.h"
#include "platform/db/recordset.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

namespace kelvane {

// The words of the verdict: the test forms speak to the candidate, the viewer about the candidate.
struct Verdicts {
    QString echec;
    QString reussite;
};

inline const Verdicts VerdictsSession{QStringLiteral("vous n'avez pas réussi le test"),
                                      QStringLiteral("vous avez réussi le test")};
inline const Verdicts VerdictsVisualisation{QStringLiteral("le test n'est pas réussi"),
                                            QStringLiteral("le test est réussi")};

// Everything the results frame shows, by control: Label27 the candidate, Label28 test, mode and date, Label9 the
// count, Label10 share and verdict, niveaux the five level labels (B0, B1, B2, BR, BC: Label11, Label12, Label14,
// Label23, Label24), list1 one line per question in session order, list2 one line per chapter.
struct TextesResultats {
    QString label27;
    QString label28;
    QString label9;
    QString label10;
    std::array<QString, 5> niveaux;
    QStringList list1;
    QStringList list2;
    int nbBonnes = 0;
    double pourcentage = 0.0; // the exact share, before it is cut for the screen
    bool reussi = false;
};

// Writes today's short date into the eleves record (first record): done each time a session shows its results,
// never by the viewer, which must not write to the file.
void tamponnerDate(db::Recordset& rsEleves, const QDate& aujourdhui);

// Counts the right answers of the session, in total, per level and per chapter, and builds the texts. The
// questions are read in the order etat.Ordre gives to places 0 to NbQuestions - 1; the chapters in stored order,
// each counting every question record of its number. Shares are cut, not rounded; the verdict compares the
// exact share with the pass mark. Leaves rsEleves on its first record.
TextesResultats calculerResultats(db::Recordset& rsEleves, db::Recordset& rsQuestion, db::Recordset& rsChapitreEleve,
                                  const EtatSession& etat, const Verdicts& mots);

} // namespace kelvane
