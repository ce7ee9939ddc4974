#include "app/application.h"
#include "app/commun.h"
#include "app/formes.h"
#include "app/menu.h"
#include "session/formetest.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"
#include "widgets/twips.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace kelvane;
using namespace kelvane::doubles;
using services::Buttons::OkOnly;

namespace {
const QString kAvertissement = QStringLiteral(" Avertissement");
const QString kPasDeCode = QStringLiteral("Aucun Code secret est valide\rCréer votre propre code");
const QString kErrone = QStringLiteral("Le code est érroné. Recommencer");
const QString kTroisieme = QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé");
} // namespace

class TestMenu : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<doubles::ScriptedServices> s_;
    QString ancien_;

    // The program started in a folder holding a settings database with this code.
    std::unique_ptr<app::Menu> demarrer(const QVariant& code) {
        fixtures::creerHabilitation(dir_->filePath(QStringLiteral("habilitation.mdb")), code);
        auto menu = std::make_unique<app::Menu>();
        if (code.isNull() || !code.toString().isEmpty()) {
            [&] { QVERIFY(menu->Form_Load()); }();
        } else {
            s_->messages.expectMessage(kPasDeCode);
            [&] { QVERIFY(menu->Form_Load()); }();
        }
        return menu;
    }

    void taper(app::Menu& m, const QString& code, bool entree) {
        m.Text3->setFocus();
        QTest::keyClicks(m.Text3, code);
        if (entree) {
            QTest::keyClick(m.Text3, Qt::Key_Return);
        }
    }

private slots:
    void init() {
        ancien_ = QDir::currentPath();
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        s_ = std::make_unique<doubles::ScriptedServices>();
    }

    void cleanup() {
        QCOMPARE(s_->messages.pending(), 0);
        Commun::reinitialiser();
        s_.reset();
        QDir::setCurrent(ancien_);
        dir_.reset();
    }

    void startupWarningFollowsTheStoredCode() {
        auto m = demarrer(QString());
        QCOMPARE(s_->messages.shown().size(), 1);
        QCOMPARE(s_->messages.last().title, kAvertissement);
        QCOMPARE(s_->messages.last().buttons, services::Buttons::OkOnly);
        QCOMPARE(Commun::RsHabilitation.AbsolutePosition(), 0);
        QCOMPARE(QDir(Commun::RepertoireAppli), QDir(dir_->path()));
        QCOMPARE(Commun::RepertoireInitial, Commun::RepertoireAppli);
        QVERIFY(m->Frame4->isHidden());
        Commun::reinitialiser();
        s_->messages.clear();

        QFile::remove(dir_->filePath(QStringLiteral("habilitation.mdb")));
        auto m2 = demarrer(QStringLiteral("SECRET"));
        QVERIFY(s_->messages.shown().isEmpty());
        Commun::reinitialiser();

        // A null code is not the empty text: no warning, and only the master code will open the gate.
        QFile::remove(dir_->filePath(QStringLiteral("habilitation.mdb")));
        auto m3 = demarrer(QVariant());
        QVERIFY(s_->messages.shown().isEmpty());
    }

    void startupFailureShowsTheErrorAndEndsWithNonZeroStatus_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("numero");
        QTest::newRow("fichier absent") << QByteArray() << 3024;
        QTest::newRow("pas une base") << QByteArray("ceci n'est pas une base de données, loin de là") << 3343;
        QTest::newRow("sans table habilitation") << QByteArray("@autre") << 3078;
        QTest::newRow("table vide") << QByteArray("@vide") << 3021;
    }

    void startupFailureShowsTheErrorAndEndsWithNonZeroStatus() {
        QFETCH(QByteArray, contenu);
        QFETCH(int, numero);
        const QString chemin = dir_->filePath(QStringLiteral("habilitation.mdb"));
        if (contenu == "@autre" || contenu == "@vide") {
            db::Database base = db::CreateDatabase(chemin);
            db::TableDef t = base.CreateTableDef(contenu == "@autre" ? QStringLiteral("parametres")
                                                                     : QStringLiteral("habilitation"));
            t.Fields().Append(t.CreateField(QStringLiteral("code"), db::FieldType::Text, 20));
            base.TableDefs().Append(t);
            base.Close();
        } else if (!contenu.isEmpty()) {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenu);
        }
        s_->messages.expectMessage({});
        const int statut = app::executer(*[this] {
            static services::Services services;
            services = services::installed();
            return &services;
        }());
        QVERIFY(statut != 0);
        QCOMPARE(s_->messages.shown().size(), 1);
        const QString texte = s_->messages.last().prompt;
        QVERIFY2(texte.startsWith(QStringLiteral("Erreur %1").arg(numero)), qPrintable(texte));
        QVERIFY2(texte.contains(QStringLiteral("habilitation.mdb")), qPrintable(texte));
    }

    void menuLooksAsDrawn() {
        auto m = demarrer(QStringLiteral("X"));
        m->show();
        QVERIFY(QTest::qWaitForWindowExposed(m.get()));
        QCOMPARE(m->size(), widgets::twipsSize(8220, 1455, m.get()));
        QCOMPARE(m->Entrainement->geometry(), widgets::twipsRect(120, 720, 1575, 495, m.get()));
        QCOMPARE(m->Resultats->objectName(), QStringLiteral("Résultats"));
        QCOMPARE(m->Interro->text(), QStringLiteral("Evaluation"));
        QCOMPARE(m->Resultats->toolTip(), QStringLiteral("Permet de visualiser les résultats des élèves"));
        QCOMPARE(m->Label1->font().family(), QStringLiteral("Arial"));
        QVERIFY(m->Label1->font().bold() && m->Label1->font().italic());

        const QImage image = m->grab().toImage();
        image.save(QCoreApplication::applicationDirPath() + QStringLiteral("/menu.png"));
        QCOMPARE(image.pixelColor(image.width() - 3, 3), QColor(192, 192, 255));

        m->Resultats->click();
        QVERIFY(m->Frame4->isVisible());
        QVERIFY(!m->OkMotdePasse->isEnabled());
        const QImage cadre = m->grab().toImage();
        cadre.save(QCoreApplication::applicationDirPath() + QStringLiteral("/menu-code.png"));
        const QPoint dansCadre = m->Frame4->geometry().topLeft() + QPoint(6, m->Frame4->height() - 4);
        QCOMPARE(cadre.pixelColor(dansCadre), QColor(255, 224, 192));
    }

    void buttonsOpenTheirForms() {
        auto m = demarrer(QStringLiteral("X"));
        QStringList ouverts;
        m->afficherEssayerTest = [&] { ouverts << QStringLiteral("EssayerTest"); };
        m->afficherEvaluation = [&] { ouverts << QStringLiteral("Evaluation"); };
        m->afficherMotPasse = [&] { ouverts << QStringLiteral("MotPasse"); };
        m->Entrainement->click();
        m->Interro->click();
        m->Resultats->click();
        m->ChangerMotPasse->click();
        QCOMPARE(ouverts, (QStringList{QStringLiteral("EssayerTest"), QStringLiteral("Evaluation"),
                                       QStringLiteral("MotPasse")}));
    }

    // The menu's buttons open the real forms, modal, and the menu resumes when they close.
    void theMenuOpensTheTestFormsModal() {
        fixtures::creerTest(dir_->filePath(QStringLiteral("B1V.mdb")), 60, 50, {{QStringLiteral("C"), 1}},
                            fixtures::questionsSimples(2));
        auto m = demarrer(QStringLiteral("X"));
        app::Formes formes;
        formes.brancher(*m);
        m->show();
        for (const QString& nom : {QStringLiteral("EssayerTest"), QStringLiteral("Evaluation")}) {
            QString vu;
            QTimer::singleShot(0, this, [&] {
                auto* forme = qobject_cast<session::FormeTest*>(QApplication::activeModalWidget());
                QVERIFY(forme != nullptr);
                vu = forme->objectName();
                QCOMPARE(forme->listefichier->count(), 1);
                s_->messages.expectMessage(QStringLiteral("Etes vous sûr de vouloir quitter le test?"),
                                           services::Answer::Yes);
                forme->Annuler->click();
            });
            (nom == QStringLiteral("EssayerTest") ? m->Entrainement : m->Interro)->click();
            QCOMPARE(vu, nom);
        }
    }

    // Each row: the stored code, what is typed ("\n" ends with Enter, otherwise OK is clicked), the messages
    // expected in order, how many times the viewer opened, and whether the program was told to end.
    void codeGate_data() {
        QTest::addColumn<QVariant>("stocke");
        QTest::addColumn<QStringList>("saisies");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("ouvertures");
        QTest::addColumn<bool>("fin");
        const QVariant prof(QStringLiteral("PROF"));
        QTest::newRow("code stocké tapé en minuscules") << prof << QStringList{"prof\n"} << QStringList{} << 1 << false;
        QTest::newRow("code maître en casse mêlée") << prof << QStringList{"TriVolk"} << QStringList{} << 1 << false;
        QTest::newRow("deux faux puis le bon")
            << prof << QStringList{"a\n", "b", "prof\n"} << QStringList{kErrone, kErrone} << 1 << false;
        QTest::newRow("trois faux") << prof << QStringList{"a\n", "b\n", "c\n"}
                                    << QStringList{kErrone, kErrone, kTroisieme} << 0 << true;
        QTest::newRow("le compte continue après un bon code") << prof << QStringList{"a\n", "prof\n", "b\n", "c\n"}
                                                              << QStringList{kErrone, kErrone, kTroisieme} << 1 << true;
        QTest::newRow("code vide: Entrée dans la boîte vide")
            << QVariant(QString()) << QStringList{"\n"} << QStringList{} << 1 << false;
        QTest::newRow("code nul: seul le maître ouvre")
            << QVariant() << QStringList{"\n", "trivolk\n"} << QStringList{kErrone} << 1 << false;
    }

    void codeGate() {
        QFETCH(QVariant, stocke);
        QFETCH(QStringList, saisies);
        QFETCH(QStringList, messages);
        QFETCH(int, ouvertures);
        QFETCH(bool, fin);
        auto m = demarrer(stocke);
        m->show();
        s_->messages.clear();
        int vues = 0;
        bool finDemandee = false;
        m->afficherVisualisation = [&] { ++vues; };
        m->fermerLogiciel = [&] { finDemandee = true; };
        m->Resultats->click();
        for (const QString& message : messages) {
            s_->messages.expectMessage(message);
        }
        for (QString saisie : saisies) {
            const bool entree = saisie.endsWith(QLatin1Char('\n'));
            if (entree) {
                saisie.chop(1);
            }
            taper(*m, saisie, entree);
            if (!entree) {
                m->OkMotdePasse->click();
            }
        }
        QCOMPARE(vues, ouvertures);
        QCOMPARE(finDemandee, fin);
        for (const auto& vu : s_->messages.shown()) {
            QCOMPARE(vu.title, kAvertissement);
        }
    }

    // Enter runs the check even while OK is disabled, on the text left in the box by an earlier Annuler.
    void enterChecksWhileOkIsDisabled() {
        auto m = demarrer(QStringLiteral("PROF"));
        m->show();
        int vues = 0;
        m->afficherVisualisation = [&] { ++vues; };
        m->Resultats->click();
        taper(*m, QStringLiteral("prof"), false);
        m->AnnulerMotdePasse->click();
        QVERIFY(m->Frame4->isHidden());
        m->Resultats->click();
        QVERIFY(!m->OkMotdePasse->isEnabled());
        QCOMPARE(m->Text3->text(), QStringLiteral("prof"));
        QTest::keyClick(m->Text3, Qt::Key_Return);
        QCOMPARE(vues, 1);
        // After the viewer closes the frame is still there, with the code in its box.
        QVERIFY(m->Frame4->isVisible());
        QCOMPARE(m->Text3->text(), QStringLiteral("prof"));
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
