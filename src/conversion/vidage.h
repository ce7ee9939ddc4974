#pragma once

#include "conversion/protocole.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kelvane::conversion {

// One column of an Access table as the reader describes it.
struct ColonneAccess {
    QString nom;
    protocole::TypeAccess type = protocole::TypeAccess::Texte;
    int taille = 0; // characters, for a text
};

// One Access table: its columns and its records in stored order. Values are null (an invalid QVariant), bool,
// qint64, double, QString, QDateTime or QByteArray.
struct TableAccess {
    QString nom;
    std::vector<ColonneAccess> colonnes;
    std::vector<std::vector<QVariant>> lignes;

    int colonne(const QString& nom) const; // without regard to case; -1 when absent
};

// The user tables of an Access file, in its catalogue's order.
struct BaseAccess {
    quint16 format = 0; // protocole::kJet3, kJet4, kAce12...
    std::vector<TableAccess> tables;

    const TableAccess* table(const QString& nom) const; // without regard to case
};

// Reads the reader's dump, every count and size checked against the bounds of the protocol: a dump that is cut,
// of another version or beyond a bound gives nothing and the reason in French in `raison`.
std::optional<BaseAccess> lireVidage(const QByteArray& vidage, QString& raison);

// A date as Access stores it (days since 30/12/1899, the time of day in the fraction) as a local date and time;
// an invalid QDateTime outside years 100 to 9999.
QDateTime dateAccess(double jours);

} // namespace kelvane::conversion
