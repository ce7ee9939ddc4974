#include "atelier/noms.h"

#include "data/format.h"
#include "data/reglesfichiers.h"

#include <QDir>
#include <algorithm>

namespace kelvane::atelier {

namespace {
using data::kExtension;
const QString kInterdits = QStringLiteral("\\/:*?\"<>|");
} // namespace

QString nomFichierTest(const QString& saisi, QString* erreur) {
    auto refuser = [erreur](const QString& pourquoi) {
        if (erreur != nullptr) {
            *erreur = pourquoi;
        }
        return QString();
    };
    QString nom = saisi.trimmed();
    if (nom.endsWith(kExtension, Qt::CaseInsensitive)) {
        nom.chop(kExtension.size());
        nom = nom.trimmed();
    }
    if (nom.isEmpty()) {
        return refuser(QStringLiteral("Le nom du test est vide."));
    }
    if (nom.size() > kLongueurNomTest) {
        return refuser(
            QStringLiteral("Le nom du test a %1 caractères, %2 au plus.").arg(nom.size()).arg(kLongueurNomTest));
    }
    for (const QChar c : nom) {
        if (c.category() == QChar::Other_Control) {
            return refuser(QStringLiteral("Le nom du test ne peut pas contenir de caractère de contrôle."));
        }
        if (kInterdits.contains(c)) {
            return refuser(QStringLiteral("Le nom du test ne peut pas contenir « %1 » (ni aucun de %2).")
                               .arg(QString(c), QString(kInterdits).split(QString(), Qt::SkipEmptyParts).join(u' ')));
        }
    }
    if (nom.startsWith(QLatin1Char('.')) || nom.endsWith(QLatin1Char('.'))) {
        return refuser(QStringLiteral("Le nom du test ne peut ni commencer ni finir par un point."));
    }
    const QString reglages = data::nomTestDeFichier(data::kFichierParametres);
    if (nom.compare(reglages, Qt::CaseInsensitive) == 0) {
        return refuser(QStringLiteral("« %1 » est le nom du fichier des réglages, pas celui d'un test.").arg(reglages));
    }
    return nom + kExtension;
}

QString nomAffiche(const QString& fichier) {
    return fichier.endsWith(kExtension, Qt::CaseInsensitive) ? fichier.chopped(kExtension.size()) : fichier;
}

bool nomPris(const QString& dossier, const QString& fichier) {
    const QStringList presents =
        QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(presents.begin(), presents.end(), [&fichier](const QString& present) {
        return present.compare(fichier, Qt::CaseInsensitive) == 0;
    });
}

} // namespace kelvane::atelier
