#include "conversion/vidage.h"

#include <QDataStream>
#include <QDateTime>
#include <cmath>

namespace kelvane::conversion {

using namespace protocole;

int TableAccess::colonne(const QString& nom) const {
    for (std::size_t i = 0; i < colonnes.size(); ++i) {
        if (colonnes[i].nom.compare(nom, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const TableAccess* BaseAccess::table(const QString& nom) const {
    for (const TableAccess& t : tables) {
        if (t.nom.compare(nom, Qt::CaseInsensitive) == 0) {
            return &t;
        }
    }
    return nullptr;
}

QDateTime dateAccess(double jours) {
    // 1/1/100 and 31/12/9999, the range Access itself accepts.
    if (!std::isfinite(jours) || jours < -657434.0 || jours >= 2958466.0) {
        return {};
    }
    const double entiers = std::trunc(jours);
    // Before 1899 the fraction still counts forward from midnight.
    const auto secondes = static_cast<int>(std::lround(std::fabs(jours - entiers) * 86400.0));
    const QDate jour = QDate(1899, 12, 30).addDays(static_cast<qint64>(entiers));
    return QDateTime(jour, QTime(0, 0)).addSecs(secondes);
}

namespace {

class Lecture {
public:
    explicit Lecture(const QByteArray& vidage) : flux_(vidage) { preparer(flux_); }

    std::optional<BaseAccess> lire(QString& raison) {
        BaseAccess base;
        quint32 magie = 0;
        quint16 version = 0;
        flux_ >> magie >> version >> base.format;
        if (flux_.status() != QDataStream::Ok || magie != kMagie) {
            raison = QStringLiteral("réponse du lecteur illisible");
            return std::nullopt;
        }
        if (version != kVersion) {
            raison = QStringLiteral("lecteur de version %1, version %2 attendue").arg(version).arg(kVersion);
            return std::nullopt;
        }
        for (;;) {
            quint8 marque = 0;
            flux_ >> marque;
            if (flux_.status() != QDataStream::Ok) {
                return echec(raison);
            }
            if (marque == static_cast<quint8>(Marque::Fin)) {
                quint32 nbTables = 0;
                flux_ >> nbTables;
                if (flux_.status() != QDataStream::Ok || nbTables != base.tables.size() || !flux_.atEnd()) {
                    return echec(raison);
                }
                return base;
            }
            const bool lu = marque == static_cast<quint8>(Marque::Table)   ? lireTable(base)
                            : marque == static_cast<quint8>(Marque::Ligne) ? lireLigne(base)
                                                                           : false;
            if (!lu) {
                return echec(raison);
            }
        }
    }

private:
    std::nullopt_t echec(QString& raison) {
        raison = flux_.status() == QDataStream::ReadPastEnd ? QStringLiteral("réponse du lecteur incomplète")
                                                            : QStringLiteral("réponse du lecteur illisible");
        return std::nullopt;
    }

    bool lireTable(BaseAccess& base) {
        if (base.tables.size() >= static_cast<std::size_t>(kMaxTables)) {
            return false;
        }
        TableAccess table;
        quint16 nbColonnes = 0;
        if (!lireTexte(flux_, table.nom, kMaxOctetsNom)) {
            return false;
        }
        flux_ >> nbColonnes;
        if (flux_.status() != QDataStream::Ok || nbColonnes > kMaxColonnes) {
            return false;
        }
        for (int i = 0; i < nbColonnes; ++i) {
            ColonneAccess colonne;
            quint8 type = 0;
            qint32 taille = 0;
            if (!lireTexte(flux_, colonne.nom, kMaxOctetsNom)) {
                return false;
            }
            flux_ >> type >> taille;
            if (flux_.status() != QDataStream::Ok || taille < 0 || taille > 65535) {
                return false;
            }
            colonne.type = static_cast<TypeAccess>(type);
            colonne.taille = taille;
            table.colonnes.push_back(std::move(colonne));
        }
        base.tables.push_back(std::move(table));
        return true;
    }

    bool lireLigne(BaseAccess& base) {
        if (base.tables.empty()) {
            return false;
        }
        TableAccess& table = base.tables.back();
        valeurs_ += static_cast<qint64>(table.colonnes.size());
        if (valeurs_ > kMaxValeurs || ++lignes_ > kMaxLignes) {
            return false;
        }
        std::vector<QVariant> ligne(table.colonnes.size());
        for (QVariant& valeur : ligne) {
            if (!lireValeur(valeur)) {
                return false;
            }
        }
        table.lignes.push_back(std::move(ligne));
        return true;
    }

    bool lireValeur(QVariant& valeur) {
        quint8 genre = 0;
        flux_ >> genre;
        switch (static_cast<Genre>(genre)) {
        case Genre::Nul:
            break;
        case Genre::Booleen: {
            quint8 b = 0;
            flux_ >> b;
            if (b > 1) {
                return false;
            }
            valeur = b == 1;
            break;
        }
        case Genre::Entier: {
            qint64 n = 0;
            flux_ >> n;
            valeur = n;
            break;
        }
        case Genre::Reel: {
            double x = 0;
            flux_ >> x;
            valeur = x;
            break;
        }
        case Genre::Date: {
            double jours = 0;
            flux_ >> jours;
            const QDateTime date = dateAccess(jours);
            valeur = date.isValid() ? QVariant(date) : QVariant(jours); // beyond Access's own range: kept as stored
            break;
        }
        case Genre::Texte: {
            QString texte;
            if (!lireTexte(flux_, texte, kMaxOctetsValeur)) {
                return false;
            }
            valeur = texte;
            break;
        }
        case Genre::Octets: {
            QByteArray octets;
            if (!lireOctets(flux_, octets, kMaxOctetsValeur)) {
                return false;
            }
            valeur = octets;
            break;
        }
        default:
            return false;
        }
        return flux_.status() == QDataStream::Ok;
    }

    QDataStream flux_;
    qint64 valeurs_ = 0;
    qint64 lignes_ = 0;
};

} // namespace

std::optional<BaseAccess> lireVidage(const QByteArray& vidage, QString& raison) {
    return Lecture(vidage).lire(raison);
}

} // namespace kelvane::conversion
