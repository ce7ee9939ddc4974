#pragma once

// The dump that kelvane-lecteur-access writes on its standard output and the conversion reads: every user table of
// one Access file, its columns and its records in stored order. Shared by both programs; Qt Core only.
//
// A QDataStream (layout Qt 6.0, big-endian):
//   quint32 kMagie, quint16 kVersion, quint16 the file's format (kJet3, kJet4, kAce12...)
//   for each user table, in the file's catalogue order:
//     quint8 Marque::Table, texte name, quint16 column count,
//     for each column: texte name, quint8 Access type (TypeAccess), qint32 size (characters for a text, else 0)
//     for each record: quint8 Marque::Ligne, then one value per column: quint8 Genre and its payload
//       (Booleen: quint8 0 or 1; Entier: qint64; Reel: double; Texte: texte; Date: double, days since 30/12/1899
//        as Access stores it; Octets: quint32 count and the bytes; Nul: nothing)
//   quint8 Marque::Fin, quint32 the number of tables written
// A texte is a quint32 count of bytes and the text in UTF-8. A yes/no is never null: Access keeps it in the null
// bit. OLE objects are not read and come as Nul: no layout holds one.

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QString>

namespace kelvane::conversion::protocole {

inline constexpr quint32 kMagie = 0x4B4C4143; // "KLAC"
inline constexpr quint16 kVersion = 1;

// The file's format.
inline constexpr quint16 kJet3 = 3;   // Access 97
inline constexpr quint16 kJet4 = 4;   // Access 2000 to 2003
inline constexpr quint16 kAce12 = 12; // Access 2007, and 14, 15, 16, 17 for the later versions

enum class Marque : quint8 { Table = 1, Ligne = 2, Fin = 0xFF };
enum class Genre : quint8 { Nul = 0, Booleen = 1, Entier = 2, Reel = 3, Texte = 4, Date = 5, Octets = 6 };

// The column types of an Access file, numbered as the file stores them.
enum class TypeAccess : quint8 {
    OuiNon = 0x01,
    Octet = 0x02,
    Entier = 0x03,
    EntierLong = 0x04,
    Monetaire = 0x05,
    Reel = 0x06,
    ReelDouble = 0x07,
    DateHeure = 0x08,
    Binaire = 0x09,
    Texte = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
    IdReplication = 0x0f,
    Decimal = 0x10,
    Complexe = 0x12,
};

// Bounds that the reader stays within and the conversion checks: a dump beyond them is refused, not read.
inline constexpr int kMaxTables = 1000;
inline constexpr int kMaxColonnes = 255;
inline constexpr quint32 kMaxOctetsNom = 1024;           // a table or column name
inline constexpr quint32 kMaxOctetsValeur = 1024 * 1024; // one text or binary value
inline constexpr qint64 kMaxValeurs = 4'000'000;         // values in the whole dump
inline constexpr qint64 kMaxLignes = 1'000'000;          // records in the whole dump
inline constexpr qint64 kMaxOctetsVidage = 64LL * 1024 * 1024;

inline QDataStream& operator<<(QDataStream& out, Marque m) {
    return out << static_cast<quint8>(m);
}
inline QDataStream& operator<<(QDataStream& out, Genre g) {
    return out << static_cast<quint8>(g);
}

inline void ecrireOctets(QDataStream& out, const QByteArray& octets) {
    out << static_cast<quint32>(octets.size());
    out.writeRawData(octets.constData(), static_cast<int>(octets.size()));
}

inline void ecrireTexte(QDataStream& out, const QString& texte) {
    ecrireOctets(out, texte.toUtf8());
}

// Reads a count and as many bytes; false (the stream left failed) when the count is over `max` or beyond the end.
inline bool lireOctets(QDataStream& in, QByteArray& octets, quint32 max) {
    quint32 n = 0;
    in >> n;
    if (in.status() != QDataStream::Ok || n > max || qint64(n) > in.device()->bytesAvailable()) {
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    octets.resize(static_cast<qsizetype>(n));
    if (in.readRawData(octets.data(), static_cast<int>(n)) != static_cast<int>(n)) {
        in.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    return true;
}

inline bool lireTexte(QDataStream& in, QString& texte, quint32 max) {
    QByteArray octets;
    if (!lireOctets(in, octets, max)) {
        return false;
    }
    texte = QString::fromUtf8(octets);
    return true;
}

// The stream settings both sides use.
inline void preparer(QDataStream& flux) {
    flux.setVersion(QDataStream::Qt_6_0);
    flux.setByteOrder(QDataStream::BigEndian);
}

} // namespace kelvane::conversion::protocole
