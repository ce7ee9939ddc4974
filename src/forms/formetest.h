#pragma once

#include "data/test.h"
#include "forms/lieux.h"
#include "platform/error.h"
#include "platform/services/services.h"
#include "session/dossiertravail.h"
#include "session/modetest.h"
#include "session/session.h"
#include "widgets/forme.h"

#include <optional>

namespace kelvane::services {
class Timer;
}

namespace kelvane::frames {
class CadreCandidat;
class CadreQuestion;
class CadreResultats;
class ChoixFichier;
} // namespace kelvane::frames

namespace kelvane::forms {

// The test form, run as training (EssayerTest) or evaluation (Evaluation): it coordinates its frames, one shown
// at a time (the choice of the test, the candidate, the questions, the results), with its session. The form lives
// for the whole run; its session, and what the session keeps between sessions, live with it.
class FormeTest : public widgets::Forme {
    Q_OBJECT
public:
    FormeTest(const session::ModeTest& mode, const services::Services& services, const Lieux& lieux,
              QWidget* parent = nullptr);
    ~FormeTest() override;

    void Form_Load() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OkTest_Click();
    // The file the name box names in the working folder, or the empty text after telling the candidate.
    QString fichierChoisi();
    void Reprendre(const QString& fichier);
    void OkNom_Click();
    void commencerQuestions();
    void AfficherQuestion();
    bool EnregistrerReponse();
    void Suivant_Click();
    void Precedent_Click();
    void AnnulerQuestion_Click();
    void Timer1_Timer();
    void terminer();
    void AfficherResultats();
    void revenirAuxQuestions(int place);
    void ImprimerResultat_Click();
    void erreur(const kelvane::Error& e, const QString& fichier);

    const session::ModeTest& mode_;
    services::Services services_;
    Lieux lieux_;
    session::DossierTravail dossier_;
    session::Session session_;
    std::optional<data::Test> test_; // the chosen test, from its OK until the session starts from it

    frames::ChoixFichier* Frame2;
    frames::CadreCandidat* Frame1;
    frames::CadreQuestion* Frame3;
    frames::CadreResultats* Frame5;
    services::Timer* Timer1;
};

} // namespace kelvane::forms
