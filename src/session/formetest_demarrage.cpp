// The start of a session: the candidate's results file made from the test, the pass mark, the order.
#include "app/avertissements.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "platform/services/services.h"
#include "platform/services/timer.h"
#include "session/formetest.h"
#include "session/ordre.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace kelvane::session {

using namespace kelvane::services;

namespace {
// How many taken names the start steps over when other sessions create files in the same folder meanwhile.
constexpr int kEssaisNom = 1000;
} // namespace

void FormeTest::OkNom_Click() {
    MessageService& messages = *services::installed().messages;
    // What goes into the file name: the whole surname, and the first character of the first name.
    const std::array<std::pair<QLineEdit*, QString>, 2> parties{
        {{Text1, Text1->text()}, {Text2, Text2->text().left(1)}}};
    for (const auto& [boite, partie] : parties) {
        if (const auto refus = controlerNom(partie)) {
            messages.MsgBox(*refus, services::Buttons::OkOnly, app::kAvertissement);
            boite->setFocus();
            return;
        }
    }

    etat.NomTest = nomTestDeFichier(Commun::FichierTest);
    const QDate aujourdhui = services::installed().clock->today();
    const QString nom =
        nomFichierResultats(Text2->text(), Text1->text(), etat.NomTest, mode_.examen, shortDate(aujourdhui));
    const DonneesCandidat candidat{Text1->text(), Text2->text(), Text3->text(), etat.NomTest};

    FileService& fichiers = *services::installed().files;
    std::optional<FichierResultatsDemarre> demarre;
    QString chemin;
    QString pris; // names found taken at creation, by another session writing to the same folder
    for (int essai = 0; essai < kEssaisNom && !demarre; ++essai) {
        Commun::FichierEleve =
            premierNomLibre(nom, [&](const QString& n) { return n == pris || fichiers.fileExists(n); });
        chemin = joinPath(etat.RepertoireEleve, Commun::FichierEleve);
        try {
            demarre = demarrerFichierResultats(chemin, Commun::RsNumero, Commun::RsChapitre, Commun::RsTest, candidat,
                                               mode_.examen, aujourdhui);
        } catch (const kelvane::Error& e) {
            if (e.number() == errc::DatabaseExists) {
                pris = Commun::FichierEleve;
                continue;
            }
            app::afficherErreur(e, chemin);
            Commun::FichierEleve.clear();
            return;
        }
    }
    if (!demarre) {
        Commun::FichierEleve.clear();
        return;
    }

    try {
        Commun::fermerBaseEleve();
        Commun::BaseEleve = std::move(demarre->base);
        Commun::RsEleves = Commun::BaseEleve.OpenRecordset(QStringLiteral("eleves"), 2);
        Commun::RsChapitreEleve = Commun::BaseEleve.OpenRecordset(QStringLiteral("chapitre"), 2);
        Commun::RsQuestion = Commun::BaseEleve.OpenRecordset(QStringLiteral("question"), 2);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, chemin);
        Commun::fermerBaseEleve();
        return;
    }
    etat.ModeExamen = mode_.examen;
    etat.TempsAutorise = demarre->parametres.temps;
    etat.Tolerance = demarre->parametres.tolerance;
    Commun::fermerBaseTest();

    app::annoncerTolerance(etat.Tolerance);

    Frame1->hide();
    Frame3->show();
    Label5->setText(Text2->text() + QStringLiteral(" ") + Text1->text().toUpper() + QStringLiteral(" ") +
                    Text3->text());
    Label7->setText(etat.NomTest + mode_.libelleMode);
    Label6->setText(Commun::FichierEleve);

    etat.NbQuestions = Commun::RsQuestion.RecordCount();
    if (mode_.tirage) {
        const std::vector<int> tirage = TirerOrdre(
            etat.NbQuestions, facteurSecondes(services::installed().clock->second()), *services::installed().random);
        etat.dimensionnerOrdre(etat.NbQuestions);
        std::copy(tirage.begin(), tirage.end(), etat.Ordre.begin());
    } else {
        ordreParNumero(Commun::RsQuestion, etat.NbQuestions, etat.Ordre);
    }
    commencerQuestions();
}

void FormeTest::commencerQuestions() {
    etat.IndiceQuestion = 0;
    termine_ = false;
    try {
        Commun::RsQuestion.setAbsolutePosition(etat.Ordre.at(0));
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::FichierEleve);
    }
    MettreAJourBoutons();
    AfficherQuestion();
    etat.TempsRestant = etat.TempsAutorise;
    // A test that allows no time runs without a countdown.
    if (etat.TempsAutorise > 0) {
        Timer1->setEnabled(true);
    }
}

} // namespace kelvane::session
