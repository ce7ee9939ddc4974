#pragma once

#include <QString>

namespace kelvane::services {

// The system's boxes that choose a folder or a file. Each returns the full path chosen, or the empty text when the
// user cancels. `filters` reads as Qt's: "Sources (*.csv);;Tous les fichiers (*)".
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual QString chooseFolder(const QString& title, const QString& start) = 0;
    virtual QString chooseFileToOpen(const QString& title, const QString& start, const QString& filters) = 0;
    // `suggested` is a full path: the folder shown and the name proposed.
    virtual QString chooseFileToSave(const QString& title, const QString& suggested, const QString& filters) = 0;
};

} // namespace kelvane::services
