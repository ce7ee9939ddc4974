#pragma once

#include <QString>

namespace kelvane::widgets {
class DirListBox;
}
namespace kelvane::widgets {
class DriveListBox;
}

namespace kelvane::setup {

// The drive list changed: its drive becomes the current drive, the folder list moves to that drive's current folder
// (without raising its own change: the caller goes on from here), and the working folder follows. Returns false,
// after telling the user, when the drive cannot be used; the working folder then stays as it was.
bool suivreLecteur(widgets::DriveListBox* lecteur, widgets::DirListBox* dossiers, QString& repertoire);

// The folder list changed: its folder becomes the working folder and the process's current folder. Returns false,
// after telling the user, when the folder cannot be entered.
bool suivreDossier(const widgets::DirListBox* dossiers, QString& repertoire);

} // namespace kelvane::setup
