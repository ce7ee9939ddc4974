#include "platform/services/files.h"

#include "platform/error.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace kelvane::services {

namespace {

#ifndef Q_OS_WIN
// Kernel and runtime file systems: nothing a teacher would keep a quiz file on.
bool isPseudoFileSystem(const QByteArray& type) {
    static const QByteArrayList pseudo = {
        "proc",        "sysfs",      "cgroup",     "cgroup2", "devpts",    "devtmpfs",    "mqueue",         "debugfs",
        "tracefs",     "securityfs", "pstore",     "bpf",     "configfs",  "fusectl",     "hugetlbfs",      "autofs",
        "binfmt_misc", "efivarfs",   "rpc_pipefs", "nsfs",    "selinuxfs", "fuse.portal", "fuse.gvfsd-fuse"};
    return pseudo.contains(type);
}

bool isUnder(const QString& path, const QString& root) {
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

// The volumes worth offering in a drive list: real disks, keys and network shares, but not the system's own
// mounts (/proc, /sys, /dev, the runtime tmpfs in /run) nor the read-only images of packaged applications.
bool isUserVolume(const QStorageInfo& volume) {
    if (!volume.isValid() || !volume.isReady()) {
        return false;
    }
    const QString root = volume.rootPath();
    const QByteArray type = volume.fileSystemType();
    if (isPseudoFileSystem(type)) {
        return false;
    }
    for (const char* system : {"/proc", "/sys", "/dev"}) {
        if (isUnder(root, QLatin1String(system))) {
            return false;
        }
    }
    if ((type == "tmpfs" || type == "ramfs") && isUnder(root, QStringLiteral("/run"))) {
        return false;
    }
    if (type == "squashfs" && isUnder(root, QStringLiteral("/snap"))) {
        return false;
    }
    // Containers bind single files (/etc/hosts...) as mounts: only folders can be made current.
    return QFileInfo(root).isDir();
}
#endif

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
    QStringList result;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives()) {
        result.append(drive.path().left(2).toLower()); // "C:/" is shown "c:", a drive list's usual spelling
    }
#else
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isUserVolume(volume) && !result.contains(volume.rootPath())) {
            result.append(volume.rootPath());
        }
    }
    // "/" holds the system and the home folders: it comes first, as the system drive does.
    result.removeAll(QStringLiteral("/"));
    result.prepend(QStringLiteral("/"));
#endif
    return result;
}

QString SystemFiles::setCurrentDrive(const QString& drive) {
#ifdef Q_OS_WIN
    // The system itself remembers the current folder of each letter.
    setCurrentFolder(drive.left(1) + QLatin1Char(':'));
    return currentFolder();
#else
    if (driveOf(currentFolder()) == drive) {
        return currentFolder(); // already there: the current folder stays
    }
    QString folder = driveFolders_.value(drive, drive);
    if (!QFileInfo(folder).isDir()) {
        folder = drive; // the remembered folder was removed meanwhile
    }
    setCurrentFolder(folder);
    return currentFolder();
#endif
}

QString SystemFiles::driveOf(const QString& folder) const {
#ifdef Q_OS_WIN
    const QString absolute = cleanAbsolute(folder);
    if (absolute.size() >= 2 && absolute.at(1) == QLatin1Char(':')) {
        return absolute.left(2).toLower();
    }
    return QStorageInfo(absolute).rootPath(); // a network share
#else
    const QString absolute = cleanAbsolute(folder);
    QString best = QStringLiteral("/");
    for (const QString& root : drives()) {
        if (root.size() > best.size() && isUnder(absolute, root)) {
            best = root;
        }
    }
    return best;
#endif
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
