#include "data/images.h"
#include "support/scenarios.h"
#include "widgets/lectureimage.h"
#include "widgets/vignette.h"

#include <QBuffer>
#include <QPainter>

using namespace kelvane;
using namespace scenario;

namespace {
const QString kFichier = QStringLiteral("JDupont-B1V-061201.mdb");

// A warning sign as a PNG: a yellow triangle edged in black.
QByteArray panneau(int cote) {
    QImage image(cote, cote, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(Qt::black, cote / 16.0));
    peintre.setBrush(QColor(255, 204, 0));
    peintre.drawPolygon(QPolygonF(
        {QPointF(cote / 2.0, cote * 0.08), QPointF(cote * 0.94, cote * 0.9), QPointF(cote * 0.06, cote * 0.9)}));
    peintre.end();
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, "PNG");
    return octets;
}
} // namespace

// The resumption of a begun training test, the countdown's ends and the printed report, seen from the test forms.
class TestReprise : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    // A training begun and left on question 2 after 30 seconds: question 1 ticked right, question 2 ticked wrong.
    // The form is then gone, as at the end of a run, so that nothing of it holds the file.
    void laisserEnCours() {
        const ecrans::EcranTest e = commencer(*fx_, false, QStringLiteral("B1V"), {}, 50);
        e->Check[0]->click();
        e->Suivant->click();
        e->Check[1]->click();
        tic(*fx_, e, 30);
        // Closing the window in the middle records the answer on screen.
        fx_->services->messages.expectMessage(kQuitter, Answer::Yes);
        e.forme->close();
        QVERIFY(!e.forme->isVisible());
        fx_->formes.clear();
        QDir::setCurrent(fx_->dossier->path());
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 90, 50, {{QStringLiteral("Généralités"), 1}},
                            fixtures::questionsSimples(4));
    }
    void cleanup() {
        QVERIFY(fx_->services->messages.allAnswered());
        fx_.reset();
    }

    // A resumed training opens on question 1 with its recorded answers and the whole time again, whether the file
    // was chosen with the mouse or only with the keyboard, and whatever the case of its extension.
    void aTrainingLeftHalfwayResumes_data() {
        QTest::addColumn<Geste>("geste");
        QTest::addColumn<QString>("fichier");
        QTest::newRow("souris") << Geste::Souris << kFichier;
        QTest::newRow("clavier") << Geste::Clavier << kFichier;
        QTest::newRow("extension en capitales") << Geste::Clavier << QStringLiteral("JDupont-B1V-061201.MDB");
    }
    void aTrainingLeftHalfwayResumes() {
        QFETCH(Geste, geste);
        QFETCH(QString, fichier);
        laisserEnCours();
        if (fichier != kFichier) {
            QVERIFY(QFile::rename(fx_->chemin(kFichier), fx_->chemin(fichier)));
            if (!QDir(fx_->dossier->path()).entryList(QDir::Files).contains(fichier)) {
                QSKIP("this file system keeps a name's case through a rename that only changes it (Wine)");
            }
        }
        const ecrans::EcranTest e = fx_->ouvrir(false);
        QCOMPARE(gui::lignes(e->List3), QStringList{fichier});
        choisir(e, e->List3, fichier, geste);
        QCOMPARE(e->nombase->text(), QStringLiteral("JDupont-B1V-061201"));
        QCOMPARE(fond(e->OkTest), kRose);
        fx_->services->messages.expectMessage(annonce(50));
        presser(e.forme, e->OkTest, geste);
        QVERIFY(e->Frame3->isVisible() && e->Frame2->isHidden());
        QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 1"));
        QCOMPARE(e->Label5->text(), QStringLiteral("Jean DUPONT 1A"));
        QCOMPARE(e->Label7->text(), QStringLiteral("B1V (Entrainement)"));
        QCOMPARE(e->Label6->text(), fichier);
        QVERIFY(e->Check[0]->isChecked());
        QVERIFY(fx_->minuterie(e)->fire());
        QCOMPARE(e->Text4->text(), QStringLiteral("1 mn 29 s"));
        e->Suivant->click();
        QVERIFY(e->Check[1]->isChecked() && !e->Check[0]->isChecked());
        // The answers go on into the same file.
        abandonner(*fx_, e);
        QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 4 questions"));
        QCOMPARE(fichiersMdb(fx_->dossier->path()), (QStringList{QStringLiteral("B1V.mdb"), fichier}));
    }

    // The pictures travel in the results file: a training resumed after its test is gone still shows them, and a
    // picture that cannot be decoded shows its placeholder without stopping the session.
    void aResumedTrainingShowsItsPicturesWithoutTheTest() {
        {
            db::Database base = db::OpenDatabase(fx_->chemin(QStringLiteral("B1V.mdb")));
            data::ImagesTest images;
            images[1].question = data::Image{QStringLiteral("danger.png"), panneau(256)};
            images[1].reponses[1] = data::Image{QStringLiteral("petit.png"), panneau(40)};
            images[2].question = data::Image{QStringLiteral("abîmé.png"), panneau(64).left(70)};
            data::ecrireImages(base, images);
        }
        laisserEnCours();
        QVERIFY(QFile::remove(fx_->chemin(QStringLiteral("B1V.mdb"))));
        const ecrans::EcranTest e = fx_->ouvrir(false);
        choisir(e, e->List3, kFichier);
        fx_->services->messages.expectMessage(annonce(50));
        e->OkTest->click();
        const auto vignette = [&e](const char* nom) {
            return e.forme->findChild<widgets::Vignette*>(QLatin1String(nom));
        };
        QVERIFY(vignette("ImageQuestion")->isVisible() && vignette("ImageQuestion")->estLisible());
        QVERIFY(vignette("ImageReponse2")->isVisible() && vignette("ImageReponse1")->isHidden());
        QVERIFY(!vignette("ImageQuestion")->pixmap().isNull());
        gui::photographier(e.forme, QStringLiteral("question-image"), QStringLiteral("question-image"));
        e->Suivant->click();
        QCOMPARE(vignette("ImageQuestion")->text(), widgets::kImageIllisible);
        QVERIFY(vignette("ImageReponse2")->isHidden());
        e->Suivant->click();
        QVERIFY(vignette("ImageQuestion")->isHidden());
        abandonner(*fx_, e);
    }

    void aDamagedBegunFileIsRefusedAndTheChoiceCanBeMadeAgain() {
        laisserEnCours();
        const ecrans::EcranTest e = fx_->ouvrir(false);
        gui::cliquerLigne(e->List3, 0);
        {
            // The file is damaged after the scan listed it: its question table is gone.
            QFile fichier(fx_->chemin(kFichier));
            QVERIFY(fichier.open(QIODevice::ReadWrite));
            const QByteArray debut = fichier.read(4096);
            fichier.resize(0);
            fichier.write(debut);
        }
        fx_->services->messages.expectMessage({});
        e->OkTest->click();
        QVERIFY(fx_->services->messages.last().prompt.startsWith(QStringLiteral("Erreur")));
        QVERIFY(e->Frame2->isVisible());
        QVERIFY(!tenuOuvert(fx_->chemin(kFichier)));
        gui::cliquerLigne(e->listefichier, 0);
        e->OkTest->click();
        QVERIFY(e->Frame1->isVisible());
    }

    // At zero, evaluation ends with the answer on screen recorded; training only warns and goes on.
    void theTimeRunsOut_data() {
        QTest::addColumn<bool>("examen");
        QTest::addColumn<QString>("message");
        QTest::newRow("entrainement") << false
                                      << QStringLiteral("Le temps imparti est écoulé, le test est normalement terminé");
        QTest::newRow("évaluation") << true << QStringLiteral("Le temps imparti est écoulé, le test est terminé");
    }
    void theTimeRunsOut() {
        QFETCH(bool, examen);
        QFETCH(QString, message);
        const ecrans::EcranTest e = commencer(*fx_, examen, QStringLiteral("B1V"), {}, 50);
        doubles::ManualTimer* t = fx_->minuterie(e);
        QCOMPARE(t->interval(), 1000);
        e->Check[0]->click();
        QVERIFY(t->fire());
        QCOMPARE(e->Text4->text(), QStringLiteral("1 mn 29 s"));
        tic(*fx_, e, 88);
        QCOMPARE(e->Text4->text(), QStringLiteral("0 mn 1 s"));
        fx_->services->messages.expectMessage(message);
        t->fire();
        QVERIFY(!t->isEnabled());
        QVERIFY(!t->fire());
        QCOMPARE(e->Text4->text(), QStringLiteral("0 mn 0 s"));
        if (examen) {
            QVERIFY(e->Frame5->isVisible());
            QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 4 questions"));
        } else {
            e->Suivant->click();
            QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 2"));
        }
    }

    // Finishing stops the countdown; going back to the questions starts it again only while time is left.
    void theWaysBackRestartTheCountdownOnlyWithTimeLeft() {
        const ecrans::EcranTest e = commencer(*fx_, false, QStringLiteral("B1V"), {}, 50);
        doubles::ManualTimer* t = fx_->minuterie(e);
        t->fire();
        abandonner(*fx_, e);
        QVERIFY(!t->isEnabled());
        e->Retourner->click();
        QVERIFY(t->isEnabled());
        t->fire();
        QCOMPARE(e->Text4->text(), QStringLiteral("1 mn 28 s"));
        tic(*fx_, e, 87);
        fx_->services->messages.expectMessage(
            QStringLiteral("Le temps imparti est écoulé, le test est normalement terminé"));
        t->fire();
        abandonner(*fx_, e);
        gui::cliquerLigne(e->List1, 1);
        QVERIFY(e->Frame3->isVisible());
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
        const ecrans::EcranTest e = commencer(*fx_, examen, QStringLiteral("libre"), {}, 50);
        QVERIFY(!fx_->minuterie(e)->isEnabled());
        e->Suivant->click();
        e->Suivant->click();
        QVERIFY(e->Frame5->isVisible());
        gui::cliquerLigne(e->List1, 0);
        QVERIFY(!fx_->minuterie(e)->isEnabled());
        QCOMPARE(e->Text4->text(), QString());
    }

    void thePrintButtonPrintsTheReportOfTheSession() {
        const ecrans::EcranTest e = commencer(*fx_, true, QStringLiteral("B1V"), {}, 50);
        e->Check[0]->click();
        abandonner(*fx_, e);
        e->ImprimerResultat->click();
        const QStringList lignes = fx_->services->printer.texts();
        QCOMPARE(fx_->services->printer.documentsEnded, 1);
        QVERIFY2(lignes.size() == 9, qPrintable(lignes.join(QLatin1Char('\n'))));
        QCOMPARE(lignes.at(0), QStringLiteral(" Jean DUPONT - 1A - Habilitation: B1V - Le 06/12/01"));
        QCOMPARE(lignes.at(2), QStringLiteral("    Vous avez  1 bonnes réponses sur  4  Questions soit  25 %"));
        QCOMPARE(lignes.at(3), QStringLiteral("    Vous n'êtes pas Habilité(e)"));
        QVERIFY(lignes.at(5).startsWith(QStringLiteral("    Question numéro 1 ?")));
        QCOMPARE(lignes.at(5).indexOf(QStringLiteral("Oui")), 109);
        QVERIFY(lignes.at(8).endsWith(QStringLiteral("Non")));
    }
};

QTEST_MAIN(TestReprise)
#include "tst_reprise.moc"
