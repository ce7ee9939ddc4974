#include "demarrage/copiedossier.h"

#include "platform/error.h"
#include "platform/nativepath.h"
#include "platform/temporaryname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace kelvane::demarrage {

using platform::nativePath;

void copierDossier(const QString& source, const QString& cible) {
    const QDir depuis(source);
    if (!depuis.exists()) {
        throw Error(errc::PathNotFound, QStringLiteral("le dossier « %1 » n'existe pas").arg(nativePath(source)));
    }
    if (!QDir().mkpath(cible)) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("le dossier « %1 » ne peut pas être créé").arg(nativePath(cible)));
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
                                                  .arg(nativePath(entree.filePath()), nativePath(cible)));
        }
        QFile::setPermissions(copie, QFile::permissions(copie) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

bool creerCopie(const QString& source, const QString& cible) {
    std::optional<platform::TemporaryName> temporaire;
    try {
        temporaire.emplace(cible, platform::TemporaryName::Reserve::Folder);
    } catch (const Error& e) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("le dossier « %1 » ne peut pas être créé : %2").arg(nativePath(cible), e.text()));
    }
    copierDossier(source, temporaire->path());
    switch (temporaire->moveIntoPlace(platform::IfExists::Refuse).outcome) {
    case platform::Placement::Placed:
        return true;
    case platform::Placement::Taken:
        return false;
    case platform::Placement::Failed:
        break;
    }
    throw Error(errc::PathFileAccess, QStringLiteral("le dossier « %1 » ne peut pas être créé").arg(nativePath(cible)));
}

} // namespace kelvane::demarrage
