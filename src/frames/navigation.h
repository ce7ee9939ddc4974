#pragma once

#include <QString>

namespace kelvane::services {
class MessageService;
}
namespace kelvane::session {
class DossierTravail;
}
namespace kelvane::widgets {
class DirListBox;
class DriveListBox;
} // namespace kelvane::widgets

namespace kelvane::frames {

// A frame's drive and folder lists, and the working folder they move. Both frames that browse folders (the file
// choice and the candidate's save folder) go through it.
class Navigation {
public:
    Navigation(widgets::DriveListBox* lecteur, widgets::DirListBox* dossiers, session::DossierTravail& dossier,
               services::MessageService& messages)
        : lecteur_(lecteur), dossiers_(dossiers), dossier_(dossier), messages_(messages) {}

    // The drive list changed: its drive becomes current, the folder list moves to that drive's current folder
    // (without raising its own change), and the working folder follows. Returns false, after telling the user,
    // when the drive cannot be used; the working folder then stays as it was.
    bool suivreLecteur();
    // The folder list changed: its folder becomes the working folder. Returns false, after telling the user,
    // when the folder cannot be entered.
    bool suivreDossier();
    // Puts both lists on a folder without raising their changes; the working folder follows when `suivre`.
    void placer(const QString& dossier, bool suivre);

private:
    widgets::DriveListBox* lecteur_;
    widgets::DirListBox* dossiers_;
    session::DossierTravail& dossier_;
    services::MessageService& messages_;
};

} // namespace kelvane::frames
