#pragma once

#include "data/parametres.h"
#include "source/textsource.h"

#include <QString>

namespace kelvane::mktest {

using namespace kelvane::source;

// Writes the test file (tables chapitre, numero and test) for a checked source. The file is built under a
// temporary name in the output's folder and renamed over the output only once complete: on failure the
// output is left as it was. Throws kelvane::Error.
void writeTestDatabase(const TestSource& source, const QString& output);

// Writes the settings file (data::ecrireParametres): table habilitation, one Text 20 field "code", one record.
// Throws kelvane::Error (a code over 20 characters is error 3163 and writes nothing).
void writeSettingsDatabase(const QString& output, const QString& code);

} // namespace kelvane::mktest
