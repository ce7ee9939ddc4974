#include "demarrage/copiedossier.h"

#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace kelvane::demarrage {

namespace {

QString natif(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

} // namespace

void copierDossier(const QString& source, const QString& cible) {
    const QDir depuis(source);
    if (!depuis.exists()) {
        throw Error(errc::PathNotFound, QStringLiteral("le dossier « %1 » n'existe pas").arg(natif(source)));
    }
    if (!QDir().mkpath(cible)) {
        throw Error(errc::PathFileAccess, QStringLiteral("le dossier « %1 » ne peut pas être créé").arg(natif(cible)));
    }
    const QDir vers(cible);
    const auto entrees = depuis.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entree : entrees) {
        const QString copie = vers.filePath(entree.fileName());
        if (entree.isDir()) {
            copierDossier(entree.filePath(), copie);
            continue;
        }
        if (QFileInfo::exists(copie)) {
            continue;
        }
        if (!QFile::copy(entree.filePath(), copie)) {
            throw Error(errc::PathFileAccess, QStringLiteral("« %1 » ne peut pas être copié dans « %2 »")
                                                  .arg(natif(entree.filePath()), natif(cible)));
        }
        QFile::setPermissions(copie, QFile::permissions(copie) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

bool creerCopie(const QString& source, const QString& cible) {
    const QFileInfo info(cible);
    QTemporaryDir temporaire(info.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX").arg(info.fileName())));
    if (!temporaire.isValid()) {
        throw Error(
            errc::PathFileAccess,
            QStringLiteral("le dossier « %1 » ne peut pas être créé : %2").arg(natif(cible), temporaire.errorString()));
    }
    copierDossier(source, temporaire.path());
    if (QFileInfo::exists(cible)) {
        return false;
    }
    if (!QDir().rename(temporaire.path(), cible)) {
        if (QFileInfo::exists(cible)) {
            return false;
        }
        throw Error(errc::PathFileAccess, QStringLiteral("le dossier « %1 » ne peut pas être créé").arg(natif(cible)));
    }
    temporaire.setAutoRemove(false);
    return true;
}

} // namespace kelvane::demarrage
