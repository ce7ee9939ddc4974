#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kelvane::services {
class LauncherService;
}

namespace kelvane::atelier {

// The student program beside this one.
QString programmeEleve();

// A try of a test as a candidate: the student program started on a temporary folder that holds a copy of the
// test, the settings file and the pictures, so that the results of the try stay out of the class folder. The
// folder is kept until the next try or the end of the workbench.
class Essai {
public:
    // Makes the folder and starts `programme` there. The empty text on success, otherwise what went wrong, in
    // French, for the teacher.
    QString lancer(const QString& test, const QString& dossierAppli, services::LauncherService& lanceur,
                   const QString& programme = programmeEleve());

    // The folder of the last try, or the empty text.
    QString dossier() const;

private:
    std::unique_ptr<QTemporaryDir> dossier_;
};

} // namespace kelvane::atelier
