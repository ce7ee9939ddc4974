#include "conversion/copie.h"

#include "platform/error.h"

#include <cmath>
#include <limits>

namespace kelvane::conversion {

using db::FieldType;
using protocole::TypeAccess;

namespace {

constexpr int kTailleIdReplication = 38; // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"

template <typename Entier> QVariant entier(const QVariant& valeur) {
    bool ok = false;
    const qint64 n = valeur.toLongLong(&ok);
    if (!ok || valeur.typeId() == QMetaType::Double || n < std::numeric_limits<Entier>::min() ||
        n > std::numeric_limits<Entier>::max()) {
        return valeur;
    }
    return QVariant::fromValue(static_cast<Entier>(n));
}

} // namespace

std::optional<db::FieldInfo> champKelvane(const ColonneAccess& colonne) {
    db::FieldInfo champ;
    champ.name = colonne.nom;
    switch (colonne.type) {
    case TypeAccess::OuiNon:
        champ.type = FieldType::Boolean;
        break;
    case TypeAccess::Octet:
    case TypeAccess::Entier:
        champ.type = FieldType::Integer;
        break;
    case TypeAccess::EntierLong:
    case TypeAccess::Complexe:
        champ.type = FieldType::Long;
        break;
    case TypeAccess::Reel:
        champ.type = FieldType::Single;
        break;
    case TypeAccess::ReelDouble:
    case TypeAccess::Monetaire:
    case TypeAccess::Decimal:
        champ.type = FieldType::Double;
        break;
    case TypeAccess::DateHeure:
        champ.type = FieldType::Date;
        break;
    case TypeAccess::Texte:
        champ.type = FieldType::Text;
        champ.size = qBound(1, colonne.taille, 255);
        break;
    case TypeAccess::Memo:
        champ.type = FieldType::Memo;
        break;
    case TypeAccess::IdReplication:
        champ.type = FieldType::Text;
        champ.size = kTailleIdReplication;
        break;
    case TypeAccess::Binaire:
        champ.type = FieldType::Variant;
        break;
    default:
        return std::nullopt;
    }
    return champ;
}

QVariant valeurKelvane(FieldType type, const QVariant& valeur) {
    if (valeur.isNull()) {
        return {};
    }
    switch (type) {
    case FieldType::Integer:
        return entier<qint16>(valeur);
    case FieldType::Long:
        return entier<qint32>(valeur);
    case FieldType::Single:
    case FieldType::Double:
        return valeur.typeId() == QMetaType::Double ? valeur : QVariant(valeur.toDouble());
    default:
        return valeur;
    }
}

void copierTables(db::Database& base, const std::vector<const TableAccess*>& tables) {
    for (const TableAccess* table : tables) {
        db::TableDef def = base.CreateTableDef(table->nom);
        for (const ColonneAccess& colonne : table->colonnes) {
            const db::FieldInfo info = champKelvane(colonne).value();
            db::Field champ = def.CreateField(info.name, info.type, info.size);
            champ.setAllowZeroLength(true); // Access keeps empty texts apart from nulls
            def.Fields().Append(champ);
        }
        base.TableDefs().Append(def);
    }
    db::Transaction transaction(base);
    for (const TableAccess* table : tables) {
        db::Recordset rs = base.OpenRecordset(table->nom);
        for (std::size_t n = 0; n < table->lignes.size(); ++n) {
            const std::vector<QVariant>& ligne = table->lignes[n];
            try {
                rs.AddNew();
                for (std::size_t i = 0; i < ligne.size(); ++i) {
                    const int champ = static_cast<int>(i);
                    rs.SetField(champ, valeurKelvane(rs.FieldDef(champ).type, ligne[i]));
                }
                rs.Update();
            } catch (const Error& e) {
                throw Error(e.number(), QStringLiteral("table « %1 », enregistrement %2 : %3")
                                            .arg(table->nom, QString::number(n + 1), e.text()));
            }
        }
    }
    transaction.Commit();
}

} // namespace kelvane::conversion
