#include "lecture.h"

#include "conversion/protocole.h"
#include "mdb.h"
#include "platform/system.h"
#include "system.h"

#include <QFileInfo>
#include <cstring>
#include <vector>

namespace kelvane::lecteuraccess {

using namespace kelvane::conversion::protocole;

namespace {

// The place of a row in a data page, without the flags of its offset.
constexpr int kMasqueDecalage = 0x1fff;

quint16 formatDe(const MdbHandle& fichier) {
    switch (fichier.f->jet_version) {
    case MDB_VER_JET3:
        return kJet3;
    case MDB_VER_JET4:
        return kJet4;
    case MDB_VER_ACCDB_2007:
        return kAce12;
    case MDB_VER_ACCDB_2010:
        return 14;
    case MDB_VER_ACCDB_2013:
        return 15;
    case MDB_VER_ACCDB_2016:
        return 16;
    default:
        return 17;
    }
}

// A column's size: characters for a text (Jet 4 and later keep two bytes a character), 0 for the others.
qint32 tailleDe(const MdbHandle& fichier, const MdbColumn& colonne) {
    if (colonne.col_type != MDB_TEXT) {
        return 0;
    }
    return fichier.f->jet_version == MDB_VER_JET3 ? colonne.col_size : colonne.col_size / 2;
}

MdbColumn& colonneNumero(MdbTableDef& table, unsigned int i) {
    return *static_cast<MdbColumn*>(g_ptr_array_index(table.columns, i));
}

class Vidage {
public:
    Vidage(MdbHandle& fichier, QDataStream& sortie) : fichier_(fichier), sortie_(sortie) {}

    // Empty when every user table was written.
    QString toutVider() {
        if (mdb_read_catalog(&fichier_, MDB_TABLE) == nullptr) {
            return QStringLiteral("catalogue des tables illisible");
        }
        quint32 tables = 0;
        for (unsigned int i = 0; i < fichier_.num_catalog; ++i) {
            auto* entree = static_cast<MdbCatalogEntry*>(g_ptr_array_index(fichier_.catalog, i));
            if (entree->object_type != MDB_TABLE || !mdb_is_user_table(entree)) {
                continue;
            }
            if (++tables > static_cast<quint32>(kMaxTables)) {
                return QStringLiteral("plus de %1 tables").arg(kMaxTables);
            }
            const QString echec = viderTable(*entree);
            if (!echec.isEmpty()) {
                return echec;
            }
        }
        sortie_ << Marque::Fin << tables;
        return {};
    }

private:
    QString viderTable(MdbCatalogEntry& entree) {
        const QString nom = QString::fromUtf8(entree.object_name);
        Table table(mdb_read_table(&entree));
        if (!table || mdb_read_columns(table.get()) == nullptr) {
            return QStringLiteral("table « %1 » illisible").arg(nom);
        }
        if (table->num_cols > static_cast<unsigned int>(kMaxColonnes)) {
            return QStringLiteral("table « %1 » : %2 colonnes").arg(nom, QString::number(table->num_cols));
        }
        sortie_ << Marque::Table;
        ecrireTexte(sortie_, nom);
        sortie_ << static_cast<quint16>(table->num_cols);
        for (unsigned int i = 0; i < table->num_cols; ++i) {
            const MdbColumn& colonne = colonneNumero(*table, i);
            ecrireTexte(sortie_, QString::fromUtf8(colonne.name));
            sortie_ << static_cast<quint8>(colonne.col_type) << tailleDe(fichier_, colonne);
        }

        mdb_rewind_table(table.get());
        std::vector<MdbField> champs(table->num_cols);
        std::vector<const MdbField*> parColonne(table->num_cols);
        while (mdb_fetch_row(table.get())) {
            valeurs_ += table->num_cols;
            if (valeurs_ > kMaxValeurs || ++lignes_ > kMaxLignes) {
                return QStringLiteral("plus de %1 enregistrements ou de %2 valeurs").arg(kMaxLignes).arg(kMaxValeurs);
            }
            // mdb_fetch_row leaves the row's page in the buffer and the row's number just behind cur_row; cracking
            // it again gives each field's null bit, which the bound values lose (a null and an empty text).
            int debut = 0;
            size_t taille = 0;
            if (mdb_find_row(&fichier_, static_cast<int>(table->cur_row) - 1, &debut, &taille) != 0) {
                return QStringLiteral("table « %1 » : enregistrement illisible").arg(nom);
            }
            const int n = mdb_crack_row(table.get(), debut & kMasqueDecalage, taille, champs.data());
            if (n < 0 || static_cast<unsigned int>(n) < table->num_cols) {
                return QStringLiteral("table « %1 » : enregistrement illisible").arg(nom);
            }
            std::fill(parColonne.begin(), parColonne.end(), nullptr);
            for (const MdbField& champ : champs) {
                if (champ.colnum < 0 || static_cast<unsigned int>(champ.colnum) >= table->num_cols) {
                    return QStringLiteral("table « %1 » : enregistrement illisible").arg(nom);
                }
                parColonne[static_cast<std::size_t>(champ.colnum)] = &champ;
            }
            sortie_ << Marque::Ligne;
            for (unsigned int i = 0; i < table->num_cols; ++i) {
                if (parColonne[i] == nullptr) {
                    return QStringLiteral("table « %1 » : enregistrement illisible").arg(nom);
                }
                const QString echec = ecrireValeur(colonneNumero(*table, i), *parColonne[i]);
                if (!echec.isEmpty()) {
                    return QStringLiteral("table « %1 » : %2").arg(nom, echec);
                }
            }
        }
        return {};
    }

    QString ecrireValeur(const MdbColumn& colonne, const MdbField& champ) {
        if (colonne.col_type == MDB_BOOL) {
            sortie_ << Genre::Booleen << static_cast<quint8>(champ.is_null ? 0 : 1); // the null bit is the value
            return {};
        }
        if (champ.is_null) {
            sortie_ << Genre::Nul;
            return {};
        }
        unsigned char* page = fichier_.pg_buf;
        const int debut = champ.start;
        switch (colonne.col_type) {
        case MDB_BYTE:
            sortie_ << Genre::Entier << static_cast<qint64>(mdb_get_byte(page, debut));
            return {};
        case MDB_INT:
            sortie_ << Genre::Entier << static_cast<qint64>(static_cast<qint16>(mdb_get_int16(page, debut)));
            return {};
        case MDB_LONGINT:
        case MDB_COMPLEX:
            sortie_ << Genre::Entier << static_cast<qint64>(static_cast<qint32>(mdb_get_int32(page, debut)));
            return {};
        case MDB_FLOAT:
            sortie_ << Genre::Reel << static_cast<double>(mdb_get_single(page, debut));
            return {};
        case MDB_DOUBLE:
            sortie_ << Genre::Reel << mdb_get_double(page, debut);
            return {};
        case MDB_DATETIME:
            sortie_ << Genre::Date << mdb_get_double(page, debut);
            return {};
        case MDB_MONEY:
            return ecrireNombre(TexteGlib(mdb_money_to_string(&fichier_, debut)));
        case MDB_NUMERIC:
            return ecrireNombre(
                TexteGlib(mdb_numeric_to_string(&fichier_, debut, colonne.col_scale, colonne.col_prec)));
        case MDB_BINARY:
            sortie_ << Genre::Octets;
            ecrireOctets(sortie_, QByteArray(reinterpret_cast<const char*>(page) + debut, champ.siz));
            return {};
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID:
            return ecrireTexteLu(TexteGlib(mdb_col_to_string(&fichier_, page, debut, colonne.col_type, champ.siz)));
        default: // OLE objects and the types libmdb does not read
            sortie_ << Genre::Nul;
            return {};
        }
    }

    QString ecrireNombre(const TexteGlib& texte) {
        bool ok = false;
        const double nombre = texte ? QString::fromLatin1(texte.get()).toDouble(&ok) : 0.0;
        if (!ok) {
            return QStringLiteral("nombre illisible");
        }
        sortie_ << Genre::Reel << nombre;
        return {};
    }

    QString ecrireTexteLu(const TexteGlib& texte) {
        const std::size_t longueur = texte ? std::strlen(texte.get()) : 0;
        // libmdb cuts a text at its buffer's size: one that fills it may have lost its end.
        if (longueur + 1 >= fichier_.bind_size) {
            return QStringLiteral("texte de plus de %1 octets").arg(fichier_.bind_size - 1);
        }
        sortie_ << Genre::Texte;
        ecrireOctets(sortie_, QByteArray(texte ? texte.get() : "", static_cast<qsizetype>(longueur)));
        return {};
    }

    MdbHandle& fichier_;
    QDataStream& sortie_;
    qint64 valeurs_ = 0;
    qint64 lignes_ = 0;
};

} // namespace

QString vider(const QString& chemin, QDataStream& sortie) {
    const QFileInfo info(chemin);
    if (!info.exists()) {
        return QStringLiteral("fichier introuvable");
    }
    if (!info.isFile() || !info.isReadable()) {
        return QStringLiteral("fichier illisible");
    }
    // Texts come out in UTF-8 whatever the environment says.
    qputenv("MDB_ICONV", "UTF-8");
    Fichier fichier(mdb_open(platform::cLibraryFileName(chemin).constData(), MDB_NOFLAGS));
    if (!fichier) {
        return QStringLiteral("ce n'est pas une base Access, ou elle est chiffrée");
    }
    mdb_set_bind_size(fichier.get(), kMaxOctetsValeur);
    sortie << kMagie << kVersion << formatDe(*fichier);
    return Vidage(*fichier, sortie).toutVider();
}

} // namespace kelvane::lecteuraccess
