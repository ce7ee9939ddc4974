#pragma once

#include <QGroupBox>

class QTableWidget;
class QTableWidgetItem;
class QPushButton;

namespace kelvane::services {
class MessageService;
}
namespace kelvane::edition {
class TestEdite;
}

namespace kelvane::editeur {

// The test's chapters, number and name, edited in place; a chapter still used by a question is not removed, and
// the message says why.
class PanneauChapitres : public QGroupBox {
    Q_OBJECT
public:
    PanneauChapitres(edition::TestEdite& test, services::MessageService& messages, QWidget* parent = nullptr);

    void actualiser();
    void prendreFocus();

private:
    void cellule(QTableWidgetItem* item);
    void ajouter();
    void retirer();

    edition::TestEdite& test_;
    services::MessageService& messages_;
    QTableWidget* table_;
    QPushButton* ajouter_;
    QPushButton* retirer_;
    bool actualisation_ = false;
};

} // namespace kelvane::editeur
