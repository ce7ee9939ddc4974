#pragma once

#include "bilan/bilan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kelvane::bilan {

// The class as a table, shared by the CSV, the workbook and the printout: one row per line of the selection. A
// cell holds text, a whole number, a bool for the mode and verdict (as texts), a QDate, or a share as a double
// 0..1 (null when there is none). The chapter columns are the union of the selection's chapters by number.
struct Tableau {
    QStringList entetes;
    std::vector<bool> pourcentages; // per column: the cells are shares 0..1
    std::vector<std::vector<QVariant>> lignes;
};
Tableau tableauEleves(const Classe& classe, const Selection& selection);
// Every test of the selection, its questions hardest first: test, number, chapter, levels, wording, candidates,
// answered, right, share, then how often each answer was ticked.
Tableau tableauQuestions(const Classe& classe, const Selection& selection);
// Every test of the selection: one row per chapter, a column per level, then the chapter's whole share.
Tableau tableauNiveauxChapitres(const Classe& classe, const Selection& selection);

// The table as CSV for French spreadsheets: UTF-8 with a byte order mark, ";" between fields, "," as the decimal
// mark, CRLF at the end of each row, a field quoted when it holds ";", a quote or a line break.
QByteArray csv(const Tableau& tableau);
// Writes the class lines as CSV at `chemin`, replacing any file there, through a temporary file renamed at the
// end: a failure leaves no half-written file and throws kelvane::Error with a French text.
void ecrireCsv(const QString& chemin, const Classe& classe, const Selection& selection);

} // namespace kelvane::bilan
