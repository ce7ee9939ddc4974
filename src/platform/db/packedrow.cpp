#include "platform/db/packedrow.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <cstring>

namespace kelvane::db {

namespace {

enum class Kind : std::uint8_t {
    Null,
    False,
    True,
    Short,     // 2 bytes
    Int,       // 4 bytes
    LongLong,  // 8 bytes
    Double,    // 8 bytes
    NullText,  // a QString that isNull(), apart from the empty one
    Text,      // 4-byte length in UTF-16 units, then the units
    NullBytes, // a QByteArray that isNull()
    Bytes,     // 4-byte length, then the bytes
    DateTime,  // milliseconds since the epoch (8 bytes), kind of time zone (1), offset from UTC in seconds (4)
};

constexpr std::size_t kDateTimeBytes = 8 + 1 + 4;

template <class T> const T& stored(const QVariant& value) {
    return *static_cast<const T*>(value.constData());
}

template <class T> std::byte* put(std::byte* out, T value) {
    std::memcpy(out, &value, sizeof value);
    return out + sizeof value;
}

template <class T> T get(const std::byte*& in) {
    T value;
    std::memcpy(&value, in, sizeof value);
    in += sizeof value;
    return value;
}

// The bytes a value takes, its kind byte included.
std::size_t packedSize(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
    case QMetaType::Bool:
        return 1;
    case QMetaType::Short:
        return 1 + sizeof(qint16);
    case QMetaType::Int:
        return 1 + sizeof(qint32);
    case QMetaType::LongLong:
    case QMetaType::Double:
        return 1 + 8;
    case QMetaType::QString: {
        const QString& text = stored<QString>(value);
        return text.isNull() ? 1 : 1 + 4 + static_cast<std::size_t>(text.size()) * sizeof(char16_t);
    }
    case QMetaType::QByteArray: {
        const QByteArray& bytes = stored<QByteArray>(value);
        return bytes.isNull() ? 1 : 1 + 4 + static_cast<std::size_t>(bytes.size());
    }
    case QMetaType::QDateTime:
        return 1 + kDateTimeBytes;
    default:
        return 1 + 4 + static_cast<std::size_t>(value.toString().size()) * sizeof(char16_t);
    }
}

std::byte* putText(std::byte* out, const QString& text) {
    out = put(out, Kind::Text);
    out = put(out, static_cast<std::uint32_t>(text.size()));
    const std::size_t bytes = static_cast<std::size_t>(text.size()) * sizeof(char16_t);
    std::memcpy(out, text.constData(), bytes);
    return out + bytes;
}

std::byte* putValue(std::byte* out, const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return put(out, Kind::Null);
    case QMetaType::Bool:
        return put(out, stored<bool>(value) ? Kind::True : Kind::False);
    case QMetaType::Short:
        return put(put(out, Kind::Short), stored<qint16>(value));
    case QMetaType::Int:
        return put(put(out, Kind::Int), stored<qint32>(value));
    case QMetaType::LongLong:
        return put(put(out, Kind::LongLong), stored<qlonglong>(value));
    case QMetaType::Double:
        return put(put(out, Kind::Double), stored<double>(value));
    case QMetaType::QString: {
        const QString& text = stored<QString>(value);
        return text.isNull() ? put(out, Kind::NullText) : putText(out, text);
    }
    case QMetaType::QByteArray: {
        const QByteArray& bytes = stored<QByteArray>(value);
        if (bytes.isNull()) {
            return put(out, Kind::NullBytes);
        }
        out = put(put(out, Kind::Bytes), static_cast<std::uint32_t>(bytes.size()));
        std::memcpy(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return out + bytes.size();
    }
    case QMetaType::QDateTime: {
        const QDateTime& dateTime = stored<QDateTime>(value);
        out = put(put(out, Kind::DateTime), dateTime.toMSecsSinceEpoch());
        out = put(out, static_cast<std::uint8_t>(dateTime.timeSpec()));
        return put(out, static_cast<std::int32_t>(dateTime.offsetFromUtc()));
    }
    default:
        return putText(out, value.toString());
    }
}

// Reads the value at `in` and moves past it.
QVariant takeValue(const std::byte*& in) {
    switch (get<Kind>(in)) {
    case Kind::Null:
        return {};
    case Kind::False:
        return false;
    case Kind::True:
        return true;
    case Kind::Short:
        return QVariant::fromValue<qint16>(get<qint16>(in));
    case Kind::Int:
        return QVariant::fromValue<qint32>(get<qint32>(in));
    case Kind::LongLong:
        return QVariant::fromValue<qlonglong>(get<qlonglong>(in));
    case Kind::Double:
        return get<double>(in);
    case Kind::NullText:
        return QString();
    case Kind::Text: {
        const auto size = static_cast<qsizetype>(get<std::uint32_t>(in));
        QString text(size, Qt::Uninitialized);
        std::memcpy(text.data(), in, static_cast<std::size_t>(size) * sizeof(char16_t));
        in += static_cast<std::size_t>(size) * sizeof(char16_t);
        return text;
    }
    case Kind::NullBytes:
        return QByteArray();
    case Kind::Bytes: {
        const auto size = static_cast<qsizetype>(get<std::uint32_t>(in));
        QByteArray bytes(reinterpret_cast<const char*>(in), size);
        in += size;
        return bytes;
    }
    case Kind::DateTime: {
        const auto msecs = get<qint64>(in);
        const auto zone = static_cast<Qt::TimeSpec>(get<std::uint8_t>(in));
        const auto offset = get<std::int32_t>(in);
        return QDateTime::fromMSecsSinceEpoch(msecs, zone, offset);
    }
    }
    return {};
}

// Moves past the value at `in` without building it.
void skipValue(const std::byte*& in) {
    switch (get<Kind>(in)) {
    case Kind::Short:
        in += sizeof(qint16);
        break;
    case Kind::Int:
        in += sizeof(qint32);
        break;
    case Kind::LongLong:
    case Kind::Double:
        in += 8;
        break;
    case Kind::Text:
        in += static_cast<std::size_t>(get<std::uint32_t>(in)) * sizeof(char16_t);
        break;
    case Kind::Bytes:
        in += get<std::uint32_t>(in);
        break;
    case Kind::DateTime:
        in += kDateTimeBytes;
        break;
    default:
        break;
    }
}

} // namespace

PackedRow PackedRow::pack(const QVariant* values, std::size_t count) {
    std::size_t size = 0;
    for (std::size_t i = 0; i < count; ++i) {
        size += packedSize(values[i]);
    }
    PackedRow row;
    row.data_.reset(new std::byte[size]);
    std::byte* out = row.data_.get();
    for (std::size_t i = 0; i < count; ++i) {
        out = putValue(out, values[i]);
    }
    return row;
}

QVariant PackedRow::value(std::size_t column) const {
    const std::byte* in = data_.get();
    for (std::size_t i = 0; i < column; ++i) {
        skipValue(in);
    }
    return takeValue(in);
}

void PackedRow::unpack(QVariant* out, std::size_t count) const {
    const std::byte* in = data_.get();
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = takeValue(in);
    }
}

} // namespace kelvane::db
