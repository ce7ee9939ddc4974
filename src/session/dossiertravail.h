#pragma once

#include <QString>

namespace kelvane::services {
class FileService;
}

namespace kelvane::session {

// The working folder of a form: the folder of its file list, then the save folder. The process's current folder
// is kept equal to it, since names are looked for and results files made there.
class DossierTravail {
public:
    explicit DossierTravail(services::FileService& fichiers) : fichiers_(fichiers) {}

    const QString& chemin() const { return chemin_; }
    // Makes the folder current, then remembers it; on failure (a folder that vanished) the error is thrown and
    // nothing changes.
    void changer(const QString& dossier);
    services::FileService& fichiers() const { return fichiers_; }

private:
    services::FileService& fichiers_;
    QString chemin_;
};

} // namespace kelvane::session
