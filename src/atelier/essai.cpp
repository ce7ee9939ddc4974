#include "atelier/essai.h"

#include "data/classeii.h"
#include "data/format.h"
#include "data/parametres.h"
#include "platform/error.h"
#include "platform/nativepath.h"
#include "platform/services/launcher.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvane::atelier {

using platform::nativePath;

namespace {

// Copies a file, refusing to go on when it cannot.
void copier(const QString& source, const QString& cible) {
    if (!QFile::copy(source, cible)) {
        throw Error(errc::PathFileAccess, QStringLiteral("impossible de copier « %1 » dans « %2 »")
                                              .arg(nativePath(source), nativePath(QFileInfo(cible).absolutePath())));
    }
    // A copy of a read-only file is read-only too: the student program writes into nothing of it, but the
    // temporary folder must be removable at the end.
    QFile::setPermissions(cible, QFile::permissions(cible) | QFileDevice::WriteOwner);
}

} // namespace

QString programmeEleve() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(platform::executableName(QStringLiteral("kelvane")));
}

QString Essai::lancer(const QString& test, const QString& dossierAppli, services::LauncherService& lanceur,
                      const QString& programme) {
    dossier_.reset();
    auto dossier = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("kelvane-essai-XXXXXX")));
    if (!dossier->isValid()) {
        return QStringLiteral("Le dossier temporaire de l'essai n'a pas pu être créé (%1).")
            .arg(dossier->errorString());
    }
    const QDir cible(dossier->path());
    try {
        copier(test, cible.filePath(QFileInfo(test).fileName()));
        const QString reglages = QDir(dossierAppli).filePath(data::kFichierParametres);
        if (QFileInfo::exists(reglages)) {
            copier(reglages, cible.filePath(data::kFichierParametres));
        } else {
            data::ecrireParametres(cible.filePath(data::kFichierParametres), QString());
        }
        cible.mkdir(data::dossierImages());
        for (const QString& image : data::imagesClasseII()) {
            const QString nom = data::dossierImages() + QLatin1Char('/') + image;
            const QString source = QDir(dossierAppli).filePath(nom);
            if (QFileInfo::exists(source)) {
                copier(source, cible.filePath(nom));
            }
        }
    } catch (const Error& e) {
        return QStringLiteral("L'essai n'a pas pu être préparé : %1.").arg(e.text());
    }

    switch (lanceur.startDetached(programme, {}, dossier->path())) {
    case services::LaunchResult::Started:
        dossier_ = std::move(dossier);
        return {};
    case services::LaunchResult::Missing:
        return QStringLiteral("Le programme des élèves est introuvable : « %1 ». Il doit être installé à côté de "
                              "l'atelier.")
            .arg(nativePath(programme));
    case services::LaunchResult::Failed:
        break;
    }
    return QStringLiteral("Le programme des élèves « %1 » n'a pas pu être lancé.").arg(nativePath(programme));
}

QString Essai::dossier() const {
    return dossier_ ? dossier_->path() : QString();
}

} // namespace kelvane::atelier
