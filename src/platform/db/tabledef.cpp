#include "platform/db/tabledef.h"

#include "platform/db/connection.h"
#include "platform/error.h"

namespace kelvane::db {

namespace {
// A text field created without a size gets the largest size a text field takes (255), so that it still reads back
// as text and not as a memo.
constexpr int kDefaultTextSize = 255;

Error itemNotFound(const QString& name) {
    return Error(errc::ItemNotFound, QStringLiteral("Élément non trouvé dans cette collection : « %1 »").arg(name));
}
} // namespace

Field::Field(QString name, FieldType type, int size) {
    info_.name = std::move(name);
    info_.type = type;
    info_.size = type == FieldType::Text ? (size > 0 ? size : kDefaultTextSize) : 0;
}

void FieldDefs::Append(const Field& field) {
    if (field.Name().trimmed().isEmpty()) {
        throw Error(errc::InvalidArgument, QStringLiteral("Argument non valide : un champ doit avoir un nom"));
    }
    for (const Field& existing : fields_) {
        if (existing.Name().compare(field.Name(), Qt::CaseInsensitive) == 0) {
            throw Error(dberr::DuplicateField,
                        QStringLiteral("Impossible de définir le champ « %1 » plusieurs fois").arg(field.Name()));
        }
    }
    fields_.push_back(field);
}

const Field& FieldDefs::operator[](int index) const {
    if (index < 0 || index >= Count()) {
        throw itemNotFound(QString::number(index));
    }
    return fields_[static_cast<size_t>(index)];
}

const Field& FieldDefs::operator[](const QString& name) const {
    for (const Field& field : fields_) {
        if (field.Name().compare(name, Qt::CaseInsensitive) == 0) {
            return field;
        }
    }
    throw itemNotFound(name);
}

TableDef::TableDef(QString name) : name_(std::move(name)) {}

Field TableDef::CreateField(const QString& name, FieldType type, int size) const {
    return Field(name, type, size);
}

} // namespace kelvane::db
