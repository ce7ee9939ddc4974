#pragma once

#include <QScrollArea>

class QStackedWidget;
class QUndoGroup;

namespace kelvane::services {
struct Services;
}
namespace kelvane::editeur {
class EditeurTest;
}

namespace kelvane::atelier {

// The window's right side: a welcome text, or the editor of one test. It makes the editor, joins its undo stack
// to the window's undo group, and closes it, asking first about unsaved changes. On a small screen the editor
// scrolls rather than pushing the window past the screen's edges.
class PlaceEditeur : public QScrollArea {
    Q_OBJECT
public:
    PlaceEditeur(services::Services& services, QUndoGroup& annulations, QWidget* parent = nullptr);

    editeur::EditeurTest* editeur() const { return editeur_; }
    // The editor is open on that file; with unsaved changes for estModifieSur.
    bool montre(const QString& chemin) const;
    bool estModifieSur(const QString& chemin) const;

    // The test of that file in a new editor, replacing none (close the current one first); false after its message
    // when the file cannot be read as a test.
    bool ouvrir(const QString& chemin);
    // A new, empty test to be saved as chemin.
    void nouveau(const QString& chemin);
    // Closes the editor, asking for unsaved changes first; false when the teacher keeps it.
    bool fermer();
    // Closes the editor without asking: its changes are lost.
    void oublier();

signals:
    void modificationChangee(bool modifie);
    void enregistre(const QString& chemin);
    // An editor came or went.
    void editeurChange();
    // The editor of a new test never saved went: its line in the list goes with it.
    void nouveauOublie();

private:
    void installer(editeur::EditeurTest* editeur);

    services::Services& services_;
    QUndoGroup& annulations_;
    QStackedWidget* pile_ = nullptr;
    QWidget* accueil_ = nullptr;
    editeur::EditeurTest* editeur_ = nullptr;
};

} // namespace kelvane::atelier
