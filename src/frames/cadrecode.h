#pragma once

#include <QGroupBox>
#include <QRect>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace kelvane::data {
class FichierParametres;
}
namespace kelvane::services {
class MessageService;
}

namespace kelvane::frames {

// The teacher code frame (Frame4 "Mot de passe"): the code box, OK and cancel, and in the menu the way to change
// the code. Enter released in the box acts as OK. The typed code, in capitals, must be the stored code or the
// master code; the third wrong code closes the frame and announces the end of the program.
class CadreCode : public QGroupBox {
    Q_OBJECT
public:
    struct Disposition {
        QRect cadre; // twips, in the parent
        QRect ok;    // twips, in the frame
        QRect annuler;
        bool changer = false; // the menu's "Changer le mot de passe"
        QString nomBoite;     // the box's accessible name
    };
    static Disposition dispositionMenu();
    static Disposition dispositionMotPasse();

    CadreCode(QWidget* parent, const Disposition& disposition, data::FichierParametres& parametres,
              services::MessageService& messages);

    // Shows the frame with OK closed and the focus in the box; `recompter` starts the count of wrong codes again,
    // `vider` empties the box and the code copied from it (otherwise a code left by Annuler is still there).
    void ouvrir(bool recompter, bool vider);

signals:
    void accepte();
    void annule();
    void changer();
    // The third wrong code: the program ends, as the message said.
    void fermerLogiciel();

private:
    void verifier();
    void refuser();

    data::FichierParametres& parametres_;
    services::MessageService& messages_;
    QLineEdit* Text3;
    QPushButton* OkMotdePasse;
    QPushButton* AnnulerMotdePasse;
    QPushButton* ChangerMotPasse = nullptr;
    std::int16_t nbEchecs_ = 0; // wrong codes given; it stops at its largest value rather than wrapping round
    QString codeSaisi_;         // the box as last copied at a key release
};

} // namespace kelvane::frames
