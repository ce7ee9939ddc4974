#include "writer.h"

#include "data/ecriture.h"
#include "platform/db/database.h"
#include "platform/error.h"

#include <QFileInfo>

namespace kelvane::mktest {

namespace {

using db::Database;
using db::FieldType;
using db::TableDef;

void addField(TableDef& table, const QString& name, FieldType type, int size = 0) {
    db::Field field = table.CreateField(name, type, size);
    if (type == FieldType::Text) {
        field.setAllowZeroLength(true);
    }
    table.Fields().Append(field);
}

} // namespace

void writeTestDatabase(const TestSource& source, const QString& output) {
    data::ecrireTest(toTest(source, QFileInfo(output).fileName()), output);
}

void writeSettingsDatabase(const QString& output, const QString& code) {
    if (code.size() > kCodeSize) {
        throw Error(errc::FieldTooSmall,
                    QStringLiteral("code trop long : %1 caractères, %2 au plus").arg(code.size()).arg(kCodeSize));
    }
    data::ecrireAtomiquement(output, [&](Database& database) {
        TableDef habilitation = database.CreateTableDef(QStringLiteral("habilitation"));
        addField(habilitation, QStringLiteral("code"), FieldType::Text, kCodeSize);
        database.TableDefs().Append(habilitation);

        db::Recordset rs = database.OpenRecordset(QStringLiteral("habilitation"));
        rs.AddNew();
        rs.SetField(QStringLiteral("code"), code.isNull() ? QStringLiteral("") : code);
        rs.Update();
    });
}

} // namespace kelvane::mktest
