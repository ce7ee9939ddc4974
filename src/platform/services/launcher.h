#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::services {

enum class LaunchResult { Started, Missing, Failed };

// Starts another program, which then lives on its own.
class LauncherService {
public:
    virtual ~LauncherService() = default;
    // Missing when no program file is at that path, Failed when the system would not start it.
    virtual LaunchResult startDetached(const QString& program, const QStringList& arguments,
                                       const QString& workingFolder) = 0;
};

class SystemLauncher final : public LauncherService {
public:
    LaunchResult startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) override;
};

} // namespace kelvane::services
