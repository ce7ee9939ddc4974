#include "writer.h"

#include "data/ecriture.h"
#include "data/parametres.h"

#include <QFileInfo>

namespace kelvane::mktest {

void writeTestDatabase(const TestSource& source, const QString& output) {
    data::ecrireTest(toTest(source, QFileInfo(output).fileName()), output);
}

void writeSettingsDatabase(const QString& output, const QString& code) {
    data::ecrireParametres(output, code);
}

} // namespace kelvane::mktest
