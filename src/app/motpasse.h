#pragma once

#include "widgets/forme.h"

#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane::app {

// The change of the teacher code: the current code (or the master code) first, in Frame4, with the menu's check
// and its count of wrong codes; then the new code typed twice in Frame1, stored in capitals when both agree.
class MotPasse : public widgets::Forme {
    Q_OBJECT
public:
    explicit MotPasse(QWidget* parent = nullptr);

    void Form_Load() override;

    // --- Frame4: the current code ---
    QGroupBox* Frame4;
    QLineEdit* Text3;
    QPushButton* OkMotdePasse;
    QPushButton* AnnulerMotdePasse;

    // --- Frame1: the new code and its confirmation ---
    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QPushButton* Valider;
    QPushButton* Annuler;

    // Wrong codes given in this form since the program started; the form lives for the whole run and never
    // resets it, so the third-time message comes once per run at most.
    std::int16_t NbEchecs = 0;
    QString CodeSaisi;    // first step: the code box as last copied; second step: the new code
    QString CodeConfirme; // the confirmation as last copied

    // How the program ends after the third wrong code. The application sets it; tests replace it.
    std::function<void()> fermerLogiciel;

    void OkMotdePasse_Click();
    void AnnulerMotdePasse_Click();
    void Valider_Click();
    void Annuler_Click();
    void Text3_KeyUp(int keyCode);
    void Text1_KeyUp(int keyCode);
    void Text2_KeyUp(int keyCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The title bar's close button leaves the form as the cancel buttons do; after a third wrong code it is the
    // only way out.
    void closeEvent(QCloseEvent* event) override;

private:
    void verifierCode();
    void validerCode();
    // The new code cannot be longer than the settings field that keeps it.
    void limiterLongueur();
};

} // namespace kelvane::app
