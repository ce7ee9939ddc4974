#pragma once

#include <QByteArray>
#include <QString>

namespace kelvane::platform {

// Writes `bytes` at `path` whole or not at all: QSaveFile's own temporary file beside it, flushed to the disk, then
// renamed over it. The system's reason when it cannot, empty once written.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// What becomes of a file already at the target's name when the new one is moved there.
enum class IfExists { Replace, Refuse };

// How a move into place ended: done, refused because the target is taken (IfExists::Refuse), or failed for the
// system's reason.
struct Placement {
    enum Outcome { Placed, Taken, Failed };
    Outcome outcome = Placed;
    QString reason; // Failed: the system's words, when it gives some
};

// A file or folder written under a free hidden name beside its target, ".NAME.XXXXXXXX.tmp", then moved into place
// in one rename: the target is never seen half written, a failure at any step leaves it as it was, and a reader of
// the old file keeps its own copy. Whatever stands at the temporary name is removed with this object unless it was
// moved into place: a file with the journal SQLite may have left beside it, a folder with its content.
class TemporaryName {
public:
    // What the name holds at first, after what its writer expects: nothing (a writer that makes the file itself and
    // refuses an existing one: the engine, QFile::copy), an empty file readable by all (a library that writes by
    // name; the file is closed at once, since Windows renames no file that a handle still holds), or an empty folder
    // of the owner's.
    enum class Reserve { Nothing, File, Folder };

    // Throws Error(PathFileAccess) with the reason when nothing can be reserved in the target's folder.
    explicit TemporaryName(const QString& target, Reserve reserve = Reserve::Nothing);
    ~TemporaryName();
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    const QString& path() const { return path_; }
    const QString& target() const { return target_; }

    // Moves what was written at path() to the target. IfExists::Replace replaces a file there at once
    // (platform::replaceFile); IfExists::Refuse never replaces anything, even a file that appeared since it was
    // last looked for. Once Placed, nothing is removed any more.
    Placement moveIntoPlace(IfExists ifExists);

private:
    QString target_;
    QString path_; // empty once moved into place
};

} // namespace kelvane::platform
