#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane::app {

// The first and last window: opens the settings database at start, warns when no teacher code is set, and opens
// the other forms. Its code frame guards the results viewer.
class Menu : public QWidget {
    Q_OBJECT
public:
    explicit Menu(QWidget* parent = nullptr);

    // The load event. Returns false when the settings database cannot be used; the error has been shown and the
    // program must end.
    bool Form_Load();

    QLabel* Label1;
    QPushButton* Quitter;
    QPushButton* Entrainement;
    QPushButton* Interro;
    QPushButton* Resultats; // objectName "Résultats"
    QGroupBox* Frame4;
    QPushButton* AnnulerMotdePasse;
    QPushButton* OkMotdePasse;
    QLineEdit* Text3;
    QPushButton* ChangerMotPasse;

    std::int16_t NbEchecs = 0; // wrong codes since the frame was last opened
    QString CodeSaisi;         // the code box as last copied at a key release

    // How the other forms are shown (modal; the call returns when the form is closed), and how the program ends
    // after the third wrong code. The application sets them; tests replace them.
    std::function<void()> afficherEssayerTest;
    std::function<void()> afficherEvaluation;
    std::function<void()> afficherVisualisation;
    std::function<void()> afficherMotPasse;
    std::function<void()> fermerLogiciel;

    void Quitter_Click();
    void Entrainement_Click();
    void Interro_Click();
    void Resultats_Click();
    void OkMotdePasse_Click();
    void AnnulerMotdePasse_Click();
    void ChangerMotPasse_Click();
    void Text3_KeyUp(int keyCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void verifierCode();
};

} // namespace kelvane::app
