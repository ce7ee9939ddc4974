#include "atelier/fichierstests.h"

#include "data/reglesfichiers.h"
#include "data/test.h"
#include "platform/error.h"
#include "source/textsource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

namespace kelvane::atelier {

namespace {

QString natif(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

void refuserSiPris(const QString& cible) {
    if (QFileInfo::exists(cible)) {
        throw Error(errc::DatabaseExists,
                    QStringLiteral("« %1 » existe déjà : il n'est pas remplacé").arg(natif(cible)));
    }
}

} // namespace

void copierTest(const QString& source, const QString& cible) {
    refuserSiPris(cible);
    const QFileInfo info(cible);
    const QString temporaire =
        info.absoluteDir().filePath(QStringLiteral(".%1.%2.tmp")
                                        .arg(info.fileName())
                                        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    if (!QFile::copy(source, temporaire)) {
        QFile::remove(temporaire);
        throw Error(
            errc::PathFileAccess,
            QStringLiteral("impossible de copier « %1 » dans « %2 »").arg(natif(source), natif(info.absolutePath())));
    }
    QFile::setPermissions(temporaire, QFile::permissions(temporaire) | QFileDevice::WriteOwner);
    // QFile::rename never replaces an existing file, even one made since the check.
    if (!QFile::rename(temporaire, cible)) {
        QFile::remove(temporaire);
        refuserSiPris(cible);
        throw Error(errc::PathFileAccess, QStringLiteral("impossible d'écrire « %1 »").arg(natif(cible)));
    }
}

void renommerTest(const QString& source, const QString& cible) {
    refuserSiPris(cible);
    if (!QFile::rename(source, cible)) {
        refuserSiPris(cible);
        throw Error(
            errc::PathFileAccess,
            QStringLiteral("impossible de renommer « %1 » en « %2 »").arg(natif(source), QFileInfo(cible).fileName()));
    }
}

void supprimerTest(const QString& chemin) {
    const QFileInfo info(chemin);
    if (info.fileName().compare(QStringLiteral("habilitation.mdb"), Qt::CaseInsensitive) == 0 ||
        data::sonderFichier(chemin).genre != data::GenreFichier::Test) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("« %1 » n'est pas un test : il n'est pas supprimé").arg(natif(chemin)));
    }
    if (!QFile::remove(chemin)) {
        throw Error(errc::PathFileAccess, QStringLiteral("impossible de supprimer « %1 »").arg(natif(chemin)));
    }
}

QStringList exporterTest(const QString& test, const QString& cible) {
    const auto lu = data::lireTest(test);
    if (const auto* refus = std::get_if<data::TestRefuse>(&lu)) {
        return {QFileInfo(test).fileName() + QStringLiteral(" : ") + refus->message};
    }
    QStringList erreurs;
    const QByteArray texte = source::exportSource(std::get<data::Test>(lu), erreurs);
    if (!erreurs.isEmpty()) {
        return erreurs;
    }
    QSaveFile fichier(cible);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(texte) != texte.size() || !fichier.commit()) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("impossible d'écrire « %1 » (%2)").arg(natif(cible), fichier.errorString()));
    }
    return {};
}

} // namespace kelvane::atelier
