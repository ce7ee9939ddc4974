#pragma once

#include <QString>

namespace kelvane::demarrage {

// Copies the files and subfolders of `source` into `cible` (made when missing), keeping every file already there:
// nothing is ever overwritten. Each copy is writable by its owner, even from a read-only installed folder. Throws
// kelvane::Error naming the file or folder that could not be copied.
void copierDossier(const QString& source, const QString& cible);

// Makes `cible`, which does not exist, a whole copy of `source`: the copy is made under a temporary name beside it
// and renamed when complete, so that `cible` never holds half a copy. Returns false, leaving nothing behind, when
// `cible` appeared meanwhile (another start made it). Throws kelvane::Error when the copy cannot be made.
bool creerCopie(const QString& source, const QString& cible);

} // namespace kelvane::demarrage
