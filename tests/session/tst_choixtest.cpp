#include "data/fichierresultats.h"
#include "formefixture.h"
#include "results/cadreresultats.h"
#include "widgets/dirlistbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace kelvane;
using services::Answer::No;
using services::Answer::Yes;

namespace {
const QString kQuitter = QStringLiteral("Etes vous sûr de vouloir quitter le test?");
const QColor kRose(255, 192, 192);
const QColor kGris(192, 192, 192);

void ecrire(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

// A results file as a session leaves it, examen yes or no.
void creerResultats(const QString& chemin, bool examen) {
    db::Database base = creerFichierResultats(chemin);
    db::Recordset eleves = base.OpenRecordset(QStringLiteral("eleves"));
    eleves.AddNew();
    eleves.SetField(QStringLiteral("nom"), QStringLiteral("Dupont"));
    eleves.SetField(QStringLiteral("examen"), examen);
    eleves.SetField(QStringLiteral("temps"), 60);
    eleves.SetField(QStringLiteral("tolerance"), 50);
    eleves.Update();
}

QColor fond(QPushButton* b) {
    return b->grab().toImage().pixelColor(b->width() / 2, 3);
}
} // namespace

class TestChoixTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    // A folder as teachers and pupils leave it: two tests, results of both modes, the settings database, a
    // damaged file and a database of another program.
    void peuplerDossier() {
        fixtures::creerHabilitation(fx_->chemin(QStringLiteral("habilitation.mdb")), QStringLiteral("X"));
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 600, 70, {{QStringLiteral("Généralités"), 1}},
                            fixtures::questionsSimples(3));
        fixtures::creerTest(fx_->chemin(QStringLiteral("BR électricien.mdb")), 600, 70,
                            {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(2));
        creerResultats(fx_->chemin(QStringLiteral("JDupont-B1V-061201.mdb")), false);
        creerResultats(fx_->chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb")), true);
        ecrire(fx_->chemin(QStringLiteral("abime.mdb")), QByteArray("SQLite format 3\0tronqué", 23));
        ecrire(fx_->chemin(QStringLiteral("notes.txt")), "pas une base");
        db::Database autre = db::CreateDatabase(fx_->chemin(QStringLiteral("inventaire.mdb")));
        db::TableDef t = autre.CreateTableDef(QStringLiteral("outils"));
        t.Fields().Append(t.CreateField(QStringLiteral("nom"), db::FieldType::Text, 50));
        autre.TableDefs().Append(t);
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        peuplerDossier();
    }
    void cleanup() {
        QCOMPARE(fx_->services->messages.pending(), 0);
        fx_.reset();
    }

    void scanListsTestsAndBegunTrainingFiles() {
        session::FormeTest* f = fx_->ouvrir(false);
        QCOMPARE(f->windowTitle(), QStringLiteral("Essai en temps réel d'un test"));
        QVERIFY(f->Frame2->isVisible() && f->Frame1->isHidden() && f->Frame3->isHidden() && f->Frame5->isHidden());
        QStringList tests = gui::lignes(f->listefichier);
        tests.sort();
        QCOMPARE(tests, (QStringList{QStringLiteral("B1V.mdb"), QStringLiteral("BR électricien.mdb")}));
        QCOMPARE(gui::lignes(f->List3), QStringList{QStringLiteral("JDupont-B1V-061201.mdb")});
        QCOMPARE(f->NbTests, 2);
        QCOMPARE(f->NbCommences, 1);
        QCOMPARE(f->Label29->text(), QStringLiteral("Liste des Tests"));
        QVERIFY(!f->OkTest->isEnabled());
        QCOMPARE(QDir(f->etat.RepertoireEleve), QDir(fx_->dossier->path()));
        QCOMPARE(QDir(QDir::currentPath()), QDir(fx_->dossier->path()));
        gui::photographier(f, QStringLiteral("entrainement-frame2"));

        session::FormeTest* e = fx_->ouvrir(true);
        QCOMPARE(e->windowTitle(), QStringLiteral("Evaluation"));
        QVERIFY(e->List3 == nullptr && e->Label30 == nullptr);
        QCOMPARE(e->Label29->text(), QStringLiteral("Tests d'évaluation"));
        QCOMPARE(e->listefichier->count(), 2);
        gui::photographier(e, QStringLiteral("evaluation-frame2"));
    }

    void moreThanFiftyTestsAreAllListed() {
        for (int i = 0; i < 55; ++i) {
            fixtures::creerTest(fx_->chemin(QStringLiteral("T%1.mdb").arg(i)), 60, 50, {{QStringLiteral("C"), 1}},
                                fixtures::questionsSimples(1));
        }
        session::FormeTest* f = fx_->ouvrir(true);
        QCOMPARE(f->listefichier->count(), 57);
        QCOMPARE(f->NbTests, 57);
    }

    void choosingATestShowsItsNameAndEnablesOk() {
        session::FormeTest* f = fx_->ouvrir(false);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, QStringLiteral("BR électricien.mdb")));
        QCOMPARE(f->nombase->text(), QStringLiteral("BR électricien"));
        QCOMPARE(f->NomChoisi, QStringLiteral("BR électricien"));
        QVERIFY(f->NouveauTest);
        QVERIFY(f->OkTest->isEnabled());
        QCOMPARE(fond(f->OkTest), kRose);

        f->OkTest->click();
        QVERIFY(f->Frame2->isHidden());
        QVERIFY(f->Frame1->isVisible());
        QVERIFY(!f->OkNom->isEnabled());
        QCOMPARE(fond(f->OkNom), kGris);
        QCOMPARE(Commun::FichierTest, QStringLiteral("BR électricien.mdb"));
        QVERIFY(Commun::BaseTest.isOpen());
        QCOMPARE(Commun::RsTest.RecordCount(), 2);
        QCOMPARE(Commun::RsNumero.RecordCount(), 1);
        gui::photographier(f, QStringLiteral("entrainement-frame1"));
    }

    void aFileThatIsNotATestIsRefused() {
        session::FormeTest* f = fx_->ouvrir(true);
        gui::cliquerLigne(f->listefichier, 0);
        // The name box takes typing too; OK takes whatever it holds.
        f->nombase->setText(QStringLiteral("habilitation"));
        fx_->services->messages.expectMessage(
            QStringLiteral("La base habilitation.mdb n'est pas un test d'habilitation électrique"));
        f->OkTest->click();
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral("Mauvais type de base de données"));
        QVERIFY(f->Frame2->isVisible());
        QVERIFY(f->OkTest->isEnabled());
        QVERIFY(!Commun::BaseTest.isOpen());
        QVERIFY(Commun::FichierTest.isEmpty());

        // A name that is not in the folder: a clear message, and the choice can be made again.
        f->nombase->setText(QStringLiteral("parti"));
        fx_->services->messages.expectMessage({});
        f->OkTest->click();
        QVERIFY(fx_->services->messages.last().prompt.contains(QStringLiteral("parti.mdb")));
        QVERIFY(f->Frame2->isVisible());

        // A damaged file chosen by name gets the engine's message, and the form goes on.
        f->nombase->setText(QStringLiteral("abime"));
        fx_->services->messages.expectMessage({});
        f->OkTest->click();
        QVERIFY(fx_->services->messages.last().prompt.startsWith(QStringLiteral("Erreur")));
        QVERIFY(f->Frame2->isVisible());
    }

    void aTestWithoutQuestionsIsRefusedBeforeAnyResultsFile() {
        fixtures::creerTest(fx_->chemin(QStringLiteral("vide.mdb")), 60, 50, {{QStringLiteral("C"), 1}}, {});
        session::FormeTest* f = fx_->ouvrir(true);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, QStringLiteral("vide.mdb")));
        fx_->services->messages.expectMessage({});
        f->OkTest->click();
        QVERIFY(f->Frame2->isVisible());
        QVERIFY(!Commun::BaseTest.isOpen());
    }

    void leavingAsksFirst_data() {
        QTest::addColumn<bool>("depuisCandidat");
        QTest::addColumn<services::Answer>("reponse");
        QTest::newRow("choix du test, non") << false << services::Answer::No;
        QTest::newRow("choix du test, oui") << false << services::Answer::Yes;
        QTest::newRow("candidat, non") << true << services::Answer::No;
        QTest::newRow("candidat, oui") << true << services::Answer::Yes;
    }

    void leavingAsksFirst() {
        QFETCH(bool, depuisCandidat);
        QFETCH(services::Answer, reponse);
        session::FormeTest* f = fx_->ouvrir(false);
        if (depuisCandidat) {
            gui::cliquerLigne(f->listefichier, 0);
            f->OkTest->click();
            QTest::keyClicks(f->Text1, QStringLiteral("Durand"));
        }
        fx_->services->messages.expectMessage(kQuitter, reponse);
        (depuisCandidat ? f->AnnulerNom : f->Annuler)->click();
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral(" Avertissement"));
        QCOMPARE(fx_->services->messages.last().buttons, services::Buttons::YesNo);
        QCOMPARE(f->isVisible(), reponse == services::Answer::No);
        if (depuisCandidat) {
            QCOMPARE(Commun::BaseTest.isOpen(), reponse == services::Answer::No);
            QCOMPARE(f->Text1->text(), QStringLiteral("Durand"));
        }
    }

    void okFollowsTheSurnameAtKeyDown() {
        session::FormeTest* f = fx_->ouvrir(false);
        gui::cliquerLigne(f->listefichier, 0);
        f->OkTest->click();
        f->Text1->setFocus();
        QTest::keyClick(f->Text1, Qt::Key_D);
        QVERIFY(!f->OkNom->isEnabled()); // the box was empty when the key went down
        QTest::keyClick(f->Text1, Qt::Key_U);
        QVERIFY(f->OkNom->isEnabled());
        QCOMPARE(fond(f->OkNom), kRose);
        QTest::keyClick(f->Text1, Qt::Key_Backspace);
        QTest::keyClick(f->Text1, Qt::Key_Backspace);
        QCOMPARE(f->Text1->text(), QString());
        QVERIFY(f->OkNom->isEnabled()); // until one more key goes down in the empty box
        QTest::keyClick(f->Text1, Qt::Key_Shift);
        QVERIFY(!f->OkNom->isEnabled());
    }

    void newFolder() {
        session::FormeTest* f = fx_->ouvrir(true);
        gui::cliquerLigne(f->listefichier, 0);
        f->OkTest->click();
        gui::photographier(f, QStringLiteral("evaluation-frame1"));
        const QString avant = f->etat.RepertoireEleve;

        fx_->services->messages.expectInput(QStringLiteral("Nom du répertoire:"), QString());
        f->newrepertoire->click();
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral("Création d'un répertoire"));

        fx_->services->messages.expectInput(QStringLiteral("Nom du répertoire:"), QStringLiteral("Classe 1A"));
        f->newrepertoire->click();
        QVERIFY(QDir(fx_->chemin(QStringLiteral("Classe 1A"))).exists());
        QCOMPARE(f->etat.RepertoireEleve, avant);
        QCOMPARE(QDir(QDir::currentPath()), QDir(avant));
        QCOMPARE(QDir(f->listerepertoire->path()), QDir(avant));

        // The same name again, and a name the file system refuses: a message, nothing changes.
        for (const QString& nom : {QStringLiteral("Classe 1A"), QStringLiteral("a/b")}) {
            fx_->services->messages.expectInput(QStringLiteral("Nom du répertoire:"), nom);
            fx_->services->messages.expectMessage({});
            f->newrepertoire->click();
            QCOMPARE(f->etat.RepertoireEleve, avant);
        }
        QVERIFY(!QDir(fx_->chemin(QStringLiteral("a"))).exists());
    }

    void aChangeOfFolderKeepsTheChoice() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("sous"));
        session::FormeTest* f = fx_->ouvrir(false);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, QStringLiteral("B1V.mdb")));
        f->listerepertoire2->setPath(fx_->chemin(QStringLiteral("sous")));
        QCOMPARE(QDir(f->etat.RepertoireEleve), QDir(fx_->chemin(QStringLiteral("sous"))));
        QCOMPARE(QDir(QDir::currentPath()), QDir(fx_->chemin(QStringLiteral("sous"))));
        QCOMPARE(f->listefichier->count(), 0);
        QCOMPARE(f->nombase->text(), QStringLiteral("B1V"));
        QVERIFY(f->OkTest->isEnabled());
        // A click in the empty list changes nothing.
        QTest::mouseClick(f->listefichier->viewport(), Qt::LeftButton);
        QCOMPARE(f->nombase->text(), QStringLiteral("B1V"));
    }

    // The save folder's list shows the folder that was current when the form was loaded, while the results go to
    // the test's folder until the candidate moves.
    void theSaveFolderListIsNotPositionedWhenShown() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("ailleurs"));
        QDir::setCurrent(fx_->chemin(QStringLiteral("ailleurs")));
        session::FormeTest* f = fx_->ouvrir(true);
        QCOMPARE(QDir(f->etat.RepertoireEleve), QDir(fx_->dossier->path()));
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, QStringLiteral("B1V.mdb")));
        f->OkTest->click();
        QCOMPARE(QDir(f->listerepertoire->path()), QDir(fx_->chemin(QStringLiteral("ailleurs"))));
        QCOMPARE(QDir(f->etat.RepertoireEleve), QDir(fx_->dossier->path()));
        QCOMPARE(QDir(QDir::currentPath()), QDir(fx_->dossier->path()));
    }

    void thePicturesLoadAndAMissingOneLeavesAnEmptyBox() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("Images"));
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(fx_->chemin(QStringLiteral("Images/Condo.jpg"))));
        session::FormeTest* f = fx_->ouvrir(true);
        QVERIFY(!f->Condo->pixmap().isNull());
        QVERIFY(f->Terre->pixmap().isNull());
        QVERIFY(f->Condo->isHidden() && f->Terre->isHidden() && f->ClasseII->isHidden());
    }
};

QTEST_MAIN(TestChoixTest)
#include "tst_choixtest.moc"
