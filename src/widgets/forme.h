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

protected:
    // Escape does not close a form behind its handlers' back; the form's own buttons do.
    void reject() override;
};

} // namespace kelvane::widgets
