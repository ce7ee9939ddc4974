#pragma once

#include "bilan/bilan.h"

#include <QString>

namespace kelvane::classeur {

// Writes the workbook (.xlsx) of the selection at `chemin`, replacing any file there: sheets "Élèves", "Questions"
// and "Niveaux et chapitres", French headers, shares as numbers in a percent format, the header row frozen, filters
// on, columns as wide as their texts. Written under a temporary name and renamed at the end: a failure leaves no
// half-written file and throws kelvane::Error with a French text.
void ecrireClasseur(const QString& chemin, const bilan::Classe& classe, const bilan::Selection& selection);

} // namespace kelvane::classeur
