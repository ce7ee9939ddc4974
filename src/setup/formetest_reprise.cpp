// Resuming a training test begun earlier, from its results file.
#include "app/avertissements.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "data/reglesfichiers.h"
#include "platform/services/services.h"
#include "session/formetest.h"
#include "session/ordre.h"

#include <QGroupBox>
#include <QLabel>

namespace kelvane::session {

using namespace kelvane::services;

void FormeTest::Reprendre() {
    Commun::FichierEleve = Commun::FichierTest;
    const QString chemin = joinPath(etat.RepertoireEleve, Commun::FichierEleve);
    if (!services::installed().files->fileExists(Commun::FichierEleve)) {
        app::signalerIntrouvable(Commun::FichierEleve, etat.RepertoireEleve, QStringLiteral("un test"));
        Commun::FichierEleve.clear();
        return;
    }
    QString prenom;
    QString nom;
    QString classe;
    try {
        Commun::fermerBaseEleve();
        Commun::BaseEleve = db::OpenDatabase(chemin);
        if (!estResultats(Commun::BaseEleve)) {
            app::refuserPasUnTest(Commun::FichierEleve);
            Commun::FichierEleve.clear();
            Commun::fermerBaseEleve();
            return;
        }
        Commun::RsEleves = Commun::BaseEleve.OpenRecordset(QStringLiteral("eleves"), 2);
        Commun::RsEleves.setAbsolutePosition(0);
        etat.ModeExamen = Commun::RsEleves.Fields(QStringLiteral("examen")).toBool();
        etat.TempsAutorise = static_cast<std::int16_t>(Commun::RsEleves.Fields(QStringLiteral("temps")).toInt());
        etat.Tolerance = static_cast<std::int16_t>(Commun::RsEleves.Fields(QStringLiteral("tolerance")).toInt());
        etat.NomTest = Commun::RsEleves.Fields(QStringLiteral("test")).toString();
        prenom = Commun::RsEleves.Fields(QStringLiteral("prenom")).toString();
        nom = Commun::RsEleves.Fields(QStringLiteral("nom")).toString();
        classe = Commun::RsEleves.Fields(QStringLiteral("classe")).toString();
        Commun::RsChapitreEleve = Commun::BaseEleve.OpenRecordset(QStringLiteral("chapitre"), 2);
        Commun::RsQuestion = Commun::BaseEleve.OpenRecordset(QStringLiteral("question"), 2);
        if (Commun::RsQuestion.RecordCount() == 0 || Commun::RsQuestion.FieldCount() < 27) {
            throw kelvane::Error(
                errc::UnrecognizedFormat,
                QStringLiteral("Le fichier de résultats %1 est endommagé: ses questions sont illisibles")
                    .arg(Commun::FichierEleve));
        }
    } catch (const kelvane::Error& e) {
        // A damaged file: say so, and the choice can be made again.
        app::afficherErreur(e, chemin);
        Commun::FichierEleve.clear();
        Commun::fermerBaseEleve();
        return;
    }

    app::annoncerTolerance(etat.Tolerance);
    Frame2->hide();
    Frame3->show();
    Label5->setText(prenom + QStringLiteral(" ") + nom.toUpper() + QStringLiteral(" ") + classe);
    Label6->setText(Commun::FichierEleve);
    Label7->setText(etat.NomTest +
                    (etat.ModeExamen ? QStringLiteral(" (Evaluation)") : QStringLiteral(" (Entrainement)")));
    etat.NbQuestions = Commun::RsQuestion.RecordCount();
    ordreParNumero(Commun::RsQuestion, etat.NbQuestions, etat.Ordre);
    commencerQuestions();
}

} // namespace kelvane::session
