#pragma once

#include "platform/services/dialogs.h"
#include "platform/services/launcher.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

namespace kelvane::doubles {

// Folder and file choosers for tests: each box is recorded and answered with the next queued path; a box that
// nobody expected fails the running test and is cancelled.
class ScriptedDialogs final : public services::FileDialogService {
public:
    enum class Kind { Folder, Open, Save };
    struct Shown {
        Kind kind = Kind::Folder;
        QString title;
        QString start; // the start folder, or the path proposed for saving
        QString filters;
    };

    // The next box is expected to be of that kind, and is answered with that path (empty: cancelled).
    void expect(Kind kind, const QString& answer);

    QString chooseFolder(const QString& title, const QString& start) override;
    QString chooseFileToOpen(const QString& title, const QString& start, const QString& filters) override;
    QString chooseFileToSave(const QString& title, const QString& suggested, const QString& filters) override;

    const QList<Shown>& shown() const { return shown_; }
    bool allAnswered() const { return queue_.empty(); }

private:
    QString answer(Shown shown);

    std::deque<std::pair<Kind, QString>> queue_;
    QList<Shown> shown_;
};

// Records the programs started instead of starting them. `during` runs at the start, while what the program
// would find is in place.
class ScriptedLauncher final : public services::LauncherService {
public:
    struct Launch {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };

    services::LaunchResult startDetached(const QString& program, const QStringList& arguments,
                                         const QString& workingFolder) override;

    services::LaunchResult result = services::LaunchResult::Started;
    std::function<void(const Launch&)> during;
    QList<Launch> launches;
};

} // namespace kelvane::doubles
