#include "platform/temporaryname.h"

#include "platform/error.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>

namespace kelvane::platform {

namespace {

constexpr int kAttempts = 16;

bool taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// With the files SQLite may leave beside a database that was being written.
void removeWithCompanions(const QString& path) {
    QFile::remove(path);
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        QFile::remove(path + QLatin1StringView(suffix));
    }
}

} // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return file.errorString();
    }
    return {};
}

TemporaryName::TemporaryName(const QString& target, Reserve reserve) : target_(QFileInfo(target).absoluteFilePath()) {
    const QFileInfo info(target_);
    const QDir folder = info.absoluteDir();
    QString reason;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QString name = folder.filePath(QStringLiteral(".%1.%2.tmp")
                                                 .arg(info.fileName())
                                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (taken(name)) {
            continue;
        }
        bool made = true;
        if (reserve == Reserve::File) {
            QFile file(name);
            made = file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner |
                                                                            QFile::ReadUser | QFile::WriteUser |
                                                                            QFile::ReadGroup | QFile::ReadOther);
            reason = file.errorString();
        } else if (reserve == Reserve::Folder) {
            made = folder.mkdir(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            reason = made ? QString() : qt_error_string(errno);
        }
        if (made) {
            path_ = name;
            return;
        }
        if (!taken(name)) {
            break; // not a name taken meanwhile: the folder itself refuses
        }
    }
    throw Error(errc::PathFileAccess, !reason.isEmpty() ? reason
                                                        : QStringLiteral("aucun nom temporaire possible dans « %1 »")
                                                              .arg(QDir::toNativeSeparators(folder.absolutePath())));
}

TemporaryName::~TemporaryName() {
    if (path_.isEmpty()) {
        return;
    }
    const QFileInfo info(path_);
    if (info.isDir() && !info.isSymLink()) {
        QDir(path_).removeRecursively();
    } else {
        removeWithCompanions(path_);
    }
}

Placement TemporaryName::moveIntoPlace(IfExists ifExists) {
    Placement placement;
    if (ifExists == IfExists::Replace) {
        placement.reason = replaceFile(path_, target_);
        if (!placement.reason.isEmpty()) {
            placement.outcome = Placement::Failed;
            return placement;
        }
    } else if (QFileInfo(path_).isDir()) {
        // A folder of that name, even an empty one, is never replaced.
        if (!QDir().rename(path_, target_)) {
            placement.outcome = taken(target_) ? Placement::Taken : Placement::Failed;
            return placement;
        }
    } else {
        // QFile::rename never replaces an existing file, even one made since the last look.
        QFile file(path_);
        if (!file.rename(target_)) {
            placement.outcome = taken(target_) ? Placement::Taken : Placement::Failed;
            placement.reason = file.errorString();
            return placement;
        }
    }
    path_.clear();
    return placement;
}

} // namespace kelvane::platform
