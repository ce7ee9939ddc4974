#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kelvane::platform {

namespace {

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

} // namespace

QString executableName(const QString& base) {
    return base;
}

QByteArray sqliteFileName(const QString& path) {
    return QFile::encodeName(path);
}

QByteArray cLibraryFileName(const QString& path) {
    return QFile::encodeName(path);
}

QString replaceFile(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) {
        return {};
    }
    return QString::fromLocal8Bit(std::strerror(errno));
}

void prepareConsole() {}

Qt::CaseSensitivity fileNameCase() {
    return Qt::CaseSensitive;
}

QStringList userVolumes() {
    QStringList result;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isUserVolume(volume) && !result.contains(volume.rootPath())) {
            result.append(volume.rootPath());
        }
    }
    // "/" holds the system and the home folders: it comes first, as the system drive does.
    result.removeAll(QStringLiteral("/"));
    result.prepend(QStringLiteral("/"));
    return result;
}

QString volumeOf(const QString& absolutePath, const QStringList& volumes) {
    QString best = QStringLiteral("/");
    for (const QString& root : volumes) {
        if (root.size() > best.size() && isUnder(absolutePath, root)) {
            best = root;
        }
    }
    return best;
}

QString schoolSettingFile() {
    return QStringLiteral("/etc/kelvane/dossier");
}

QString userFolderParent() {
    return QDir::homePath();
}

QStringList demoFolderCandidates(const QString& programFolder) {
    // Installed under a prefix (PREFIX/lib/kelvane/kelvane or PREFIX/bin/kelvane finds PREFIX/share/kelvane/demo),
    // then the build tree (build/src/kelvane finds build/demo).
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("../../share/kelvane/demo"))),
            QDir::cleanPath(program.filePath(QStringLiteral("../share/kelvane/demo"))),
            QDir::cleanPath(program.filePath(QStringLiteral("../demo")))};
}

bool isOutOfSpace(int systemError) {
    return systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
}

bool childMemoryLimited() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

struct ChildLimits::Impl {};

ChildLimits::ChildLimits(QProcess& process, qint64 memoryBytes) : process_(process) {
    const bool limitMemory = childMemoryLimited() && memoryBytes > 0;
    process.setChildProcessModifier([memoryBytes, limitMemory] {
        // Between fork and exec: system calls only.
        ::setpgid(0, 0);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (limitMemory) {
            const auto limit = static_cast<rlim_t>(memoryBytes);
            const rlimit memory{limit, limit};
            ::setrlimit(RLIMIT_AS, &memory);
        }
    });
}

ChildLimits::~ChildLimits() = default;

void ChildLimits::started() {}

void ChildLimits::kill() {
    // The child runs in its own process group: whatever it started goes with it.
    if (process_.processId() > 0) {
        ::kill(-static_cast<pid_t>(process_.processId()), SIGKILL);
    }
    process_.kill();
    process_.waitForFinished(5000);
}

} // namespace kelvane::platform
