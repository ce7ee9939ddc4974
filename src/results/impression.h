#pragma once

#include "data/etatsession.h"
#include "platform/db/recordset.h"

#include <QString>

namespace kelvane::results {

// The print button of a results frame: prints the report of the results that the form shows on the installed
// printer service, named after the results file (its name or path). When no printer took it, a box tells the
// full path of the PDF written instead. A failure is shown in the error box, never thrown, and leaves no document
// begun. Returns whether the report went out.
bool imprimerResultats(db::Recordset& rsEleves, db::Recordset& rsQuestion, const EtatSession& etat,
                       const QString& fichierResultats);

} // namespace kelvane::results
