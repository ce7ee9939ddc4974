#pragma once

#include <QString>

namespace kelvane::app {

// The code that opens the results viewer even when the stored one has been forgotten.
inline const QString kCodeMaitre = QStringLiteral("TRIVOLK");

// True when the typed code, in capitals, is the master code or the teacher code stored in the first field of the
// settings record (read afresh, in capitals). A stored null matches nothing but the master code.
bool codeValide(const QString& saisi);

} // namespace kelvane::app
