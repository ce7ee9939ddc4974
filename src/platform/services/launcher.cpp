#include "platform/services/launcher.h"

#include <QFileInfo>
#include <QProcess>

namespace kelvane::services {

LaunchResult SystemLauncher::startDetached(const QString& program, const QStringList& arguments,
                                           const QString& workingFolder) {
    if (!QFileInfo(program).isFile()) {
        return LaunchResult::Missing;
    }
    return QProcess::startDetached(program, arguments, workingFolder) ? LaunchResult::Started : LaunchResult::Failed;
}

} // namespace kelvane::services
