#include "formefixture.h"
#include "results/cadreresultats.h"
#include "widgets/dirlistbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace kelvane;
using namespace kelvane::doubles;
using services::Answer::No;
using services::Answer::Yes;

namespace {
const QString kQuitter = QStringLiteral("Etes vous sûr de vouloir quitter le test?");

fixtures::Question qcm(int numero, int chapitre, std::array<bool, 5> niveaux, const QString& texte) {
    fixtures::Question q;
    q.niveaux = niveaux;
    q.texte = texte;
    q.nbReponses = 3;
    q.reponses = {QStringLiteral("Oui"), QStringLiteral("Non"), QStringLiteral("Peut-être"), {}, {}};
    q.attendu = {1, 0, 1, 0, 0};
    q.qcm = true;
    q.chapitre = chapitre;
    q.numero = numero;
    return q;
}

fixtures::Question ordre(int numero, int chapitre) {
    fixtures::Question q;
    q.niveaux = {false, true, false, true, false};
    q.texte = QStringLiteral("Remettez les étapes de la consignation dans l'ordre");
    q.nbReponses = 3;
    q.reponses = {QStringLiteral("Condamner"),
                  QStringLiteral("Vérifier l'absence de tension"),
                  QStringLiteral("Séparer"),
                  {},
                  {}};
    q.attendu = {2, 3, 1, 0, 0};
    q.qcm = false;
    q.chapitre = chapitre;
    q.numero = numero;
    return q;
}

// Stored order: numbers 3, 1, 2.
std::vector<fixtures::Question> troisQuestions() {
    return {qcm(3, 2, {false, true, false, true, false}, QStringLiteral("Troisième question ?")),
            qcm(1, 1, {true, true, false, false, false}, QStringLiteral("Première question ?")), ordre(2, 1)};
}

const std::vector<fixtures::Chapitre> kChapitres{{QStringLiteral("Généralités"), 1},
                                                 {QStringLiteral("Consignation"), 2},
                                                 {QStringLiteral("Chapitre sans question"), 3}};
} // namespace

class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    // From the test list to the first question, as a pupil does it.
    session::FormeTest* commencer(bool examen, const QString& test, const QString& prenom, const QString& nom,
                                  const QString& classe, int tolerance = 70) {
        session::FormeTest* f = fx_->ouvrir(examen);
        gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, test + QStringLiteral(".mdb")));
        f->OkTest->click();
        f->Text1->setFocus();
        QTest::keyClicks(f->Text1, nom);
        QTest::keyClicks(f->Text2, prenom);
        QTest::keyClicks(f->Text3, classe);
        fx_->services->messages.expectMessage(
            QStringLiteral("Pour réussir ce test il faut %1% de bonnes réponses").arg(tolerance));
        f->OkNom->click();
        return f;
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fx_->services->clock.date = QDate(2001, 12, 6);
        fx_->services->clock.sec = 30;
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 90, 70, kChapitres, troisQuestions());
    }
    void cleanup() {
        QCOMPARE(fx_->services->messages.pending(), 0);
        fx_.reset();
    }

    void aWholeTrainingSession() {
        session::FormeTest* f = commencer(false, QStringLiteral("B1V"), QStringLiteral("jean"),
                                          QStringLiteral("Dupont"), QStringLiteral("1A"));
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral(" Avertissement"));
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("jDupont-B1V-061201.mdb"))));
        QVERIFY(f->Frame3->isVisible() && f->Frame1->isHidden());
        QCOMPARE(f->Label5->text(), QStringLiteral("jean DUPONT 1A"));
        QCOMPARE(f->Label7->text(), QStringLiteral("B1V (Entrainement)"));
        QCOMPARE(f->Label6->text(), QStringLiteral("jDupont-B1V-061201.mdb"));
        QVERIFY(!Commun::BaseTest.isOpen());
        QVERIFY(fx_->minuterie(f)->isEnabled());

        // By number: the question numbered 1 (stored second) comes first.
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 1"));
        QCOMPARE(f->Label22->text(), QStringLiteral("Première question ?"));
        QCOMPARE(f->Label8->text(), QStringLiteral("Généralités"));
        QCOMPARE(f->Label21->text(), QStringLiteral("Cochez les bonnes réponses"));
        QVERIFY(!f->Precedent->isEnabled());
        QCOMPARE(f->Suivant->text(), QStringLiteral(">>"));
        QVERIFY(f->Check[0]->isVisible() && f->Check[2]->isVisible() && f->Check[3]->isHidden());
        QVERIFY(f->Combo[0]->isHidden());
        gui::photographier(f, QStringLiteral("entrainement-frame3"));
        f->Check[0]->click();
        f->Check[2]->click();
        f->Suivant->click();

        // The ordering question, answered with a typed rank that carries letters.
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 2"));
        QCOMPARE(f->Label21->text(), QStringLiteral("Remettez les réponses dans l'ordre"));
        QVERIFY(f->Combo[0]->isVisible() && f->Combo[2]->isVisible() && f->Combo[3]->isHidden());
        QCOMPARE(f->Combo[0]->count(), 3);
        QVERIFY(f->Precedent->isEnabled());
        f->Combo[0]->setCurrentIndex(1);
        f->Combo[1]->setEditText(QStringLiteral("3e"));
        f->Combo[2]->setEditText(QStringLiteral(" 1"));
        gui::photographier(f, QStringLiteral("entrainement-ordre"));
        f->Suivant->click();
        QCOMPARE(f->Suivant->text(), QStringLiteral("Terminer"));
        QCOMPARE(f->Label8->text(), QStringLiteral("Consignation"));

        // Back and forth: the recorded answer comes back on screen.
        f->Precedent->click();
        QCOMPARE(f->Combo[0]->currentText(), QStringLiteral("2"));
        QCOMPARE(f->Combo[1]->currentText(), QStringLiteral("3"));
        QCOMPARE(f->Combo[2]->currentText(), QStringLiteral("1"));
        QCOMPARE(f->Suivant->text(), QStringLiteral(">>"));
        f->Suivant->click();
        f->Check[1]->click(); // wrong
        f->Suivant->click();

        QVERIFY(f->Frame5->isVisible() && f->Frame3->isHidden());
        QVERIFY(!fx_->minuterie(f)->isEnabled());
        QCOMPARE(f->Frame5->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions"));
        QCOMPARE(f->Frame5->Label10->text(),
                 QStringLiteral("66% de bonnes réponses, vous n'avez pas réussi le test (<70%)"));
        QCOMPARE(f->Frame5->Label27->text(), QStringLiteral("jean DUPONT 1A"));
        QCOMPARE(f->Frame5->Label28->text(), QStringLiteral("B1V (Entrainement) du 06/12/01"));
        QCOMPARE(f->Frame5->Label11->text(), QStringLiteral("B0:1 sur 1 soit 100%"));
        QCOMPARE(f->Frame5->Label12->text(), QStringLiteral("B1:2 sur 3 soit 66%"));
        QCOMPARE(f->Frame5->Label14->text(), QStringLiteral("B2: Pas de questions pour ce niveau"));
        QCOMPARE(gui::lignes(f->Frame5->List1),
                 (QStringList{QStringLiteral("Première question ?      :Oui"),
                              QStringLiteral("Remettez les étapes de la consignation dans l'ordre      :Oui"),
                              QStringLiteral("Troisième question ?      :Non")}));
        QCOMPARE(gui::lignes(f->Frame5->List2),
                 (QStringList{QStringLiteral("Généralités:   100%"), QStringLiteral("Consignation:   0%")}));
        QVERIFY(f->Frame5->Retourner != nullptr);
        gui::photographier(f, QStringLiteral("entrainement-frame5"));

        // A line of the list leads back to that question, the countdown going on.
        gui::cliquerLigne(f->Frame5->List1, 2);
        QVERIFY(f->Frame3->isVisible());
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 3"));
        QVERIFY(f->Check[1]->isChecked());
        QVERIFY(fx_->minuterie(f)->isEnabled());
        f->Check[1]->click();
        f->Check[0]->click();
        f->Check[2]->click();
        f->Suivant->click();
        QCOMPARE(f->Frame5->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 3 sur 3 questions"));
        f->Frame5->Retourner->click();
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 1"));
        QVERIFY(!f->Precedent->isEnabled());

        // The file holds every answer and its mark.
        db::Database base =
            db::OpenDatabase(fx_->chemin(QStringLiteral("jDupont-B1V-061201.mdb")), db::OpenMode::ReadOnly);
        db::Recordset q = base.OpenRecordset(QStringLiteral("question"));
        q.setAbsolutePosition(2);
        QCOMPARE(q.Fields(21).toInt(), 2);
        QCOMPARE(q.Fields(22).toInt(), 3);
        QCOMPARE(q.Fields(23).toInt(), 1);
        QVERIFY(q.Fields(QStringLiteral("reussi")).toBool());
        db::Recordset e = base.OpenRecordset(QStringLiteral("eleves"));
        QCOMPARE(e.RecordCount(), 1);
        QCOMPARE(e.Fields(QStringLiteral("date")).toString(), QStringLiteral("06/12/01"));
        QCOMPARE(e.Fields(QStringLiteral("prenom")).toString(), QStringLiteral("jean"));
        QVERIFY(!e.Fields(QStringLiteral("examen")).toBool());
    }

    void anEvaluationDrawsItsOrderAndGivingUpCountsTheRestWrong() {
        fx_->services->random.values = {0.9F, 0.2F, 0.7F};
        session::FormeTest* f = commencer(true, QStringLiteral("B1V"), QStringLiteral("Jean"), QStringLiteral("Dupont"),
                                          QStringLiteral("1A"));
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb"))));
        QCOMPARE(f->Label7->text(), QStringLiteral("B1V (Evaluation)"));
        QCOMPARE(f->Label13->text(), QStringLiteral("Temps restant avant la fin du test"));
        // Draw at second 30 with 0.9, 0.2, 0.7: stored positions 1, 0, 2.
        QCOMPARE(f->etat.Ordre[0], 1);
        QCOMPARE(f->etat.Ordre[1], 0);
        QCOMPARE(f->etat.Ordre[2], 2);
        QCOMPARE(f->Label22->text(), QStringLiteral("Première question ?"));
        f->Check[0]->click();
        f->Check[2]->click();

        fx_->services->messages.expectMessage(kQuitter, services::Answer::No);
        f->AnnulerQuestion->click();
        QVERIFY(f->Frame3->isVisible());
        QVERIFY(fx_->minuterie(f)->isEnabled());

        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
        f->AnnulerQuestion->click();
        QVERIFY(f->Frame5->isVisible());
        QVERIFY(!fx_->minuterie(f)->isEnabled());
        QCOMPARE(f->Frame5->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 3 questions"));
        QCOMPARE(f->Frame5->Label28->text(), QStringLiteral("B1V (Evaluation) du 06/12/01"));
        QVERIFY(f->Frame5->Retourner == nullptr);
        // In evaluation the list does not lead back.
        gui::cliquerLigne(f->Frame5->List1, 0);
        QVERIFY(f->Frame5->isVisible());
        gui::photographier(f, QStringLiteral("evaluation-frame5"));
    }

    void aSecondSessionOnTheSameDayGetsTheNextSuffix() {
        commencer(true, QStringLiteral("B1V"), QStringLiteral("Jean"), QStringLiteral("Dupont"), {});
        const QString premier = fx_->chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
        QFile f1(premier);
        QVERIFY(f1.open(QIODevice::ReadOnly));
        const QByteArray avant = f1.readAll();
        f1.close();
        QDir::setCurrent(fx_->dossier->path());
        commencer(true, QStringLiteral("B1V"), QStringLiteral("Jean"), QStringLiteral("Dupont"), {});
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("JDupont-B1V-Ex-061201-1.mdb"))));
        QDir::setCurrent(fx_->dossier->path());
        commencer(false, QStringLiteral("B1V"), QStringLiteral("Jean"), QStringLiteral("Dupont"), {});
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("JDupont-B1V-061201.mdb"))));
        QVERIFY(f1.open(QIODevice::ReadOnly));
        QCOMPARE(f1.readAll(), avant);
    }

    void aNameThatCannotBeAFileNameIsRefused_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("prenom");
        QTest::newRow("barre oblique") << QStringLiteral("Du/pont") << QString();
        QTest::newRow("chevrons") << QStringLiteral("<Dupont>") << QString();
        QTest::newRow("barre inverse") << QStringLiteral("Du\\pont") << QString();
        QTest::newRow("deux-points") << QStringLiteral("C:Dupont") << QString();
        QTest::newRow("caractère de contrôle") << QStringLiteral("Du\tpont") << QString();
        QTest::newRow("prénom commençant par une étoile") << QStringLiteral("Dupont") << QStringLiteral("*Jean");
    }

    void aNameThatCannotBeAFileNameIsRefused() {
        QFETCH(QString, nom);
        QFETCH(QString, prenom);
        session::FormeTest* f = fx_->ouvrir(true);
        gui::cliquerLigne(f->listefichier, 0);
        f->OkTest->click();
        f->Text1->setText(nom);
        f->Text2->setText(prenom);
        f->OkNom->setEnabled(true);
        fx_->services->messages.expectMessage({});
        f->OkNom->click();
        QVERIFY(f->Frame1->isVisible());
        QCOMPARE(QDir(fx_->dossier->path()).entryList({QStringLiteral("*.mdb")}, QDir::Files).size(), 1);
        // Accents and blanks are fine, and so is what the file name does not take of the first name.
        f->Text1->setText(QStringLiteral("Lefèvre du Pré"));
        f->Text2->setText(QStringLiteral("Éloïse/Marie"));
        fx_->services->messages.expectMessage({});
        f->OkNom->click();
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("ÉLefèvre du Pré-B1V-Ex-061201.mdb"))));
    }

    void aFailureToCreateTheFileLetsTheCandidateChooseAnotherFolder() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("perdu"));
        session::FormeTest* f = fx_->ouvrir(true);
        gui::cliquerLigne(f->listefichier, 0);
        f->OkTest->click();
        f->listerepertoire->setPath(fx_->chemin(QStringLiteral("perdu")));
        QVERIFY(QDir(fx_->chemin(QStringLiteral("perdu"))).removeRecursively());
        f->Text1->setText(QStringLiteral("Dupont"));
        f->OkNom->setEnabled(true);
        fx_->services->messages.expectMessage({});
        f->OkNom->click();
        QVERIFY(fx_->services->messages.last().prompt.startsWith(QStringLiteral("Erreur")));
        QVERIFY(f->Frame1->isVisible());
        QVERIFY(Commun::BaseTest.isOpen());

        f->listerepertoire->setPath(fx_->dossier->path());
        fx_->services->messages.expectMessage({});
        f->OkNom->click();
        QVERIFY(f->Frame3->isVisible());
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("Dupont-B1V-Ex-061201.mdb"))));
    }

    void theCountdown() {
        session::FormeTest* f =
            commencer(false, QStringLiteral("B1V"), QStringLiteral("Jean"), QStringLiteral("Dupont"), {});
        doubles::ManualTimer* t = fx_->minuterie(f);
        QCOMPARE(t->interval(), 1000);
        QVERIFY(t->fire());
        QCOMPARE(f->Text4->text(), QStringLiteral("1 mn 29 s"));
        for (int i = 0; i < 88; ++i) {
            t->fire();
        }
        QCOMPARE(f->Text4->text(), QStringLiteral("0 mn 1 s"));
        fx_->services->messages.expectMessage(
            QStringLiteral("Le temps imparti est écoulé, le test est normalement terminé"));
        t->fire();
        QCOMPARE(f->Text4->text(), QStringLiteral("0 mn 0 s"));
        QVERIFY(!t->isEnabled());
        QVERIFY(!t->fire());
        f->Suivant->click();
        QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 2"));
    }

    void evaluationTimeOutWhileGivingUpFinishesOnce() {
        fixtures::creerTest(fx_->chemin(QStringLiteral("court.mdb")), 1, 50, kChapitres, troisQuestions());
        session::FormeTest* f =
            commencer(true, QStringLiteral("court"), QStringLiteral("Jean"), QStringLiteral("Dupont"), {}, 50);
        f->Check[0]->click();
        f->Check[2]->click();
        doubles::ManualTimer* t = fx_->minuterie(f);
        fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes, [&] {
            fx_->services->messages.expectMessage(QStringLiteral("Le temps imparti est écoulé, le test est terminé"));
            t->fire();
        });
        f->AnnulerQuestion->click();
        QVERIFY(f->Frame5->isVisible());
        QCOMPARE(f->Frame5->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 3 questions"));
    }

    void aLargeTestRunsInBothModes() {
        fixtures::creerTest(fx_->chemin(QStringLiteral("grand.mdb")), 3600, 50, kChapitres,
                            fixtures::questionsSimples(2000));
        for (bool examen : {false, true}) {
            QDir::setCurrent(fx_->dossier->path());
            QElapsedTimer chrono;
            chrono.start();
            session::FormeTest* f =
                commencer(examen, QStringLiteral("grand"), QStringLiteral("Jean"), QStringLiteral("Dupont"), {}, 50);
            const qint64 demarrage = chrono.elapsed();
            QCOMPARE(f->etat.NbQuestions, 2000);
            std::vector<int> vus(f->etat.Ordre.begin(), f->etat.Ordre.begin() + 2000);
            std::sort(vus.begin(), vus.end());
            for (int i = 0; i < 2000; ++i) {
                QCOMPARE(vus[static_cast<std::size_t>(i)], i);
            }
            f->Check[0]->click();
            f->Suivant->click();
            QCOMPARE(f->Label31->text(), QStringLiteral("Question n° 2"));
            fx_->services->messages.expectMessage(kQuitter, services::Answer::Yes);
            chrono.restart();
            f->AnnulerQuestion->click();
            QCOMPARE(f->Frame5->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 2000 questions"));
            qInfo("2000 questions, %s: start %lld ms, results %lld ms", examen ? "evaluation" : "training", demarrage,
                  chrono.elapsed());
        }
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
