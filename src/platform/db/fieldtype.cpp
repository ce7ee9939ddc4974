#include "platform/db/fieldtype.h"

#include <QRegularExpression>

namespace kelvane::db {

QString declaredType(const FieldInfo& field) {
    switch (field.type) {
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Integer:
        return QStringLiteral("SMALLINT");
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Single:
        return QStringLiteral("FLOAT");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Date:
        return QStringLiteral("DATETIME");
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::LongBinary:
        return QStringLiteral("LONGBINARY");
    case FieldType::Variant:
        break;
    }
    return {};
}

// Files made with sqlite3 or DB Browser declare types in many spellings; the substrings below are the ones those
// tools and SQL dialects use. Text comes before the integer sizes so that "SHORT TEXT" stays text.
FieldInfo fieldFromDeclaredType(const QString& name, const QString& declared) {
    FieldInfo field;
    field.name = name;
    const QString type = declared.trimmed().toUpper();
    const auto has = [&type](const char* part) { return type.contains(QLatin1String(part)); };

    if (type.isEmpty()) {
        field.type = FieldType::Variant;
    } else if (type == QLatin1String("LONGBINARY")) {
        // Kelvane's own binary columns; any other BLOB column stays a variant, storing values as given.
        field.type = FieldType::LongBinary;
    } else if (has("BOOL") || has("BIT")) {
        field.type = FieldType::Boolean;
    } else if (has("CHAR") || has("TEXT") || has("CLOB") || has("STRING")) {
        static const QRegularExpression sizePattern(QStringLiteral("\\(\\s*(\\d+)"));
        const QRegularExpressionMatch match = sizePattern.match(type);
        bool ok = false;
        const int size = match.hasMatch() ? match.captured(1).toInt(&ok) : 0;
        if (ok && size > 0) {
            field.type = FieldType::Text;
            field.size = size;
        } else {
            field.type = FieldType::Memo;
        }
    } else if (has("SMALLINT") || has("INT2") || has("SHORT")) {
        field.type = FieldType::Integer;
    } else if (has("INT")) {
        field.type = FieldType::Long;
    } else if (has("FLOAT") || has("SINGLE")) {
        field.type = FieldType::Single;
    } else if (has("REAL") || has("DOUB") || has("NUMERIC") || has("DECIMAL")) {
        field.type = FieldType::Double;
    } else if (has("DATE") || has("TIME")) {
        field.type = FieldType::Date;
    } else {
        field.type = FieldType::Variant;
    }
    return field;
}

} // namespace kelvane::db
