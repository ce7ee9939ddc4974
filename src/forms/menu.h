#pragma once

#include <QWidget>

class QPushButton;

namespace kelvane::data {
class FichierParametres;
}
namespace kelvane::services {
class MessageService;
}
namespace kelvane::frames {
class CadreCode;
}

namespace kelvane::forms {

// The first and last window: training, evaluation, the teacher's results behind the code frame, and the end.
class Menu : public QWidget {
    Q_OBJECT
public:
    Menu(data::FichierParametres& parametres, services::MessageService& messages, QWidget* parent = nullptr);

signals:
    // Each asks for a form; the form is shown modal and the call returns when it is closed.
    void entrainement();
    void evaluation();
    void visualisation();
    void changerCode();
    // The third wrong code: the program ends.
    void fermerLogiciel();

private:
    QPushButton* Quitter;
    QPushButton* Entrainement;
    QPushButton* Interro;
    QPushButton* Resultats; // objectName "Résultats"
    frames::CadreCode* Frame4;
};

} // namespace kelvane::forms
