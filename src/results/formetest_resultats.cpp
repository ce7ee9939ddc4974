// The results of a session (Frame5) and the ways back to the questions in training.
#include "app/commun.h"
#include "app/erreurs.h"
#include "platform/services/services.h"
#include "platform/services/timer.h"
#include "results/cadreresultats.h"
#include "results/impression.h"
#include "results/resultats.h"
#include "session/formetest.h"

#include <QGroupBox>
#include <QListWidget>

namespace kelvane::session {

using namespace kelvane::services;

void FormeTest::AfficherResultats() {
    try {
        tamponnerDate(Commun::RsEleves, services::installed().clock->today());
    } catch (const kelvane::Error& e) {
        // The date could not be written: the results are shown all the same, from what the file holds.
        app::afficherErreur(e, Commun::FichierEleve);
    }
    try {
        const TextesResultats textes =
            calculerResultats(Commun::RsEleves, Commun::RsQuestion, Commun::RsChapitreEleve, etat, VerdictsSession);
        etat.NbBonnes = textes.nbBonnes;
        Frame5->afficher(textes);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
    }
}

void FormeTest::Fermer_Click() {
    Unload();
}

void FormeTest::List1_Click() {
    if (!mode_.retourQuestions) {
        return;
    }
    const int k = Frame5->List1->currentRow();
    if (k >= 0 && k < etat.NbQuestions) {
        revenirAuxQuestions(k);
    }
}

void FormeTest::Retourner_Click() {
    // Back to the first question of the session, so that the question shown and its place agree.
    revenirAuxQuestions(0);
}

void FormeTest::revenirAuxQuestions(int place) {
    try {
        Commun::RsQuestion.setAbsolutePosition(etat.Ordre.at(static_cast<std::size_t>(place)));
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
        return;
    }
    etat.IndiceQuestion = place;
    Frame5->hide();
    Frame3->show();
    termine_ = false;
    // The countdown goes on from where it stopped, when time is left.
    if (etat.TempsRestant > 0) {
        Timer1->setEnabled(true);
    }
    MettreAJourBoutons();
    AfficherQuestion();
}

void FormeTest::ImprimerResultat_Click() {
    results::imprimerResultats(Commun::RsEleves, Commun::RsQuestion, etat, Commun::FichierEleve);
}

} // namespace kelvane::session
