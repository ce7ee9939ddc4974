#pragma once

#include "data/etatsession.h"
#include "session/modetest.h"
#include "widgets/forme.h"

#include <QStringList>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kelvane::widgets {
class DirListBox;
}
namespace kelvane::widgets {
class DriveListBox;
}
namespace kelvane::services {
class Timer;
}

namespace kelvane::results {
class CadreResultats;
}

namespace kelvane::session {

// The test form, run as training (EssayerTest) or evaluation (Evaluation). Its frames follow one another:
// Frame2 chooses the test, Frame1 takes the candidate and the save folder, Frame3 asks the questions and Frame5
// shows the results. The handlers are spread over files by frame.
class FormeTest : public widgets::Forme {
    Q_OBJECT
public:
    explicit FormeTest(const ModeTest& mode, QWidget* parent = nullptr);
    ~FormeTest() override;

    const ModeTest& mode() const { return mode_; }

    void Form_Load() override;

    // --- Frame2: the choice of the test ---
    QGroupBox* Frame2;
    QLabel* Label4;
    QLineEdit* nombase;
    widgets::DriveListBox* Drive2;
    widgets::DirListBox* listerepertoire2;
    QLabel* Label29;
    QListWidget* listefichier;
    QLabel* Label30 = nullptr;    // training only
    QListWidget* List3 = nullptr; // training only
    QPushButton* OkTest;
    QPushButton* Annuler;

    // --- Frame1: the candidate and the save folder ---
    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label3;
    QLineEdit* Text3;
    widgets::DriveListBox* Drive1;
    QPushButton* newrepertoire;
    widgets::DirListBox* listerepertoire;
    QPushButton* OkNom;
    QPushButton* AnnulerNom;

    // --- Frame3: the questions ---
    QGroupBox* Frame3;
    QLabel* Label5;
    QLabel* Label7;
    QLabel* Label6;
    QLabel* Label31;
    QLabel* Label15;
    QLabel* Label8;
    QLabel* Label22;
    QLabel* Label21;
    std::array<QLabel*, 5> LabelsReponses{}; // Label20, Label19, Label18, Label17, Label16
    std::array<QCheckBox*, 5> Check{};       // Check1 .. Check5
    std::array<QComboBox*, 5> Combo{};       // Combo1 .. Combo5
    QLabel* Condo;
    QLabel* Terre;
    QLabel* ClasseII;
    QLabel* Label13;
    QLineEdit* Text4;
    QPushButton* Suivant;
    QPushButton* Precedent;
    QPushButton* AnnulerQuestion;

    // --- Frame5: the results ---
    results::CadreResultats* Frame5;

    services::Timer* Timer1;

    // --- members ---
    EtatSession etat;
    QString NomChoisi;
    QStringList ListeTests;
    int NbTests = 0;
    QStringList ListeCommences;
    int NbCommences = 0;
    bool NouveauTest = false;
    bool EstQcm = false;
    std::int16_t NbReponses = 0;

    // --- Frame2 ---
    void ChercherTests();
    void Drive2_Change();
    void listerepertoire2_Change();
    void listefichier_Click();
    void List3_Click();
    void OkTest_Click();
    void Annuler_Click();
    void Reprendre();

    // --- Frame1 ---
    void Text1_KeyDown();
    void Drive1_Change();
    void listerepertoire_Change();
    void newrepertoire_Click();
    void OkNom_Click();
    void AnnulerNom_Click();

    // --- Frame3 ---
    void MettreAJourBoutons();
    void AfficherQuestion();
    void PreparerReponses();
    void EnregistrerReponse();
    void Suivant_Click();
    void Precedent_Click();
    void AnnulerQuestion_Click();
    void Timer1_Timer();

    // --- Frame5 ---
    void AfficherResultats();
    void Fermer_Click();
    void List1_Click();
    void Retourner_Click();
    void ImprimerResultat_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void construireChoix();
    void construireCandidat();
    void construireQuestions();
    void construireResultats();
    void chargerImages();
    void changerDossier(const QString& dossier);
    void commencerQuestions();
    void terminer();
    // From the results back to the question at a place of the session (training).
    void revenirAuxQuestions(int place);
    // A failure while the questions run: the message, and the session stays where it was.
    bool enregistrerOuSignaler();

    const ModeTest& mode_;
    bool termine_ = false; // the session has reached its results; a late confirmation must not finish it again
};

// The two forms of the program.
FormeTest* creerEssayerTest(QWidget* parent = nullptr);
FormeTest* creerEvaluation(QWidget* parent = nullptr);

} // namespace kelvane::session
