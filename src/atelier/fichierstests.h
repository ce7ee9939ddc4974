#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::atelier {

// The file operations of the workbench on a folder's tests. Each either completes or leaves the folder as it was,
// and throws kelvane::Error with a French text naming the file.

// Copies a test under a new name: written under a hidden temporary name beside the target, renamed when complete;
// an existing target is never replaced (error 3204).
void copierTest(const QString& source, const QString& cible);

// Renames a test; an existing target is never replaced (error 3204).
void renommerTest(const QString& source, const QString& cible);

// Deletes a test file. Anything that is not a test (a results file, the settings file, another database, a file
// that cannot be read) is refused and left where it is.
void supprimerTest(const QString& chemin);

// Writes the text source of a test file into cible (replaced when complete) and its pictures beside it, as
// kelvane-outil exports it (source::exportTestFile). The test refused and the source's faults (a text it cannot hold)
// are returned, and then nothing is written.
QStringList exporterTest(const QString& test, const QString& cible);

} // namespace kelvane::atelier
