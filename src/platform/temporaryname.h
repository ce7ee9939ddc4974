#pragma once

#include <QString>

namespace kelvane::platform {

// A free name beside a file about to be written by a library that writes by name (libxlsxwriter, the PDF printer),
// to be renamed over it at the end. The name is reserved by an empty file let go at once, since Windows renames no
// file that a handle still holds; the file is readable by the others, as any file a teacher saves. It is removed
// with this object unless kept.
class TemporaryName {
public:
    // `pattern`: a path whose name holds XXXXXX. Throws Error(PathFileAccess) with the reason when no file can be made.
    explicit TemporaryName(const QString& pattern);
    ~TemporaryName();
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    const QString& path() const { return path_; }
    // The file now has its own name: nothing is removed.
    void keep() { path_.clear(); }

private:
    QString path_;
};

} // namespace kelvane::platform
