#include "platform/temporaryname.h"

#include "platform/error.h"

#include <QFile>
#include <QTemporaryFile>

namespace kelvane::platform {

TemporaryName::TemporaryName(const QString& pattern) {
    QTemporaryFile reserve(pattern);
    if (!reserve.open()) {
        throw Error(errc::PathFileAccess, reserve.errorString());
    }
    reserve.setAutoRemove(false);
    path_ = reserve.fileName();
    reserve.close();
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                     QFile::ReadGroup | QFile::ReadOther);
}

TemporaryName::~TemporaryName() {
    if (!path_.isEmpty()) {
        QFile::remove(path_);
    }
}

} // namespace kelvane::platform
