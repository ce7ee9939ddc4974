// The choice of the test (Frame2): the folder scan, the lists and the confirmation.
#include "app/avertissements.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "data/reglesfichiers.h"
#include "platform/services/services.h"
#include "platform/services/timer.h"
#include "results/cadreresultats.h"
#include "session/formetest.h"
#include "setup/navigation.h"
#include "widgets/colours.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace kelvane::session {

using namespace kelvane::services;
using namespace kelvane::widgets;

void FormeTest::Form_Load() {
    // The controls come back as a newly loaded form has them; the members keep what the last session left.
    // The save folder's list shows the folder that was current when the form was loaded, before anything moved.
    {
        const QSignalBlocker b1(listerepertoire);
        const QSignalBlocker b2(Drive1);
        const QSignalBlocker b3(Drive2);
        try {
            const QString courant = services::installed().files->currentFolder();
            listerepertoire->setPath(courant);
            Drive1->refresh();
            Drive2->refresh();
            Drive1->setDrive(courant);
        } catch (const kelvane::Error&) {
            // A folder that vanished meanwhile: the list keeps what it showed.
        }
    }
    for (QLineEdit* t : {nombase, Text1, Text2, Text3, Text4}) {
        t->clear();
    }
    for (QLabel* l : {Label5, Label6, Label7, Label8, Label22, Label21, Label31}) {
        l->clear();
    }
    termine_ = false;

    Timer1->setInterval(1000);
    Timer1->setEnabled(false);
    etat.TempsRestant = 0;

    Frame1->hide();
    Frame2->show();
    Frame3->hide();
    Frame5->hide();

    chargerImages();

    NbTests = 0;
    NomChoisi.clear();

    FileService& fichiers = *services::installed().files;
    try {
        Commun::LecteurCourant = fichiers.driveOf(Commun::RepertoireInitial);
        fichiers.setCurrentDrive(Commun::LecteurCourant);
        etat.RepertoireEleve = Commun::RepertoireInitial;
        fichiers.setCurrentFolder(etat.RepertoireEleve);
        // The lists follow without raising their change: the scan below is the only one.
        const QSignalBlocker b1(Drive2);
        const QSignalBlocker b2(listerepertoire2);
        Drive2->setDrive(Commun::LecteurCourant);
        listerepertoire2->setPath(fichiers.currentFolder());
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, Commun::RepertoireInitial);
    }
    ChercherTests();
    paintButton(OkTest, false);
}

void FormeTest::chargerImages() {
    const QString dossier = joinPath(Commun::RepertoireAppli, QStringLiteral("Images"));
    const std::array<std::pair<QLabel*, const char*>, 3> images{
        {{Condo, "Condo.jpg"}, {Terre, "Terre.jpg"}, {ClasseII, "Classe II.jpg"}}};
    for (const auto& [boite, fichier] : images) {
        // A missing or unreadable picture leaves its box empty; the form still opens.
        QPixmap image(joinPath(dossier, QString::fromLatin1(fichier)));
        boite->setPixmap(image);
        boite->hide();
    }
}

void FormeTest::ChercherTests() {
    listefichier->clear();
    ListeTests.clear();
    if (List3 != nullptr) {
        List3->clear();
    }
    ListeCommences.clear();
    QStringList noms;
    try {
        noms = services::installed().files->listDatabases();
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, etat.RepertoireEleve);
    }
    for (const QString& nom : noms) {
        const SondageFichier sondage = sonderFichier(joinPath(etat.RepertoireEleve, nom));
        if (sondage.genre == GenreFichier::Test) {
            listefichier->addItem(nom);
            ListeTests.append(nom);
        }
        if (mode_.reprise && sondage.genre == GenreFichier::Resultats && !sondage.examen) {
            List3->addItem(nom);
            ListeCommences.append(nom);
        }
    }
    NbTests = static_cast<int>(ListeTests.size());
    NbCommences = static_cast<int>(ListeCommences.size());
}

void FormeTest::changerDossier(const QString& dossier) {
    etat.RepertoireEleve = dossier;
    services::installed().files->setCurrentFolder(dossier);
}

void FormeTest::Drive2_Change() {
    if (setup::suivreLecteur(Drive2, listerepertoire2, etat.RepertoireEleve)) {
        ChercherTests();
        nombase->setText(NomChoisi);
    }
}

void FormeTest::listerepertoire2_Change() {
    if (setup::suivreDossier(listerepertoire2, etat.RepertoireEleve)) {
        ChercherTests();
        nombase->setText(NomChoisi);
    }
}

void FormeTest::listefichier_Click() {
    const int i = listefichier->currentRow();
    if (NbTests == 0 || i < 0 || i >= ListeTests.size()) {
        return;
    }
    NomChoisi = nomTestDeFichier(ListeTests.at(i));
    nombase->setText(NomChoisi);
    paintButton(OkTest, true);
    NouveauTest = true;
}

void FormeTest::List3_Click() {
    const int i = List3->currentRow();
    if (NbCommences == 0 || i < 0 || i >= ListeCommences.size()) {
        return;
    }
    NomChoisi = nomTestDeFichier(ListeCommences.at(i));
    nombase->setText(NomChoisi);
    paintButton(OkTest, true);
    NouveauTest = false;
}

void FormeTest::OkTest_Click() {
    Commun::FichierTest = nombase->text() + QStringLiteral(".mdb");
    if (mode_.reprise && !NouveauTest) {
        Reprendre();
        return;
    }
    const QString chemin = joinPath(etat.RepertoireEleve, Commun::FichierTest);
    // The name may come from another folder than the one now shown: say so rather than fail.
    if (!services::installed().files->fileExists(Commun::FichierTest)) {
        app::signalerIntrouvable(Commun::FichierTest, etat.RepertoireEleve, QStringLiteral("un test"));
        Commun::FichierTest.clear();
        return;
    }
    try {
        Commun::BaseTest = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        if (!estTest(Commun::BaseTest)) {
            app::refuserPasUnTest(Commun::FichierTest);
            Commun::FichierTest.clear();
            Commun::fermerBaseTest();
            return;
        }
        if (const auto refus = verifierTest(Commun::BaseTest)) {
            services::installed().messages->MsgBox(*refus, services::Buttons::OkOnly, app::kMauvaisType);
            Commun::FichierTest.clear();
            Commun::fermerBaseTest();
            return;
        }
        Commun::RsTest = Commun::BaseTest.OpenRecordset(QStringLiteral("test"), 2);
        Commun::RsChapitre = Commun::BaseTest.OpenRecordset(QStringLiteral("chapitre"), 2);
        Commun::RsNumero = Commun::BaseTest.OpenRecordset(QStringLiteral("numero"), 2);
    } catch (const kelvane::Error& e) {
        app::afficherErreur(e, chemin);
        Commun::FichierTest.clear();
        Commun::fermerBaseTest();
        return;
    }
    Frame2->hide();
    Frame1->show();
    paintButton(OkNom, false);
    etat.RepertoireEleve = listerepertoire2->path();
}

void FormeTest::Annuler_Click() {
    if (app::confirmerQuitter()) {
        Unload();
    }
}

} // namespace kelvane::session
