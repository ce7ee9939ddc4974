#include "forms/formetest.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/format.h"
#include "frames/cadrecandidat.h"
#include "frames/cadrequestion.h"
#include "frames/cadreresultats.h"
#include "frames/choixfichier.h"
#include "platform/services/timer.h"
#include "results/impression.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QCloseEvent>

namespace kelvane::forms {

using namespace kelvane::widgets;
using avertissements::confirmerQuitter;

FormeTest::FormeTest(const session::ModeTest& mode, const services::Services& services, const Lieux& lieux,
                     QWidget* parent)
    : widgets::Forme(parent), mode_(mode), services_(services), lieux_(lieux), dossier_(*services.files),
      session_(mode, *services.files, *services.clock, *services.random) {
    setObjectName(mode.nomForme);
    setWindowTitle(mode.titre);
    setCouleurs(this, kBleuClair);
    setFixedSize(twipsSize(10575 + 2 * 120, 6975 + 2 * 120, this));
    setPolice(this, 8.25);

    services::MessageService& messages = *services.messages;
    Frame2 = frames::ChoixFichier::pourTests(this, mode, dossier_, messages);
    Frame1 = new frames::CadreCandidat(this, dossier_, messages);
    Frame3 = new frames::CadreQuestion(this, mode.libelleTemps);
    Frame5 = new frames::CadreResultats(this, {.retourner = mode.retourQuestions, .gaucheCandidat = 360});
    placer(Frame5, 120, 120, 10575, 6975);

    Timer1 = services.timers->createTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    connect(Frame2, &frames::ChoixFichier::valide, this, &FormeTest::OkTest_Click);
    connect(Frame2, &frames::ChoixFichier::annule, this, [this] {
        if (confirmerQuitter(*services_.messages)) {
            Unload();
        }
    });
    connect(Frame1, &frames::CadreCandidat::valide, this, &FormeTest::OkNom_Click);
    connect(Frame1, &frames::CadreCandidat::annule, this, [this] {
        if (confirmerQuitter(*services_.messages)) {
            test_.reset();
            Unload();
        }
    });
    connect(Frame3, &frames::CadreQuestion::suivant, this, &FormeTest::Suivant_Click);
    connect(Frame3, &frames::CadreQuestion::precedent, this, &FormeTest::Precedent_Click);
    connect(Frame3, &frames::CadreQuestion::abandon, this, &FormeTest::AnnulerQuestion_Click);
    connect(Frame5, &frames::CadreResultats::fermer, this, &FormeTest::Unload);
    connect(Frame5, &frames::CadreResultats::imprimer, this, &FormeTest::ImprimerResultat_Click);
    connect(Frame5, &frames::CadreResultats::retourner, this, [this] {
        // Back to the first question of the session, so that the question shown and its place agree.
        revenirAuxQuestions(0);
    });
    connect(Frame5, &frames::CadreResultats::questionChoisie, this, [this](int ligne) {
        if (mode_.retourQuestions && ligne < session_.nbQuestions()) {
            revenirAuxQuestions(ligne);
        }
    });
    connect(Timer1, &services::Timer::tick, this, &FormeTest::Timer1_Timer);
}

FormeTest::~FormeTest() = default;

void FormeTest::erreur(const Error& e, const QString& fichier) {
    avertissements::afficherErreur(*services_.messages, e, fichier);
}

void FormeTest::Form_Load() {
    // The controls come back as a newly loaded form has them; the session keeps what the last one left.
    // The save folder's list shows the folder that was current when the form was loaded, before anything moved.
    Frame1->charger();
    Frame3->vider();
    Timer1->setInterval(1000);
    Timer1->setEnabled(false);
    Frame1->hide();
    Frame2->show();
    Frame3->hide();
    Frame5->hide();
    Frame3->chargerImages(lieux_.appli);
    Frame2->charger(lieux_.initial);
}

void FormeTest::OkTest_Click() {
    const QString fichier = fichierChoisi();
    if (fichier.isEmpty()) {
        return;
    }
    if (mode_.reprise && Frame2->repriseChoisie()) {
        Reprendre(fichier);
        return;
    }
    const QString chemin = services::joinPath(dossier_.chemin(), fichier);
    try {
        auto lu = data::lireTest(chemin);
        if (const auto* refus = std::get_if<data::TestRefuse>(&lu)) {
            if (refus->pasUnTest) {
                avertissements::refuserPasUnTest(*services_.messages, fichier);
            } else {
                services_.messages->MsgBox(refus->message, services::Buttons::OkOnly, avertissements::kMauvaisType);
            }
            return;
        }
        test_ = std::move(std::get<data::Test>(lu));
        dossier_.changer(Frame2->dossierListe());
    } catch (const Error& e) {
        erreur(e, chemin);
        test_.reset();
        return;
    }
    Frame2->hide();
    Frame1->show();
    Frame1->preparer();
}

QString FormeTest::fichierChoisi() {
    const QString nom = Frame2->nomChoisi();
    // The name may come from another folder than the one now shown: say so rather than fail.
    const QString fichier = Frame2->fichierNomme(nom);
    if (fichier.isEmpty()) {
        avertissements::signalerIntrouvable(*services_.messages, nom + data::kExtension, dossier_.chemin(),
                                            QStringLiteral("un test"));
    }
    return fichier;
}

void FormeTest::Reprendre(const QString& fichier) {
    const QString chemin = services::joinPath(dossier_.chemin(), fichier);
    try {
        if (!session_.rouvrir(chemin)) {
            avertissements::refuserPasUnTest(*services_.messages, fichier);
            return;
        }
    } catch (const Error& e) {
        // A damaged file: say so, and the choice can be made again.
        erreur(e, chemin);
        return;
    }
    avertissements::annoncerTolerance(*services_.messages, session_.tolerance());
    Frame2->hide();
    Frame3->show();
    commencerQuestions();
}

void FormeTest::OkNom_Click() {
    if (!test_ || !Frame1->nomsAcceptables()) {
        return;
    }
    try {
        session_.demarrer(*test_, Frame1->candidat(), dossier_.chemin());
    } catch (const Error& e) {
        erreur(e, session_.cheminFichier());
        return;
    }
    test_.reset();
    avertissements::annoncerTolerance(*services_.messages, session_.tolerance());
    session_.tirerOrdreEvaluation();
    Frame1->hide();
    Frame3->show();
    commencerQuestions();
}

void FormeTest::commencerQuestions() {
    Frame3->afficherEntete(session_.libelleCandidat(), session_.libelleTest(), session_.nomFichier());
    AfficherQuestion();
    // A test that allows no time runs without a countdown.
    if (session_.avecDecompte()) {
        Timer1->setEnabled(true);
    }
}

void FormeTest::AfficherQuestion() {
    try {
        Frame3->montrer(session_.question(), session_.premiere(), session_.derniere());
    } catch (const Error& e) {
        erreur(e, session_.nomFichier());
    }
}

bool FormeTest::EnregistrerReponse() {
    try {
        session_.enregistrer(Frame3->reponse());
    } catch (const Error& e) {
        // The answer could not be written (folder made read-only, disk full, file locked): the candidate is told
        // and stays on the question; what was recorded before is kept.
        erreur(e, session_.nomFichier());
        return false;
    }
    return true;
}

void FormeTest::Suivant_Click() {
    if (!EnregistrerReponse()) {
        return;
    }
    if (session_.derniere()) {
        terminer();
        return;
    }
    session_.avancer();
    AfficherQuestion();
}

void FormeTest::Precedent_Click() {
    if (session_.premiere() || !EnregistrerReponse()) {
        return;
    }
    session_.reculer();
    AfficherQuestion();
}

void FormeTest::AnnulerQuestion_Click() {
    const bool quitter = confirmerQuitter(*services_.messages);
    // The countdown may have ended the session while the box was open: the Yes then has nothing left to do.
    if (!quitter || session_.termine() || !EnregistrerReponse()) {
        return;
    }
    terminer();
}

void FormeTest::Timer1_Timer() {
    const session::Seconde seconde = session_.decompter();
    Frame3->afficherTemps(seconde.texte);
    if (!seconde.ecoule) {
        return;
    }
    Timer1->setEnabled(false);
    avertissements::avertir(*services_.messages, mode_.messageTempsEcoule);
    if (!mode_.finAuTempsEcoule) {
        Frame3->afficherTemps(QStringLiteral("0 mn 0 s"));
        return;
    }
    if (session_.termine()) {
        return;
    }
    // The time is over: the answer on screen is recorded if it can be, and the session ends either way.
    EnregistrerReponse();
    terminer();
}

void FormeTest::terminer() {
    session_.terminer();
    Timer1->setEnabled(false);
    Frame3->hide();
    Frame5->show();
    AfficherResultats();
}

void FormeTest::AfficherResultats() {
    try {
        session_.tamponnerDate();
    } catch (const Error& e) {
        // The date could not be written: the results are shown all the same, from what the file holds.
        erreur(e, session_.nomFichier());
    }
    try {
        Frame5->afficher(session_.resultats(results::VerdictsSession));
    } catch (const Error& e) {
        erreur(e, session_.nomFichier());
    }
}

void FormeTest::revenirAuxQuestions(int place) {
    session_.allerA(place);
    Frame5->hide();
    Frame3->show();
    // The countdown goes on from where it stopped, when time is left.
    if (session_.tempsRestant() > 0) {
        Timer1->setEnabled(true);
    }
    AfficherQuestion();
}

void FormeTest::ImprimerResultat_Click() {
    results::Rapport rapport;
    try {
        rapport = session_.rapport();
    } catch (const Error& e) {
        erreur(e, session_.nomFichier());
        return;
    }
    results::imprimerResultats(services_, rapport, session_.nomFichier());
}

void FormeTest::closeEvent(QCloseEvent* event) {
    // The title bar's close button leaves the test as Annuler and Abandonner do: after a confirmation, with the
    // answer on screen recorded.
    if (Frame5->isVisible()) {
        event->accept();
        return;
    }
    if (!confirmerQuitter(*services_.messages)) {
        event->ignore();
        return;
    }
    if (Frame3->isVisible() && !session_.termine()) {
        EnregistrerReponse();
        session_.terminer();
    }
    Timer1->setEnabled(false);
    test_.reset();
    event->accept();
}

} // namespace kelvane::forms
