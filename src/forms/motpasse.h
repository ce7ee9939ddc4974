#pragma once

#include "widgets/forme.h"

class QGroupBox;
class QLineEdit;
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

// The change of the teacher code: the current code (or the master code) first, in the code frame, which counts
// the wrong codes of the whole run; then the new code typed twice in Frame1, stored in capitals when both agree.
class MotPasse : public widgets::Forme {
    Q_OBJECT
public:
    MotPasse(data::FichierParametres& parametres, services::MessageService& messages, QWidget* parent = nullptr);

    void Form_Load() override;

signals:
    // The third wrong code: the program ends.
    void fermerLogiciel();

protected:
    // The title bar's close button leaves the form as the cancel buttons do; after a third wrong code it is the
    // only way out.
    void closeEvent(QCloseEvent* event) override;

private:
    void validerCode();

    data::FichierParametres& parametres_;
    services::MessageService& messages_;
    frames::CadreCode* Frame4;
    QGroupBox* Frame1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* Valider;
    QPushButton* Annuler;
    QString codeSaisi_;    // the new code as last copied
    QString codeConfirme_; // the confirmation as last copied
};

} // namespace kelvane::forms
