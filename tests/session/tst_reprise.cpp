#include "formefixture.h"
#include "platform/services/printerrecording.h"
#include "results/cadreresultats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace kelvane;
using namespace kelvane::doubles;
using services::Answer::Yes;

namespace {
const QString kQuitter = QStringLiteral("Etes vous sûr de vouloir quitter le test?");
const QString kFichier = QStringLiteral("JDupont-B1V-061201.mdb");
} // namespace

// Countdown, resumption of a begun training test, and the printed report, seen from the test forms.
class TestReprise : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    session::FormeTest* commencer(bool examen, const QString& test, int tolerance = 50) {
        session::FormeTest* f = fx_->ouvrir(examen);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, test + QStringLiteral(".mdb")));
        f->OkTest->click();
        f->Text1->setText(QStringLiteral("Dupont"));
        f->Text2->setText(QStringLiteral("Jean"));
        f->Text3->setText(QStringLiteral("1A"));
        f->OkNom->setEnabled(true);
        fx_->services->messages.expectMessage(
            QStringLiteral("Pour réussir ce test il faut %1% de bonnes réponses").arg(tolerance));
        f->OkNom->click();
        return f;
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 90, 50, {{QStringLiteral("Généralités"), 1}},
                            fixtures::questionsSimples(4));
    }
    void cleanup() {
        QCOMPARE(fx_->services->messages.pending(), 0);
        fx_.reset();
    }

    void aTrainingLeftHalfwayResumesOnQuestionOneWithItsAnswers() {
        session::FormeTest* f = commencer(false, QStringLiteral("B1V"));
        f->Check[0]->click();
        f->Suivant->click();
        f->Check[1]->click();
        for (int i = 0; i < 30; ++i) {
            fx_->minuterie(f)->fire();
        }
        // Closing the window in the middle records the answer on screen.
        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
        f->close();
        QVERIFY(!f->isVisible());

        QDir::setCurrent(fx_->dossier->path());
        session::FormeTest* g = fx_->ouvrir(false);
        QCOMPARE(gui::lignes(g->List3), QStringList{kFichier});
        gui::cliquerLigne(g->List3, 0);
        QCOMPARE(g->nombase->text(), QStringLiteral("JDupont-B1V-061201"));
        QVERIFY(!g->NouveauTest);
        fx_->services->messages.expectMessage(QStringLiteral("Pour réussir ce test il faut 50% de bonnes réponses"));
        g->OkTest->click();
        QVERIFY(g->Frame3->isVisible() && g->Frame2->isHidden());
        QCOMPARE(g->Label31->text(), QStringLiteral("Question n° 1"));
        QCOMPARE(g->Label5->text(), QStringLiteral("Jean DUPONT 1A"));
        QCOMPARE(g->Label7->text(), QStringLiteral("B1V (Entrainement)"));
        QCOMPARE(g->Label6->text(), kFichier);
        QVERIFY(g->Check[0]->isChecked());
        QCOMPARE(g->etat.TempsRestant, 90);
        QVERIFY(fx_->minuterie(g)->isEnabled());
        g->Suivant->click();
        QVERIFY(g->Check[1]->isChecked());
        QVERIFY(!g->Check[0]->isChecked());
    }

    void aDamagedBegunFileIsRefusedAndTheChoiceCanBeMadeAgain() {
        session::FormeTest* f = commencer(false, QStringLiteral("B1V"));
        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
        f->close();
        QDir::setCurrent(fx_->dossier->path());
        session::FormeTest* g = fx_->ouvrir(false);
        gui::cliquerLigne(g->List3, 0);
        Commun::fermerBaseEleve();
        {
            // The file is damaged after the scan listed it: its question table is gone.
            QFile fichier(fx_->chemin(kFichier));
            QVERIFY(fichier.open(QIODevice::ReadWrite));
            const QByteArray debut = fichier.read(4096);
            fichier.resize(0);
            fichier.write(debut);
        }
        fx_->services->messages.expectMessage({});
        g->OkTest->click();
        QVERIFY(fx_->services->messages.last().prompt.startsWith(QStringLiteral("Erreur")));
        QVERIFY(g->Frame2->isVisible());
        QVERIFY(!Commun::BaseEleve.isOpen());
        gui::cliquerLigne(g->listefichier, 0);
        g->OkTest->click();
        QVERIFY(g->Frame1->isVisible());
    }

    void evaluationTimeOutRecordsTheAnswerOnScreenThenShowsTheResults() {
        session::FormeTest* f = commencer(true, QStringLiteral("B1V"));
        f->Check[0]->click();
        doubles::ManualTimer* t = fx_->minuterie(f);
        for (int i = 0; i < 89; ++i) {
            t->fire();
        }
        QCOMPARE(f->Text4->text(), QStringLiteral("0 mn 1 s"));
        fx_->services->messages.expectMessage(QStringLiteral("Le temps imparti est écoulé, le test est terminé"));
        t->fire();
        QVERIFY(f->Frame5->isVisible());
        QVERIFY(!t->isEnabled());
        QCOMPARE(f->Frame5->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 4 questions"));
    }

    void aFinishBeforeZeroStopsTheCountdownAndTheWaysBackRestartItOnlyWithTimeLeft() {
        session::FormeTest* f = commencer(false, QStringLiteral("B1V"));
        doubles::ManualTimer* t = fx_->minuterie(f);
        t->fire();
        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
        f->AnnulerQuestion->click();
        QVERIFY(!t->isEnabled());
        f->Frame5->Retourner->click();
        QVERIFY(t->isEnabled());
        QCOMPARE(f->etat.TempsRestant, 89);
        for (int i = 0; i < 88; ++i) {
            t->fire();
        }
        fx_->services->messages.expectMessage(
            QStringLiteral("Le temps imparti est écoulé, le test est normalement terminé"));
        t->fire();
        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
        f->AnnulerQuestion->click();
        gui::cliquerLigne(f->Frame5->List1, 1);
        QVERIFY(f->Frame3->isVisible());
        QVERIFY(!t->isEnabled());
    }

    void aTestWithoutTimeRunsWithoutCountdown_data() {
        QTest::addColumn<bool>("examen");
        QTest::addColumn<int>("temps");
        QTest::newRow("entrainement, 0 s") << false << 0;
        QTest::newRow("évaluation, 0 s") << true << 0;
        QTest::newRow("évaluation, temps négatif") << true << -30;
    }

    void aTestWithoutTimeRunsWithoutCountdown() {
        QFETCH(bool, examen);
        QFETCH(int, temps);
        fixtures::creerTest(fx_->chemin(QStringLiteral("libre.mdb")), temps, 50, {{QStringLiteral("C"), 1}},
                            fixtures::questionsSimples(2));
        session::FormeTest* f = commencer(examen, QStringLiteral("libre"));
        QVERIFY(!fx_->minuterie(f)->isEnabled());
        f->Suivant->click();
        f->Suivant->click();
        QVERIFY(f->Frame5->isVisible());
        gui::cliquerLigne(f->Frame5->List1, 0);
        QVERIFY(!fx_->minuterie(f)->isEnabled());
        QCOMPARE(f->Text4->text(), QString());
    }

    void thePrintButtonPrintsTheReportOfTheSession() {
        session::FormeTest* f = commencer(true, QStringLiteral("B1V"));
        f->Check[0]->click();
        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
        f->AnnulerQuestion->click();
        f->Frame5->ImprimerResultat->click();
        const QStringList lignes = fx_->services->printer.texts();
        QCOMPARE(fx_->services->printer.documentsEnded, 1);
        QVERIFY2(lignes.size() == 9, qPrintable(lignes.join(QLatin1Char('\n'))));
        QCOMPARE(lignes.at(0), QStringLiteral(" Jean DUPONT - 1A - Habilitation: B1V - Le 06/12/01"));
        QCOMPARE(lignes.at(2), QStringLiteral("    Vous avez  1 bonnes réponses sur  4  Questions soit  25 %"));
        QCOMPARE(lignes.at(3), QStringLiteral("    Vous n'êtes pas Habilité(e)"));
        QVERIFY(lignes.at(5).startsWith(QStringLiteral("    Question numéro 1 ?")));
        QVERIFY(lignes.at(5).endsWith(QStringLiteral("Oui")));
        QCOMPARE(lignes.at(5).indexOf(QStringLiteral("Oui")), 109);
        QVERIFY(lignes.at(8).endsWith(QStringLiteral("Non")));
    }
};

QTEST_MAIN(TestReprise)
#include "tst_reprise.moc"
