#pragma once

#include <QWidget>
#include <memory>

class QListWidgetItem;
class QUndoStack;

namespace kelvane::services {
struct Services;
}

namespace kelvane::editeur {

// The editor of one test file: time allowed and pass mark, chapters, the questions' table (filtered by chapter and
// level), the question form, the live preview drawn by the candidate's own question frame, and the problems panel.
// Every change goes through its undo stack.
class EditeurTest : public QWidget {
    Q_OBJECT
public:
    EditeurTest(services::Services& services, QWidget* parent = nullptr);
    ~EditeurTest() override;

    // Opens a test file; false, after a message naming the file, when it cannot be read as a test.
    bool ouvrir(const QString& chemin);
    // A new, empty test (one chapter, no question) to be saved as chemin, which does not exist yet.
    void nouveau(const QString& chemin);

    QString chemin() const;
    bool estModifie() const;
    QUndoStack* pileAnnulation() const; // for the window's Undo and Redo actions

    // Saves under the test's name (temporary file renamed over it); asks before replacing a file that changed on
    // disk since it was opened. False when the test has problems (they are shown), the teacher declines, or the
    // writing fails (after a message).
    bool enregistrer();
    // With unsaved changes, asks whether to save them (Oui, Non, Annuler); true when the editor may be closed:
    // saved, or the changes given up.
    bool fermer();

signals:
    void modificationChangee(bool modifie);
    void enregistre(const QString& chemin);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The panels made in the order of the keyboard (returns the preview's frame), laid out in two columns; the
    // editor's own undo and redo; what the panels and the test tell each other.
    QWidget* creerPanneaux();
    void disposer(QWidget* cadreApercu);
    void creerAnnulations();
    void relier();
    void commencer();
    void actualiserProblemes();
    void allerAuProbleme(QListWidgetItem* item);

    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kelvane::editeur
