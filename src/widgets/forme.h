#pragma once

#include <QDialog>

namespace kelvane::widgets {

// A form of the program: one instance for the whole run, shown modal over the menu. Showing it runs its load
// event; unloading it closes the window but keeps its members for the next showing.
class Forme : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Runs the load event, then waits until the form is unloaded.
    void Show1();
    // Closes the window; the members stay.
    void Unload();
    // The load event: puts the form in its opening state.
    virtual void Form_Load() {}
    // The window opens in the middle of the screen rather than where the system puts it.
    void setCentree(bool centree) { centree_ = centree; }

protected:
    // Escape does not close a form behind its handlers' back; the form's own buttons do.
    void reject() override;

private:
    bool centree_ = false;
};

// Moves a top-level window to the middle of the screen it stands on.
void centrer(QWidget* fenetre);

} // namespace kelvane::widgets
