#pragma once

#include <QComboBox>

namespace kelvane::services {
class FileService;
}

namespace kelvane::widgets {

// A drive list: the drives of the file service, the current one selected at creation.
// Change() is raised on every change of the selected drive, whether the user picked it or the code set it
// with setDrive(); forms then move their folder list to the new drive.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(services::FileService& files, QWidget* parent = nullptr);

    QString drive() const; // the selected drive, as FileService::drives() names it; empty when none
    // Selects a drive by its name, or the drive holding a folder when given one. A drive that is not
    // available raises kelvane::Error 68, "Périphérique non disponible".
    void setDrive(const QString& drive);
    // Reads the drives again (a key plugged in meanwhile), keeping the selection when the drive is still there.
    void refresh();

signals:
    void Change();

private:
    services::FileService& files_;
    int indexOfDrive(const QString& drive) const;
};

} // namespace kelvane::widgets
