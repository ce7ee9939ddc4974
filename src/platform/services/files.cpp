#include "platform/services/files.h"

#include "platform/error.h"
#include "platform/system.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane::services {

namespace {

QString cleanAbsolute(const QString& folder) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
}

} // namespace

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) {
        return name; // no folder: the name stays relative to the current one
    }
    const QChar separator = QDir::separator();
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(separator)) {
        return folder + name;
    }
    return folder + separator + name;
}

QString SystemFiles::currentFolder() const {
    return QDir::toNativeSeparators(QDir::currentPath());
}

void SystemFiles::setCurrentFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir::setCurrent(folder)) {
        throw Error(errc::PathNotFound, QStringLiteral("Chemin d'accès introuvable: %1").arg(folder));
    }
    const QString current = currentFolder();
    driveFolders_.insert(driveOf(current), current);
}

QStringList SystemFiles::drives() const {
    return platform::userVolumes();
}

QString SystemFiles::setCurrentDrive(const QString& drive) {
    if (driveOf(currentFolder()) == drive) {
        return currentFolder(); // already there: the current folder stays
    }
    QString folder = driveFolders_.value(drive, drive);
    if (!QFileInfo(folder).isDir()) {
        folder = drive; // the remembered folder was removed meanwhile
    }
    setCurrentFolder(folder);
    return currentFolder();
}

QString SystemFiles::driveOf(const QString& folder) const {
    return platform::volumeOf(cleanAbsolute(folder), drives());
}

void SystemFiles::makeFolder(const QString& name) {
    const bool refusedName = name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
                             name.contains(QLatin1Char('/')) || name.contains(QDir::separator()) ||
                             name.contains(QChar(0));
    const QFileInfo target(QDir::current(), name);
    if (!refusedName && target.isDir()) {
        throw Error(errc::PathFileAccess, QStringLiteral("Le répertoire %1 existe déjà").arg(name));
    }
    if (!refusedName && target.exists()) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("Impossible de créer le répertoire %1: un fichier porte déjà ce nom").arg(name));
    }
    if (refusedName || !QDir::current().mkdir(name)) {
        throw Error(errc::PathFileAccess, QStringLiteral("Impossible de créer le répertoire %1").arg(name));
    }
}

QStringList SystemFiles::listDatabases() const {
    QDir folder = QDir::current();
    // Without QDir::CaseSensitive the pattern ignores case: files copied from Windows machines often end in
    // ".MDB". Folders (symbolic links to folders included) are left out. Hidden files are listed: a pupil whose
    // name begins with a dot gets a results file whose name does too, and it must not vanish from the lists.
    folder.setNameFilters({QStringLiteral("*.mdb")});
    folder.setFilter(QDir::Files | QDir::Hidden);
    folder.setSorting(QDir::Unsorted);
    return folder.entryList();
}

bool SystemFiles::fileExists(const QString& name) const {
    return !name.isEmpty() && QFileInfo(QDir::current(), name).isFile();
}

} // namespace kelvane::services
