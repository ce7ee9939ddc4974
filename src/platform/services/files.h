#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace kelvane::services {

// Files and folders of the machine. Failures raise kelvane::Error with a French text naming the folder.
class FileService {
public:
    virtual ~FileService() = default;

    virtual QString currentFolder() const = 0;
    virtual void setCurrentFolder(const QString& folder) = 0;
    // The drives: on Windows the drive letters ("C:"), on Linux the mounted volumes with "/" first.
    virtual QStringList drives() const = 0;
    // Makes the drive named by the text current and returns its current folder.
    virtual QString setCurrentDrive(const QString& drive) = 0;
    // The drive that holds a folder, as drives() names it.
    virtual QString driveOf(const QString& folder) const = 0;
    virtual void makeFolder(const QString& name) = 0; // relative to the current folder
    // The plain files of the current folder (hidden ones too) whose names match "*.mdb", in the order the system
    // gives them.
    virtual QStringList listDatabases() const = 0;
    virtual bool fileExists(const QString& name) const = 0; // a name in the current folder, or a full path
};

// folder + separator + name, with no second separator when the folder already ends with one (a drive's root).
QString joinPath(const QString& folder, const QString& name);

class SystemFiles final : public FileService {
public:
    QString currentFolder() const override;
    void setCurrentFolder(const QString& folder) override;
    QStringList drives() const override;
    QString setCurrentDrive(const QString& drive) override;
    QString driveOf(const QString& folder) const override;
    void makeFolder(const QString& name) override;
    QStringList listDatabases() const override;
    bool fileExists(const QString& name) const override;

private:
    // The last folder made current inside each drive, so that coming back to a drive finds its folder again.
    QHash<QString, QString> driveFolders_;
};

} // namespace kelvane::services
