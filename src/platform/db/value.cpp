#include "platform/db/value.h"

#include "platform/error.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>

namespace kelvane::db {

namespace {

// Dates are stored as SQLite's own date-time text, which its date functions and DB Browser understand.
const QString kStoredDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString fieldLabel(const FieldInfo& field) {
    return QStringLiteral(" (champ « %1 »)").arg(field.name);
}

Error mismatch(const FieldInfo& field) {
    return Error(errc::TypeMismatch, QStringLiteral("Type incompatible") + fieldLabel(field));
}

Error overflow(const FieldInfo& field) {
    return Error(errc::Overflow, QStringLiteral("Dépassement de capacité") + fieldLabel(field));
}

// A number as the caller gave it: integers stay exact, everything else is a double.
struct Number {
    bool integral = false;
    qint64 integer = 0;
    double real = 0.0;
};

bool isIntegralType(int id) {
    switch (id) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isTextType(int id) {
    return id == QMetaType::QString || id == QMetaType::QChar;
}

// Reads the stored value without QVariant's generic conversion, which costs more than the rest of a SetField.
template <class T> const T& stored(const QVariant& value) {
    return *static_cast<const T*>(value.constData());
}

qint64 integralOf(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Short:
        return stored<short>(value);
    case QMetaType::UShort:
        return stored<ushort>(value);
    case QMetaType::Int:
        return stored<int>(value);
    case QMetaType::UInt:
        return stored<uint>(value);
    case QMetaType::LongLong:
        return stored<qlonglong>(value);
    default:
        return value.toLongLong();
    }
}

// Accepts "12", "-3", "2,5" and "2.5": typed-in numbers use the French decimal comma, files the point.
std::optional<Number> parseNumber(const QString& text) {
    QString s = text.trimmed();
    if (s.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 integer = s.toLongLong(&ok);
    if (ok) {
        return Number{true, integer, 0.0};
    }
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    const double real = s.toDouble(&ok);
    if (!ok || !std::isfinite(real)) {
        return std::nullopt;
    }
    return Number{false, 0, real};
}

// True converts to -1, as the object model's Boolean did in arithmetic.
std::optional<Number> numberOf(const QVariant& value) {
    const int id = value.metaType().id();
    if (id == QMetaType::Bool) {
        return Number{true, value.toBool() ? -1 : 0, 0.0};
    }
    if (id == QMetaType::ULongLong || id == QMetaType::ULong) {
        const qulonglong u = value.toULongLong();
        if (u > static_cast<qulonglong>(std::numeric_limits<qint64>::max())) {
            return Number{false, 0, static_cast<double>(u)};
        }
        return Number{true, static_cast<qint64>(u), 0.0};
    }
    if (isIntegralType(id)) {
        return Number{true, integralOf(value), 0.0};
    }
    if (id == QMetaType::Double) {
        return Number{false, 0, stored<double>(value)};
    }
    if (id == QMetaType::Float) {
        return Number{false, 0, value.toDouble()};
    }
    if (isTextType(id)) {
        return parseNumber(value.toString());
    }
    return std::nullopt;
}

// Doubles go into integer fields rounded half to even (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double x) {
    const double rounded = std::round(x); // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5) {
        return 2.0 * std::round(x / 2.0);
    }
    return rounded;
}

QVariant toIntegral(const FieldInfo& field, const QVariant& value, qint64 low, qint64 high) {
    const std::optional<Number> number = numberOf(value);
    if (!number) {
        throw mismatch(field);
    }
    qint64 integer = number->integer;
    if (!number->integral) {
        const double rounded = roundHalfEven(number->real);
        if (!std::isfinite(rounded) || rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) {
            throw overflow(field);
        }
        integer = static_cast<qint64>(rounded);
    }
    if (integer < low || integer > high) {
        throw overflow(field);
    }
    if (field.type == FieldType::Integer) {
        return QVariant::fromValue<qint16>(static_cast<qint16>(integer));
    }
    return QVariant::fromValue<qint32>(static_cast<qint32>(integer));
}

QVariant toReal(const FieldInfo& field, const QVariant& value, double limit) {
    const std::optional<Number> number = numberOf(value);
    if (!number) {
        throw mismatch(field);
    }
    const double real = number->integral ? static_cast<double>(number->integer) : number->real;
    if (!std::isfinite(real) || std::fabs(real) > limit) {
        throw overflow(field);
    }
    return real;
}

QVariant toBoolean(const FieldInfo& field, const QVariant& value) {
    if (value.metaType().id() == QMetaType::Bool) {
        return stored<bool>(value);
    }
    if (isTextType(value.metaType().id())) {
        const QString word = value.toString().trimmed();
        for (const char* yes : {"true", "vrai"}) {
            if (word.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
        for (const char* no : {"false", "faux"}) {
            if (word.compare(QLatin1String(no), Qt::CaseInsensitive) == 0) {
                return false;
            }
        }
    }
    const std::optional<Number> number = numberOf(value);
    if (!number) {
        throw mismatch(field);
    }
    return number->integral ? number->integer != 0 : number->real != 0.0;
}

// Two-digit years in short dates: 00-29 is 2000-2029, 30-99 is 1930-1999.
QDateTime parseFrenchDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        return {};
    }
    int year = m.captured(3).toInt();
    if (m.capturedLength(3) == 2) {
        year += year < 30 ? 2000 : 1900;
    }
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    const QTime time = m.capturedLength(4) > 0
                           ? QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt())
                           : QTime(0, 0);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

// SQLite's "2001-12-06 10:30:00", the ISO "2001-12-06T10:30:00" and a bare "2001-12-06" all read as dates.
QDateTime parseStoredDate(const QString& text) {
    QString s = text.trimmed();
    if (s.size() == 10) {
        const QDate date = QDate::fromString(s, Qt::ISODate);
        return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
    }
    if (s.size() > 10 && s.at(10) == QLatin1Char(' ')) {
        s[10] = QLatin1Char('T');
    }
    return QDateTime::fromString(s, Qt::ISODate);
}

// Seconds are the resolution of a stored date, so the cached value matches what a reread gives.
QDateTime wholeSeconds(const QDateTime& dateTime) {
    QDateTime local = dateTime.toLocalTime();
    const QTime t = local.time();
    local.setTime(QTime(t.hour(), t.minute(), t.second()));
    return local;
}

QDateTime dateOf(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QString: {
        const QString s = value.toString().trimmed();
        const QDateTime french = parseFrenchDate(s);
        return french.isValid() ? french : parseStoredDate(s);
    }
    default:
        return {};
    }
}

// The French short date: "06/12/01", with the time only when it is not midnight.
QString frenchShortDate(const QDateTime& dateTime) {
    if (dateTime.time() == QTime(0, 0)) {
        return dateTime.toString(QStringLiteral("dd/MM/yy"));
    }
    return dateTime.toString(QStringLiteral("dd/MM/yy HH:mm:ss"));
}

QString textOf(const FieldInfo& field, const QVariant& value) {
    const int id = value.metaType().id();
    if (isTextType(id)) {
        return value.toString();
    }
    if (id == QMetaType::Bool) {
        return value.toBool() ? QStringLiteral("Vrai") : QStringLiteral("Faux");
    }
    if (isIntegralType(id)) {
        return value.toString();
    }
    if (id == QMetaType::Double || id == QMetaType::Float) {
        const int digits = id == QMetaType::Float ? 7 : 15;
        return QString::number(value.toDouble(), 'g', digits).replace(QLatin1Char('.'), QLatin1Char(','));
    }
    if (id == QMetaType::QDate || id == QMetaType::QDateTime) {
        const QDateTime dateTime = dateOf(value);
        if (dateTime.isValid()) {
            return frenchShortDate(dateTime);
        }
    }
    throw mismatch(field);
}

qsizetype characterCount(const QString& text) {
    qsizetype count = text.size();
    for (const QChar c : text) {
        if (c.isLowSurrogate()) {
            --count;
        }
    }
    return count;
}

// Refuses an empty text where the field does not allow one, and a text longer than the field.
void checkText(const FieldInfo& field, const QString& text) {
    if (text.isEmpty() && !field.allowZeroLength) {
        throw Error(errc::ZeroLength,
                    QStringLiteral("Le champ « %1 » ne peut pas être une chaîne de longueur nulle").arg(field.name));
    }
    // A text has at most as many characters as UTF-16 units: only a longer one needs its characters counted.
    if (field.type == FieldType::Text && field.size > 0 && text.size() > field.size &&
        characterCount(text) > field.size) {
        throw Error(errc::FieldTooSmall,
                    QStringLiteral("Champ trop petit pour accepter la quantité de données") +
                        QStringLiteral(" (champ « %1 », %2 caractères au plus)").arg(field.name).arg(field.size));
    }
}

QVariant toText(const FieldInfo& field, const QVariant& value) {
    const QString text = textOf(field, value);
    checkText(field, text);
    return text;
}

QVariant toVariant(const FieldInfo& field, const QVariant& value) {
    const int id = value.metaType().id();
    if (id == QMetaType::Bool) {
        return qlonglong(value.toBool() ? 1 : 0);
    }
    if (isIntegralType(id)) {
        const std::optional<Number> number = numberOf(value);
        if (!number->integral) {
            throw overflow(field);
        }
        return qlonglong(number->integer);
    }
    if (id == QMetaType::Double || id == QMetaType::Float) {
        return value.toDouble();
    }
    if (isTextType(id)) {
        return value.toString();
    }
    if (id == QMetaType::QDate || id == QMetaType::QDateTime) {
        const QDateTime dateTime = dateOf(value);
        if (dateTime.isValid()) {
            return wholeSeconds(dateTime).toString(kStoredDateFormat);
        }
    }
    if (id == QMetaType::QByteArray) {
        return value.toByteArray();
    }
    throw mismatch(field);
}

} // namespace

void assignFieldValue(const FieldInfo& field, const QVariant& value, QVariant& out) {
    // A value that already has the field's own type, as a copy between two tables hands it over, is kept as it is.
    const int id = value.metaType().id();
    switch (field.type) {
    case FieldType::Boolean:
        if (id == QMetaType::Bool) {
            out = value;
            return;
        }
        break;
    case FieldType::Integer:
        if (id == QMetaType::Short) {
            out = value;
            return;
        }
        break;
    case FieldType::Long:
        if (id == QMetaType::Int) {
            out = value;
            return;
        }
        break;
    case FieldType::Text:
    case FieldType::Memo:
        if (id == QMetaType::QString) {
            checkText(field, stored<QString>(value));
            out = value;
            return;
        }
        break;
    default:
        break;
    }
    out = toFieldValue(field, value);
}

QVariant toFieldValue(const FieldInfo& field, const QVariant& value) {
    if (!value.isValid() || value.metaType().id() == QMetaType::Nullptr) {
        return {};
    }
    switch (field.type) {
    case FieldType::Boolean:
        return toBoolean(field, value);
    case FieldType::Integer:
        return toIntegral(field, value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    case FieldType::Long:
        return toIntegral(field, value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    case FieldType::Single:
        return toReal(field, value, static_cast<double>(FLT_MAX));
    case FieldType::Double:
        return toReal(field, value, DBL_MAX);
    case FieldType::Date: {
        const QDateTime dateTime = dateOf(value);
        if (!dateTime.isValid()) {
            throw mismatch(field);
        }
        return wholeSeconds(dateTime);
    }
    case FieldType::Text:
    case FieldType::Memo:
        return toText(field, value);
    case FieldType::Variant:
        return toVariant(field, value);
    case FieldType::LongBinary:
        if (value.metaType().id() == QMetaType::QByteArray) {
            return value;
        }
        break;
    }
    throw mismatch(field);
}

int bindValue(sqlite3_stmt* statement, int index, const QVariant& value, std::vector<QByteArray>& keep) {
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(statement, index);
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, index, stored<bool>(value) ? 1 : 0);
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, stored<double>(value));
    case QMetaType::QString: {
        // Qt's UTF-8 encoder is faster than SQLite's translation from UTF-16.
        keep.push_back(stored<QString>(value).toUtf8());
        const QByteArray& utf8 = keep.back();
        return sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    }
    case QMetaType::QDateTime: {
        const QByteArray utf8 = value.toDateTime().toString(kStoredDateFormat).toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::QByteArray: {
        const QByteArray& bytes = stored<QByteArray>(value);
        return sqlite3_bind_blob(statement, index, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    }
    default:
        return sqlite3_bind_int64(statement, index, integralOf(value));
    }
}

QVariant columnValue(sqlite3_stmt* statement, int column, const FieldInfo& field) {
    const int storage = sqlite3_column_type(statement, column);
    switch (storage) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qint64 integer = sqlite3_column_int64(statement, column);
        switch (field.type) {
        case FieldType::Boolean:
            return integer != 0; // files made by hand store true as 1 or -1
        case FieldType::Integer:
            if (integer >= std::numeric_limits<qint16>::min() && integer <= std::numeric_limits<qint16>::max()) {
                return QVariant::fromValue<qint16>(static_cast<qint16>(integer));
            }
            break;
        case FieldType::Long:
            if (integer >= std::numeric_limits<qint32>::min() && integer <= std::numeric_limits<qint32>::max()) {
                return QVariant::fromValue<qint32>(static_cast<qint32>(integer));
            }
            break;
        case FieldType::Single:
        case FieldType::Double:
            return static_cast<double>(integer);
        default:
            break;
        }
        return qlonglong(integer);
    }
    case SQLITE_FLOAT: {
        const double real = sqlite3_column_double(statement, column);
        if (field.type == FieldType::Boolean) {
            return real != 0.0;
        }
        return real;
    }
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const QString s = QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
        if (field.type == FieldType::Date) {
            const QDateTime dateTime = parseStoredDate(s);
            if (dateTime.isValid()) {
                return dateTime;
            }
        }
        return s;
    }
    default: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return QByteArray(bytes, sqlite3_column_bytes(statement, column));
    }
    }
}

} // namespace kelvane::db
