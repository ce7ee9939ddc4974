#pragma once

#include <QDir>
#include <QString>

namespace kelvane::platform {

// A path as the user of this system reads it in a message: with backslashes on Windows, unchanged on Linux.
inline QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace kelvane::platform
