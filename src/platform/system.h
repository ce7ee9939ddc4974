#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>

class QProcess;

// What differs between the systems Kelvane runs on, Linux and Windows: each answer lives in system_posix.cpp or
// system_windows.cpp, and nowhere else.
namespace kelvane::platform {

// A program's file name on this system: "kelvane", or "kelvane.exe" on Windows.
QString executableName(const QString& base);

// The name SQLite opens `path` by: UTF-8 on Windows, where SQLite turns it into the system's wide name; the file
// system's own bytes on Linux.
QByteArray sqliteFileName(const QString& path);

// The name the C library's fopen() opens an existing file by (libmdb, libxlsxwriter): the file system's own bytes
// on Linux; on Windows the ANSI code page's, or the file's short name when that code page cannot spell its name.
QByteArray cLibraryFileName(const QString& path);

// Moves the file `from` over `to`, which it replaces at once when it exists, so that `to` is always either the old
// file or the new one: rename(2) on Linux, MoveFileEx with REPLACE_EXISTING and WRITE_THROUGH on Windows. The
// system's reason when it cannot, empty on success.
QString replaceFile(const QString& from, const QString& to);

// Prepares the console of a command-line program for its French texts, written in UTF-8: on Windows the console's
// output code page becomes UTF-8; Linux terminals already are.
void prepareConsole();

// How this system compares file names: exactly on Linux, without regard to case on Windows.
Qt::CaseSensitivity fileNameCase();

// The volumes a drive list offers, in the order shown. Linux: the mount points of real disks, keys and network
// shares, "/" first, without the system's own mounts. Windows: the drive letters as "c:", "d:"... (local, removable
// and mapped network drives), a drive without a disk included: it is only refused when chosen.
QStringList userVolumes();

// The volume of `absolutePath` (clean, absolute) as userVolumes() names it: on Windows its letter, or the root of
// its network share; on Linux the deepest mount point of `volumes` holding it.
QString volumeOf(const QString& absolutePath, const QStringList& volumes);

// The file in which the school names the class folder: /etc/kelvane/dossier, or %ProgramData%\Kelvane\dossier.
QString schoolSettingFile();

// The folder in which the user's own Kelvane folder is made: the home folder on Linux, Documents on Windows.
QString userFolderParent();

// Where the demo folder may lie for a program in `programFolder`, in the order searched: the installed layouts,
// then the build tree.
QStringList demoFolderCandidates(const QString& programFolder);

// Whether the system error number of a failed write means there was no room left (a full disk, a quota, a size
// limit).
bool isOutOfSpace(int systemError);

// Whether ChildLimits caps a child's memory in this build: not under AddressSanitizer, whose shadow memory an
// address-space limit leaves no room for.
bool childMemoryLimited();

// Keeps a child process within bounds. Linux: its own process group, no core file, its address space limited.
// Windows: a Job Object that caps its memory and ends it, and whatever it started, when this object goes, even when
// this program is killed. Made before QProcess::start, told `started()` once it has started.
class ChildLimits {
public:
    ChildLimits(QProcess& process, qint64 memoryBytes);
    ~ChildLimits();
    ChildLimits(const ChildLimits&) = delete;
    ChildLimits& operator=(const ChildLimits&) = delete;

    // Once the child runs: on Windows it is started suspended, put in its job here, then let go.
    void started();
    // Ends the child and whatever it started, and waits a few seconds for it.
    void kill();

private:
    struct Impl;
    QProcess& process_;
    std::unique_ptr<Impl> impl_;
};

} // namespace kelvane::platform
