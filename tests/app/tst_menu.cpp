#include "app/application.h"
#include "desktop/presentation.h"
#include "platform/db/database.h"
#include "support/programme.h"
#include "widgets/twips.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>

using namespace kelvane;
using services::Answer;

namespace {
const QString kAvertissement = QStringLiteral(" Avertissement");
const QString kPasDeCode = QStringLiteral("Aucun Code secret est valide\rCréer votre propre code");
const QString kErrone = QStringLiteral("Le code est érroné. Recommencer");
const QString kTroisieme = QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé");

QWidget* fenetre(const QString& nom) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == nom && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

// Runs the program in the fixture's folder; `scenario` runs once the menu waits for its buttons, and the menu is
// closed after it whatever it checked.
int executer(FormeFixture& fx, const std::function<void(const ecrans::EcranCode&)>& scenario) {
    QTimer::singleShot(0, [&] {
        QWidget* menu = fenetre(QStringLiteral("Menu"));
        QVERIFY(menu != nullptr);
        scenario(ecrans::EcranCode(menu));
        menu->close();
    });
    return app::executer(fx.services->all());
}
} // namespace

class TestMenu : public QObject {
    Q_OBJECT

private slots:
    // Each row: the stored code, and whether the start warns that no code is set.
    void startupWarnsWhenNoCodeIsSet_data() {
        QTest::addColumn<QVariant>("code");
        QTest::addColumn<bool>("avertit");
        QTest::newRow("code vide") << QVariant(QString()) << true;
        QTest::newRow("code") << QVariant(QStringLiteral("SECRET")) << false;
        // A null is not the empty text: no warning, and only the master code opens the gate.
        QTest::newRow("code nul") << QVariant() << false;
    }

    void startupWarnsWhenNoCodeIsSet() {
        QFETCH(QVariant, code);
        QFETCH(bool, avertit);
        FormeFixture fx;
        fixtures::creerHabilitation(fx.chemin(QStringLiteral("habilitation.mdb")), code);
        if (avertit) {
            fx.services->messages.expectMessage(kPasDeCode);
        }
        bool cadreCache = false;
        const int statut = executer(fx, [&](const ecrans::EcranCode& m) { cadreCache = m.Frame4->isHidden(); });
        QCOMPARE(statut, 0);
        QVERIFY(cadreCache);
        QCOMPARE(fx.services->messages.shown().size(), avertit ? 1 : 0);
        if (avertit) {
            QCOMPARE(fx.services->messages.last().title, kAvertissement);
            QCOMPARE(fx.services->messages.last().buttons, services::Buttons::OkOnly);
        }
    }

    // Each row: what lies at habilitation.mdb (nothing, bytes, or a database with that one empty table) and the
    // engine error shown before the program ends.
    void startupFailureShowsTheErrorAndEndsWithNonZeroStatus_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("numero");
        QTest::newRow("fichier absent") << QByteArray() << QString() << 3024;
        QTest::newRow("pas une base") << QByteArray("ceci n'est pas une base de données, loin de là") << QString()
                                      << 3343;
        QTest::newRow("sans table habilitation") << QByteArray() << QStringLiteral("parametres") << 3078;
        QTest::newRow("table vide") << QByteArray() << QStringLiteral("habilitation") << 3021;
    }

    void startupFailureShowsTheErrorAndEndsWithNonZeroStatus() {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, table);
        QFETCH(int, numero);
        FormeFixture fx;
        const QString chemin = fx.chemin(QStringLiteral("habilitation.mdb"));
        if (!table.isEmpty()) {
            db::Database base = db::CreateDatabase(chemin);
            db::TableDef t = base.CreateTableDef(table);
            t.Fields().Append(t.CreateField(QStringLiteral("code"), db::FieldType::Text, 20));
            base.TableDefs().Append(t);
            base.Close();
        } else if (!contenu.isEmpty()) {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenu);
        }
        fx.services->messages.expectMessage({});
        QVERIFY(app::executer(fx.services->all()) != 0);
        QCOMPARE(fx.services->messages.shown().size(), 1);
        const QString texte = fx.services->messages.last().prompt;
        QVERIFY2(texte.startsWith(QStringLiteral("Erreur %1").arg(numero)), qPrintable(texte));
        QVERIFY2(texte.contains(QStringLiteral("habilitation.mdb")), qPrintable(texte));
        QVERIFY2(
            texte.contains(QStringLiteral("Kelvane cherche habilitation.mdb dans le dossier où il démarre : « %1 »")
                               .arg(QDir::toNativeSeparators(fx.dossier->path()))),
            qPrintable(texte));
    }

    // The program's road with the keyboard alone: the menu in the middle of the screen, Résultats puts the focus
    // in the code box, whose characters show as "*", Enter opens the viewer, the code change asks the code in its
    // own box, then its new code; each window opens centred, even when it was moved away the time before;
    // Quitter ends the program.
    void theKeyboardAloneGoesThroughTheProgram() {
        FormeFixture fx;
        fixtures::creerHabilitation(fx.chemin(QStringLiteral("habilitation.mdb")), QStringLiteral("PROF"));
        Modales modales;
        int etapes = 0;
        modales.action = [&](QWidget* w) {
            [&] {
                QVERIFY(QTest::qWaitForWindowActive(w));
                QVERIFY2(centree(w), qPrintable(QStringLiteral("%1 : cadre %2,%3 %4x%5 dans %6x%7")
                                                    .arg(w->objectName())
                                                    .arg(w->frameGeometry().x())
                                                    .arg(w->frameGeometry().y())
                                                    .arg(w->frameGeometry().width())
                                                    .arg(w->frameGeometry().height())
                                                    .arg(w->screen()->availableGeometry().width())
                                                    .arg(w->screen()->availableGeometry().height())));
                if (w->objectName() != QStringLiteral("MotPasse")) {
                    return;
                }
                const ecrans::EcranCode f(w);
                QCOMPARE(QApplication::focusWidget(), f.Text3);
                taper(QApplication::focusWidget(), QStringLiteral("prof"), true);
                QVERIFY(f.Frame1->isVisible());
                QCOMPARE(QApplication::focusWidget(), f.Text1);
                ++etapes;
            }();
            w->move(0, 0);
            w->close();
        };
        const int statut = executer(fx, [&](const ecrans::EcranCode& m) {
            QVERIFY(QTest::qWaitForWindowActive(m.fenetre));
            QVERIFY(centree(m.fenetre));
            QTest::keyClick(m.Resultats, Qt::Key_Space);
            QVERIFY(m.Frame4->isVisible());
            QCOMPARE(QApplication::focusWidget(), m.Text3);
            taper(QApplication::focusWidget(), QStringLiteral("prof"));
            QCOMPARE(m.Text3->displayText(), QStringLiteral("****"));
            gui::photographier(m.fenetre, QStringLiteral("menu-code"));
            for (int fois = 0; fois < 2; ++fois) {
                QTest::keyClick(m.Text3, Qt::Key_Return);
                QTest::keyClick(m.ChangerMotPasse, Qt::Key_Space);
            }
        });
        QCOMPARE(statut, 0);
        const QStringList deux{QStringLiteral("Visualisation"), QStringLiteral("MotPasse")};
        QCOMPARE(modales.ouvertes, deux + deux);
        QCOMPARE(etapes, 2);
    }

    void menuLooksAsDrawn() {
        Programme p(QStringLiteral("X"));
        const ecrans::EcranCode m = p.menu();
        QWidget* menu = m.fenetre;
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(menu->size(), widgets::twipsSize(8220, 1455, menu));
        QCOMPARE(m.Entrainement->geometry(), widgets::twipsRect(120, 720, 1575, 495, menu));
        QCOMPARE(m.Interro->text(), QStringLiteral("Evaluation"));
        QCOMPARE(m.Resultats->toolTip(), QStringLiteral("Permet de visualiser les résultats des élèves"));
        auto* banniere = menu->findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(banniere->font().family(), QStringLiteral("Arial"));
        QVERIFY(banniere->font().bold() && banniere->font().italic());
        const QImage image = menu->grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 3, 3), QColor(192, 192, 255));

        m.Resultats->click();
        QVERIFY(m.Frame4->isVisible());
        QVERIFY(!m.OkMotdePasse->isEnabled());
        const QImage cadre = menu->grab().toImage();
        gui::photographier(menu, QStringLiteral("menu-code-vide"));
        QCOMPARE(cadre.pixelColor(m.Frame4->geometry().topLeft() + QPoint(6, m.Frame4->height() - 4)),
                 QColor(255, 224, 192));
    }

    // The menu's buttons open the real forms, modal, and the menu resumes when they close.
    void theMenuOpensItsFormsModal() {
        Programme p(QStringLiteral("PROF"));
        fixtures::creerTest(p.fx.chemin(QStringLiteral("B1V.mdb")), 60, 50, {{QStringLiteral("C"), 1}},
                            fixtures::questionsSimples(2));
        Modales modales;
        modales.action = [&](QWidget* w) {
            if (w->objectName() == QStringLiteral("EssayerTest") || w->objectName() == QStringLiteral("Evaluation")) {
                const ecrans::EcranTest f(w);
                QCOMPARE(f.listefichier->count(), 1);
                p.fx.services->messages.expectMessage(QStringLiteral("Etes vous sûr de vouloir quitter le test?"),
                                                      Answer::Yes);
                f.Annuler->click();
                return;
            }
            w->close();
        };
        const ecrans::EcranCode m = p.menu();
        m.Entrainement->click();
        m.Interro->click();
        m.Resultats->click();
        taper(m.Text3, QStringLiteral("prof"), true);
        m.ChangerMotPasse->click();
        QCOMPARE(modales.ouvertes, (QStringList{QStringLiteral("EssayerTest"), QStringLiteral("Evaluation"),
                                                QStringLiteral("Visualisation"), QStringLiteral("MotPasse")}));
        QVERIFY(m.fenetre->isVisible());
    }

    // Each row: the stored code, what is typed ("\n" ends with Enter, otherwise OK is clicked), the messages
    // expected in order, how many times the viewer opened, and whether the program ended.
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
        Programme p(stocke);
        Modales modales;
        const ecrans::EcranCode m = p.menu();
        m.Resultats->click();
        for (const QString& message : messages) {
            p.fx.services->messages.expectMessage(message);
        }
        for (QString saisie : saisies) {
            const bool entree = saisie.endsWith(QLatin1Char('\n'));
            saisie.remove(QLatin1Char('\n'));
            taper(m.Text3, saisie, entree);
            if (!entree) {
                m.OkMotdePasse->click();
            }
        }
        QCOMPARE(modales.ouvertes.count(QStringLiteral("Visualisation")), ouvertures);
        QCOMPARE(m.fenetre->isVisible(), !fin);
        for (const auto& vu : p.fx.services->messages.shown()) {
            QCOMPARE(vu.title, kAvertissement);
        }
        QVERIFY(p.fx.services->messages.allAnswered());
    }

    // The Enter that dismisses "érroné" comes back released in the code box: it is no new try, so the second
    // wrong code is still an ordinary one and the program goes on.
    void theEnterThatClosesTheMessageIsNoNewTry() {
        Programme p(QStringLiteral("PROF"));
        const ecrans::EcranCode m = p.menu();
        m.Resultats->click();
        taper(m.Text3, QStringLiteral("a"));
        entreeAvecMessage(p.fx.services->messages, m.Text3, kErrone);
        QCOMPARE(p.fx.services->messages.shown().size(), 1);
        taper(m.Text3, QStringLiteral("b"));
        entreeAvecMessage(p.fx.services->messages, m.Text3, kErrone);
        QCOMPARE(p.fx.services->messages.shown().size(), 2);
        QVERIFY(m.fenetre->isVisible() && m.Frame4->isVisible());
        QVERIFY(p.fx.services->messages.allAnswered());
    }

    // Enter runs the check even while OK is disabled, on the text left in the box by an earlier Annuler; the
    // frame stays open behind the viewer, with the code in its box.
    void enterChecksWhileOkIsDisabled() {
        Programme p(QStringLiteral("PROF"));
        Modales modales;
        const ecrans::EcranCode m = p.menu();
        m.Resultats->click();
        taper(m.Text3, QStringLiteral("prof"));
        m.AnnulerMotdePasse->click();
        QVERIFY(m.Frame4->isHidden());
        m.Resultats->click();
        QVERIFY(!m.OkMotdePasse->isEnabled());
        QCOMPARE(m.Text3->text(), QStringLiteral("prof"));
        QTest::keyClick(m.Text3, Qt::Key_Return);
        QCOMPARE(modales.ouvertes, QStringList{QStringLiteral("Visualisation")});
        QVERIFY(m.Frame4->isVisible());
        QCOMPARE(m.Text3->text(), QStringLiteral("prof"));
    }

    // Both programs' windows carry Kelvane's icon and belong to their menu entry; Qt's own buttons speak French (the
    // translations are a dependency of the package and of the build machine), and only while the program runs.
    void theProgramPresentsItselfInFrench() {
        {
            const desktop::Presentation presentation(QStringLiteral("kelvane"));
            QCOMPARE(QApplication::desktopFileName(), QStringLiteral("kelvane"));
            QVERIFY(!QApplication::applicationVersion().isEmpty());
            QCOMPARE(QApplication::windowIcon().actualSize(QSize(256, 256)), QSize(256, 256));
            QVERIFY(presentation.traductionQt());
            QDialogButtonBox boutons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
            QCOMPARE(boutons.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QStringLiteral("Annuler"));
        }
        QDialogButtonBox boutons(QDialogButtonBox::Cancel);
        QCOMPARE(boutons.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QStringLiteral("Cancel"));
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
