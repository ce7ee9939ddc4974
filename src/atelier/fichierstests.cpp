#include "atelier/fichierstests.h"

#include "data/reglesfichiers.h"
#include "platform/error.h"
#include "platform/nativepath.h"
#include "platform/temporaryname.h"
#include "source/textsource.h"

#include <QFile>
#include <QFileInfo>

namespace kelvane::atelier {

using platform::nativePath;

namespace {

void refuserSiPris(const QString& cible) {
    if (QFileInfo::exists(cible)) {
        throw Error(errc::DatabaseExists,
                    QStringLiteral("« %1 » existe déjà : il n'est pas remplacé").arg(nativePath(cible)));
    }
}

} // namespace

void copierTest(const QString& source, const QString& cible) {
    refuserSiPris(cible);
    platform::TemporaryName temporaire(cible);
    if (!QFile::copy(source, temporaire.path())) {
        throw Error(errc::PathFileAccess, QStringLiteral("impossible de copier « %1 » dans « %2 »")
                                              .arg(nativePath(source), nativePath(QFileInfo(cible).absolutePath())));
    }
    QFile::setPermissions(temporaire.path(), QFile::permissions(temporaire.path()) | QFileDevice::WriteOwner);
    switch (temporaire.moveIntoPlace(platform::IfExists::Refuse).outcome) {
    case platform::Placement::Placed:
        return;
    case platform::Placement::Taken:
        refuserSiPris(cible);
        break;
    case platform::Placement::Failed:
        break;
    }
    throw Error(errc::PathFileAccess, QStringLiteral("impossible d'écrire « %1 »").arg(nativePath(cible)));
}

void renommerTest(const QString& source, const QString& cible) {
    refuserSiPris(cible);
    if (!QFile::rename(source, cible)) {
        refuserSiPris(cible);
        throw Error(errc::PathFileAccess, QStringLiteral("impossible de renommer « %1 » en « %2 »")
                                              .arg(nativePath(source), QFileInfo(cible).fileName()));
    }
}

void supprimerTest(const QString& chemin) {
    if (!data::estFichierTest(chemin)) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("« %1 » n'est pas un test : il n'est pas supprimé").arg(nativePath(chemin)));
    }
    if (!QFile::remove(chemin)) {
        throw Error(errc::PathFileAccess, QStringLiteral("impossible de supprimer « %1 »").arg(nativePath(chemin)));
    }
}

QStringList exporterTest(const QString& test, const QString& cible) {
    const source::TestExport export_ = source::exportTestFile(test, cible);
    if (!export_.writeFailure.isEmpty()) {
        throw Error(errc::PathFileAccess, QStringLiteral("impossible d'écrire « %1 » (%2)")
                                              .arg(nativePath(export_.failedFile), export_.writeFailure));
    }
    return export_.faults;
}

} // namespace kelvane::atelier
