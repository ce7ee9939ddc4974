#pragma once

#include <QGroupBox>

class QSpinBox;

namespace kelvane::edition {
class TestEdite;
}

namespace kelvane::editeur {

// The test's settings: the time allowed in minutes and seconds (stored in seconds) and the pass mark.
class PanneauParametres : public QGroupBox {
    Q_OBJECT
public:
    PanneauParametres(edition::TestEdite& test, QWidget* parent = nullptr);

    // Shows the test's values.
    void actualiser();
    // Puts the focus on the time allowed.
    void prendreFocus();

private:
    void tempsSaisi();

    edition::TestEdite& test_;
    QSpinBox* minutes_;
    QSpinBox* secondes_;
    QSpinBox* tolerance_;
    bool actualisation_ = false;
};

} // namespace kelvane::editeur
