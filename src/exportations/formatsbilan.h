#pragma once

#include "bilan/bilan.h"

#include <QString>
#include <vector>

namespace kelvane::exportations {

// Writes the class summary of the selection at `chemin`, replacing any file there, under a temporary name renamed
// at the end: a failure leaves no half-written file and throws kelvane::Error with a French text.
using EcrireBilan = void (*)(const QString& chemin, const bilan::Classe& classe, const bilan::Selection& selection);

// One file format of the class summary, as the class view offers it and kelvane-outil writes it.
struct FormatBilan {
    QString nom;       // as a sentence names the file: "classeur", "CSV", "PDF"
    QString extension; // without the dot: the file's suffix, and kelvane-outil's option (--xlsx)
    QString filtre;    // the save box's filter
    EcrireBilan ecrire;
};

// Every format, in the order kelvane-outil lists them: the workbook, the CSV, the printed summary as a PDF.
const std::vector<FormatBilan>& formatsBilan();
// The format of that extension, letter case aside; nullptr when there is none.
const FormatBilan* formatBilan(const QString& extension);

// The printed summary (bilan::imprimerBilan, with the charts of graphiques::illustrationsBilan) as a PDF. Needs a
// running QApplication, for the fonts and the charts.
void ecrirePdf(const QString& chemin, const bilan::Classe& classe, const bilan::Selection& selection);

} // namespace kelvane::exportations
