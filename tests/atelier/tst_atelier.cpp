#include "atelier/application.h"
#include "atelier/fenetreatelier.h"
#include "atelier/fichierstests.h"
#include "data/images.h"
#include "data/parametres.h"
#include "data/test.h"
#include "editeur/editeurtest.h"
#include "support/doubles/scriptedservices.h"
#include "support/erreurs.h"
#include "support/fixtures.h"
#include "support/gui.h"
#include "support/programme.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUndoStack>

using namespace kelvane;
using atelier::Acces;
using doubles::ScriptedDialogs;
using services::Answer;

namespace {

const QString kErrone = QStringLiteral("Le code est érroné. Recommencer");
const QString kTroisieme = QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé");

void ecrire(const QString& chemin, const QByteArray& contenu) {
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList fichiers(const QString& dossier) {
    return QDir(dossier).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A class folder, the workbench's services and, once opened, its window.
struct Atelier {
    Atelier() {
        reglages(QString());
        QDir(dossier.path()).mkdir(QStringLiteral("Images"));
    }
    ~Atelier() {
        if (fenetre) {
            fenetre->close();
        }
    }

    QString chemin(const QString& nom) const { return dossier.filePath(nom); }
    // The folder's settings file holding that code (null allowed), or none for "<absent>".
    void reglages(const QVariant& code) {
        QFile::remove(chemin(QStringLiteral("habilitation.mdb")));
        if (code != QVariant(QStringLiteral("<absent>"))) {
            fixtures::creerHabilitation(chemin(QStringLiteral("habilitation.mdb")), code);
        }
    }
    QString test(const QString& nom, int questions = 3) {
        fixtures::Test t;
        t.questions = fixtures::questionsSimples(questions);
        return fixtures::creerTest(chemin(nom), t);
    }

    Acces ouvrir() {
        fenetre = std::make_unique<atelier::FenetreAtelier>(services.all());
        const Acces acces = fenetre->ouvrirDossier(dossier.path());
        fenetre->show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(fenetre.get())); }();
        return acces;
    }

    QTreeWidget* liste() const { return fenetre->findChild<QTreeWidget*>(QStringLiteral("listeTests")); }
    QStringList colonne(int c = 0) const {
        QStringList out;
        for (int i = 0; i < liste()->topLevelItemCount(); ++i) {
            out << liste()->topLevelItem(i)->text(c);
        }
        return out;
    }
    // A click on the test's line, then the turn of the loop that opens it.
    void choisir(const QString& nom) {
        const QList<QTreeWidgetItem*> items = liste()->findItems(nom, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, liste()->visualItemRect(items.first()).center());
        QCoreApplication::processEvents();
    }
    void touche(int cle, Qt::KeyboardModifiers modificateurs = Qt::NoModifier, QWidget* cible = nullptr) {
        QTest::keyClick(cible != nullptr ? cible : fenetre.get(), static_cast<Qt::Key>(cle), modificateurs);
        QCoreApplication::processEvents();
    }
    QString editeur() const {
        return fenetre->editeur() ? QFileInfo(fenetre->editeur()->chemin()).fileName() : QString();
    }
    QString etat() const { return fenetre->findChild<QLabel*>(QStringLiteral("etatDossier"))->text(); }

    QTemporaryDir dossier;
    doubles::ScriptedServices services;
    std::unique_ptr<atelier::FenetreAtelier> fenetre;
};

} // namespace

class TestAtelier : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("Kelvane"));
        QCoreApplication::setApplicationName(QStringLiteral("kelvane-atelier-tests"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, reglages_.path());
    }

    void init() { QSettings().clear(); }

    // Each row: the stored code (absent: no settings file), the codes typed one after the other (Escape for
    // "<Échap>"), the messages they bring and what the folder's opening gives.
    void theFolderCodeIsTheMenusCode_data() {
        QTest::addColumn<QVariant>("code");
        QTest::addColumn<QStringList>("saisies");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<Acces>("acces");
        QTest::newRow("sans réglages") << QVariant(QStringLiteral("<absent>")) << QStringList() << QStringList()
                                       << Acces::Ouvert;
        QTest::newRow("code vide") << QVariant(QString()) << QStringList() << QStringList() << Acces::Ouvert;
        QTest::newRow("code en minuscules")
            << QVariant(QStringLiteral("PROF")) << QStringList{"prof"} << QStringList() << Acces::Ouvert;
        QTest::newRow("faux puis maître") << QVariant(QStringLiteral("PROF")) << QStringList{"non", "trivolk"}
                                          << QStringList{kErrone} << Acces::Ouvert;
        QTest::newRow("nul : le maître seul")
            << QVariant() << QStringList{"", "Trivolk"} << QStringList{kErrone} << Acces::Ouvert;
        QTest::newRow("trois faux") << QVariant(QStringLiteral("PROF")) << QStringList{"a", "b", "c"}
                                    << QStringList{kErrone, kErrone, kTroisieme} << Acces::Ferme;
        QTest::newRow("abandon") << QVariant(QStringLiteral("PROF")) << QStringList{"non", "<Échap>"}
                                 << QStringList{kErrone} << Acces::Annule;
    }

    void theFolderCodeIsTheMenusCode() {
        QFETCH(QVariant, code);
        QFETCH(QStringList, saisies);
        QFETCH(QStringList, messages);
        QFETCH(Acces, acces);
        Atelier a;
        a.reglages(code);
        for (const QString& m : messages) {
            a.services.messages.expectMessage(m);
        }
        Modales modales;
        modales.action = [&](QWidget* porte) {
            [&] {
                QCOMPARE(porte->objectName(), QStringLiteral("PorteCode"));
                QVERIFY(QTest::qWaitForWindowActive(porte));
                auto* boite = porte->findChild<QLineEdit*>(QStringLiteral("Text3"));
                gui::photographier(porte, QStringLiteral("atelier-code"));
                for (const QString& saisie : saisies) {
                    if (saisie == QStringLiteral("<Échap>")) {
                        QTest::keyClick(porte, Qt::Key_Escape);
                        return;
                    }
                    QCOMPARE(QApplication::focusWidget(), boite);
                    taper(boite, saisie, true);
                }
            }();
            porte->close(); // already closed unless something above failed
        };
        atelier::FenetreAtelier fenetre(a.services.all());
        QCOMPARE(fenetre.ouvrirDossier(a.dossier.path()), acces);
        QCOMPARE(modales.ouvertes.size(), saisies.isEmpty() ? 0 : 1);
        QVERIFY(a.services.messages.allAnswered());
        QCOMPARE(fenetre.dossier().isEmpty(), acces != Acces::Ouvert);
    }

    // The third wrong code at the start ends the workbench before its window opens.
    void thirdWrongCodeAtStartEndsTheWorkbench() {
        Atelier a;
        a.reglages(QStringLiteral("PROF"));
        for (const QString& m : {kErrone, kErrone, kTroisieme}) {
            a.services.messages.expectMessage(m);
        }
        Modales modales;
        modales.action = [](QWidget* porte) {
            for (const char* saisie : {"x", "y", "z"}) {
                taper(porte->findChild<QLineEdit*>(QStringLiteral("Text3")), QLatin1String(saisie), true);
            }
            porte->close();
        };
        QCOMPARE(atelier::executer(a.services.all(), a.dossier.path()), 1);
        QVERIFY(a.services.messages.allAnswered());
    }

    // Only the tests are listed, sorted as the student program sorts them, with their figures; a damaged file, a
    // results file, the settings file and a foreign database are not.
    void theListShowsOnlyTheTests() {
        Atelier a;
        a.test(QStringLiteral("Zoulou.mdb"), 2);
        fixtures::Test deux;
        deux.questions = fixtures::questionsSimples(5);
        deux.chapitres = {{QStringLiteral("Un"), 1}, {QStringLiteral("Deux"), 2}};
        deux.parametres = {{754, 80}};
        fixtures::creerTest(a.chemin(QStringLiteral("électricité.mdb")), deux);
        a.test(QStringLiteral("alpha.MDB"), 1);
        fixtures::Resultats r;
        r.questions = fixtures::questionsSimples(2);
        fixtures::creerResultats(a.chemin(QStringLiteral("Dupont Jean B1V.mdb")), r);
        ecrire(a.chemin(QStringLiteral("abime.mdb")), QByteArray("ceci n'est pas une base"));
        fixtures::creerBase(a.chemin(QStringLiteral("autre.mdb")), {QStringLiteral("clients")});
        a.ouvrir();
        QCOMPARE(a.colonne(), (QStringList{"alpha", "électricité", "Zoulou"}));
        QCOMPARE(a.colonne(1), (QStringList{"1", "5", "2"}));
        QCOMPARE(a.colonne(2), (QStringList{"1", "2", "1"}));
        QCOMPARE(a.colonne(3), (QStringList{"10:00", "12:34", "10:00"}));
        QCOMPARE(a.colonne(4), (QStringList{"70 %", "80 %", "70 %"}));
        QCOMPARE(a.etat(), QStringLiteral("3 tests"));
        QCOMPARE(a.fenetre->windowTitle(),
                 QStringLiteral("Kelvane — Atelier — %1[*]").arg(QDir::toNativeSeparators(a.dossier.path())));

        // Another folder, without settings: it opens, says so, and is remembered first.
        QTemporaryDir autre;
        a.services.dialogs.expect(ScriptedDialogs::Kind::Folder, autre.path());
        a.touche(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(a.colonne().isEmpty());
        QVERIFY2(a.etat().contains(QStringLiteral("pas de fichier habilitation.mdb")), qPrintable(a.etat()));
        QVERIFY(a.fenetre->windowTitle().contains(QDir::toNativeSeparators(autre.path())));
        QCOMPARE(QSettings().value(QStringLiteral("dossiers/recents")).toStringList(),
                 (QStringList{autre.path(), a.dossier.path()}));
    }

    // New, duplicate, rename and delete with the keyboard, each name checked; the editor follows the list.
    void newDuplicateRenameDelete() {
        Atelier a;
        a.test(QStringLiteral("Alpha.mdb"));
        a.ouvrir();
        auto& m = a.services.messages;
        const QString nouveau = QStringLiteral("Nom du nouveau test :");
        m.expectInput(nouveau, QStringLiteral("habilitation"));
        m.expectMessage(QStringLiteral("« habilitation » est le nom du fichier des réglages, pas celui d'un test."));
        m.expectInput(nouveau, QStringLiteral("alpha"));
        m.expectMessage(QStringLiteral("Le dossier a déjà un fichier « alpha.mdb » : choisissez un autre nom."));
        m.expectInput(nouveau, QStringLiteral("B:1"));
        m.expectMessage({});
        m.expectInput(nouveau, QStringLiteral("Neuf"));
        a.touche(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(m.allAnswered());
        QCOMPARE(a.editeur(), QStringLiteral("Neuf.mdb"));
        QCOMPARE(a.colonne(), (QStringList{"Alpha", "Neuf"}));
        QVERIFY(!QFile::exists(a.chemin(QStringLiteral("Neuf.mdb"))));
        QVERIFY(!a.fenetre->findChild<QAction*>(QStringLiteral("actionDupliquer"))->isEnabled());

        a.choisir(QStringLiteral("Alpha")); // the unsaved new test goes with its editor
        QCOMPARE(a.editeur(), QStringLiteral("Alpha.mdb"));
        QCOMPARE(a.colonne(), QStringList{"Alpha"});

        m.expectInput(QStringLiteral("Nom de la copie de « Alpha » :"), QStringLiteral("Copie"));
        a.touche(Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(a.colonne(), (QStringList{"Alpha", "Copie"}));
        QCOMPARE(a.editeur(), QStringLiteral("Copie.mdb"));

        m.expectInput(QStringLiteral("Nouveau nom de « Copie » :"), QStringLiteral("Copie 2.mdb"));
        a.touche(Qt::Key_F2);
        QCOMPARE(a.colonne(), (QStringList{"Alpha", "Copie 2"}));
        QCOMPARE(a.editeur(), QStringLiteral("Copie 2.mdb"));
        QVERIFY(!QFile::exists(a.chemin(QStringLiteral("Copie.mdb"))));

        a.liste()->setFocus();
        m.expectMessage(QStringLiteral("Supprimer le test « Copie 2 » ?"), Answer::No);
        a.touche(Qt::Key_Delete, Qt::NoModifier, a.liste());
        QVERIFY(QFile::exists(a.chemin(QStringLiteral("Copie 2.mdb"))));
        m.expectMessage(QStringLiteral("Supprimer le test « Copie 2 » ?"), Answer::Yes);
        QTest::mouseClick(a.fenetre->findChild<QPushButton*>(QStringLiteral("boutonSupprimer")), Qt::LeftButton);
        QCOMPARE(a.colonne(), QStringList{"Alpha"});
        QVERIFY(a.editeur().isEmpty());
        QVERIFY(m.allAnswered());
        QCOMPARE(fichiers(a.dossier.path()), (QStringList{"Alpha.mdb", "habilitation.mdb"}));
    }

    // A results file or the settings file is never deleted, whoever asks.
    void onlyTestsAreDeleted() {
        Atelier a;
        fixtures::Resultats r;
        r.questions = fixtures::questionsSimples(1);
        const QString resultats = fixtures::creerResultats(a.chemin(QStringLiteral("Dupont.mdb")), r);
        for (const QString& chemin : {resultats, a.chemin(QStringLiteral("habilitation.mdb"))}) {
            KELVANE_EXPECT_ERROR(atelier::supprimerTest(chemin), errc::PathFileAccess);
            QVERIFY(QFile::exists(chemin));
        }
    }

    // A CSV source becomes a listed test with its picture; a wrong one shows its lines and writes nothing; a test
    // exported and imported again gives the same test.
    void importAndExport() {
        Atelier a;
        a.ouvrir();
        const QString bonne = a.chemin(QStringLiteral("Bonne.csv"));
        ecrire(a.chemin(QStringLiteral("vat.png")), QByteArray("\x89PNG\r\n\x1a\nimage", 13));
        ecrire(bonne, "temps;600\ntolerance;70\nchapitre;1;Le matériel\n"
                      "question;1;1;B0 B1;qcm;0;Première question ?;Oui;1;Non;0\n"
                      "question;2;1;B1;ordre;0;Dans l'ordre ?;Un;1;Deux;2\nimage;2;1;vat.png\n");
        a.services.dialogs.expect(ScriptedDialogs::Kind::Open, bonne);
        a.touche(Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(a.colonne(), QStringList{"Bonne"});
        QCOMPARE(a.editeur(), QStringLiteral("Bonne.mdb"));
        QCOMPARE(a.fenetre->statusBar()->currentMessage(),
                 QStringLiteral("Bonne.mdb : 2 questions, 1 chapitre, 600 s, 70 %, 1 image"));

        const QString mauvaise = a.chemin(QStringLiteral("Mauvaise.csv"));
        ecrire(mauvaise, "temps;600\ntolerance;70\nchapitre;1;Le matériel\n"
                         "question;1;1;B9;qcm;0;Niveau inconnu ?;Oui;1;Non;0\n"
                         "question;2;1;B1;qcm;0;Rien à cocher ?;Oui;0;Non;0\n");
        const QStringList avant = fichiers(a.dossier.path());
        a.services.dialogs.expect(ScriptedDialogs::Kind::Open, mauvaise);
        a.services.messages.expectMessage({});
        QTest::mouseClick(a.fenetre->findChild<QPushButton*>(QStringLiteral("boutonImporter")), Qt::LeftButton);
        const QString boite = a.services.messages.last().prompt;
        QVERIFY2(boite.startsWith(QStringLiteral("« Mauvaise.csv » n'a pas été importé :\n")), qPrintable(boite));
        QVERIFY2(boite.contains(QStringLiteral("ligne 4")), qPrintable(boite));
        QCOMPARE(fichiers(a.dossier.path()), avant);

        const QString source = a.chemin(QStringLiteral("Bonne.csv"));
        QFile::remove(source);
        a.services.dialogs.expect(ScriptedDialogs::Kind::Save, source);
        a.touche(Qt::Key_E, Qt::ControlModifier);
        QVERIFY(QFile::exists(source));
        a.services.dialogs.expect(ScriptedDialogs::Kind::Open, source);
        a.services.messages.expectInput(QStringLiteral("Le dossier a déjà un test « Bonne ».\nNom du test importé :"),
                                        QStringLiteral("Retour"));
        a.touche(Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(a.colonne(), (QStringList{"Bonne", "Retour"}));
        const auto premier = std::get<data::Test>(data::lireTest(a.chemin(QStringLiteral("Bonne.mdb"))));
        const auto second = std::get<data::Test>(data::lireTest(a.chemin(QStringLiteral("Retour.mdb"))));
        QCOMPARE(second.temps, premier.temps);
        QCOMPARE(second.tolerance, premier.tolerance);
        QVERIFY(second.questions == premier.questions);
        QCOMPARE(second.chapitres.size(), premier.chapitres.size());
        QCOMPARE(data::nombreImages(premier.images), 1);
        QVERIFY(second.images == premier.images);
        QVERIFY(a.services.messages.allAnswered());
    }

    // A Moodle bank comes in with its picture once the teacher has read what was left out, and goes back out as
    // Moodle XML with it; GIFT says what it cannot carry.
    void aMoodleBankComesInAndGoesBackOut() {
        Atelier a;
        a.ouvrir();
        const QByteArray png("\x89PNG\r\n\x1a\nimage", 13);
        const QString banque = a.chemin(QStringLiteral("Consignation.xml"));
        ecrire(banque,
               QStringLiteral("<?xml version=\"1.0\"?><quiz>"
                              "<question type=\"category\"><category><text>$course$/top/Consignation</text></category>"
                              "</question><question type=\"multichoice\"><name><text>Cadenas</text></name>"
                              "<questiontext format=\"html\"><text><![CDATA[<p>Que montre <img "
                              "src=\"@@PLUGINFILE@@/cadenas.png\"> ?</p>]]></text><file name=\"cadenas.png\" "
                              "encoding=\"base64\">%1</file></questiontext><single>true</single>"
                              "<answer fraction=\"100\"><text>Une condamnation</text></answer>"
                              "<answer fraction=\"0\"><text>Une mesure</text></answer>"
                              "<tags><tag><text>B1</text></tag></tags></question>"
                              "<question type=\"essay\"><name><text>Rédaction</text></name><questiontext><text>Décrivez"
                              "</text></questiontext></question></quiz>")
                   .arg(QString::fromLatin1(png.toBase64()))
                   .toUtf8());
        a.services.dialogs.expect(ScriptedDialogs::Kind::Open, banque);
        a.services.messages.expectMessage({}, services::Answer::Yes);
        a.touche(Qt::Key_I, Qt::ControlModifier);
        const QString rapport = a.services.messages.last().prompt;
        QVERIFY2(rapport.contains(QStringLiteral("1 question(s) reprise(s), 1 laissée(s) de côté")),
                 qPrintable(rapport));
        QVERIFY2(rapport.contains(QStringLiteral("« Rédaction »")), qPrintable(rapport));
        QCOMPARE(a.colonne(), QStringList{"Consignation"});
        QCOMPARE(a.editeur(), QStringLiteral("Consignation.mdb"));
        {
            db::Database base = db::OpenDatabase(a.chemin(QStringLiteral("Consignation.mdb")), db::OpenMode::ReadOnly);
            const data::ImagesTest images = data::lireImages(base);
            const data::Image* image = data::trouverImage(images, 1, 0);
            QVERIFY(image != nullptr);
            QCOMPARE(image->octets, png);
        }

        const QString xml = a.chemin(QStringLiteral("Retour.xml"));
        a.services.dialogs.expect(ScriptedDialogs::Kind::Save, xml);
        a.touche(Qt::Key_E, Qt::ControlModifier);
        QVERIFY(lire(xml).contains(png.toBase64()));
        const QString gift = a.chemin(QStringLiteral("Retour.gift"));
        a.services.dialogs.expect(ScriptedDialogs::Kind::Save, gift);
        a.services.messages.expectMessage({});
        a.touche(Qt::Key_E, Qt::ControlModifier);
        QVERIFY(QFile::exists(gift));
        QVERIFY2(a.services.messages.last().prompt.contains(QStringLiteral("image")),
                 qPrintable(a.services.messages.last().prompt));
        QVERIFY(a.services.messages.allAnswered());
    }

    // The try runs the student program beside this one in a folder of its own that holds copies of the test, the
    // settings and the pictures; the class folder gains nothing. A folder without settings gets a file without a
    // code; a missing program is said plainly.
    void tryingATestLeavesTheClassFolderAlone() {
        Atelier a;
        a.test(QStringLiteral("Alpha.mdb"));
        ecrire(a.chemin(QStringLiteral("Images/Condo.jpg")), "jpeg");
        ecrire(a.chemin(QStringLiteral("Images/Terre.jpg")), "jpeg");
        a.reglages(QStringLiteral("<absent>"));
        a.ouvrir();
        a.choisir(QStringLiteral("Alpha"));
        const QStringList avant = fichiers(a.dossier.path());
        QStringList copies;
        bool sansCode = false;
        a.services.launcher.during = [&](const doubles::ScriptedLauncher::Launch& l) {
            copies = fichiers(l.workingFolder) + fichiers(l.workingFolder + QStringLiteral("/Images"));
            sansCode = data::FichierParametres::ouvrir(l.workingFolder).sansCode();
        };
        a.touche(Qt::Key_F5);
        QCOMPARE(a.services.launcher.launches.size(), 1);
        const auto& lancement = a.services.launcher.launches.first();
        QCOMPARE(QFileInfo(lancement.program).absolutePath(), QCoreApplication::applicationDirPath());
        QCOMPARE(QFileInfo(lancement.program).baseName(), QStringLiteral("kelvane"));
        QCOMPARE(lancement.workingFolder, a.fenetre->dossierEssai());
        QCOMPARE(copies, (QStringList{"Alpha.mdb", "habilitation.mdb", "Condo.jpg", "Terre.jpg"}));
        QVERIFY(sansCode);
        QCOMPARE(fichiers(a.dossier.path()), avant);

        a.services.launcher.during = {};
        a.services.launcher.result = services::LaunchResult::Missing;
        a.services.messages.expectMessage({});
        a.touche(Qt::Key_F5);
        QVERIFY2(a.services.messages.last().prompt.contains(QStringLiteral("introuvable")),
                 qPrintable(a.services.messages.last().prompt));
    }

    // Undo and redo follow the open test's stack; the window marks unsaved changes, and keeps them when another
    // test is chosen and the teacher cancels; size and splitter are remembered. The window is photographed at 1200 ×
    // 800.
    void undoFollowsTheEditorAndTheWindowRemembersItsSize() {
        Atelier a;
        a.test(QStringLiteral("B1V.mdb"), 12);
        a.test(QStringLiteral("BR chargé d'exploitation.mdb"), 40);
        a.ouvrir();
        a.fenetre->resize(1200, 800);
        a.choisir(QStringLiteral("B1V"));
        gui::photographier(a.fenetre.get(), QStringLiteral("atelier"));
        auto* annuler = a.fenetre->findChild<QAction*>(QStringLiteral("actionAnnuler"));
        QVERIFY(!annuler->isEnabled());
        a.fenetre->editeur()->pileAnnulation()->push(new QUndoCommand(QStringLiteral("changer le texte")));
        QVERIFY(annuler->isEnabled());
        QCOMPARE(annuler->text(), QStringLiteral("&Annuler changer le texte"));
        QVERIFY(a.fenetre->isWindowModified());
        // Another test chosen with unsaved changes: Annuler keeps the teacher on the changed one.
        const QString question =
            QStringLiteral("Le test « B1V » a été modifié. Enregistrer les modifications avant de le fermer ?");
        a.services.messages.expectMessage(question, Answer::Cancel);
        a.choisir(QStringLiteral("BR chargé d'exploitation"));
        QCOMPARE(a.editeur(), QStringLiteral("B1V.mdb"));
        QCOMPARE(a.liste()->currentItem()->text(0), QStringLiteral("B1V"));
        QVERIFY(a.fenetre->isWindowModified());
        a.touche(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!a.fenetre->isWindowModified());
        QVERIFY(a.fenetre->findChild<QAction*>(QStringLiteral("actionRetablir"))->isEnabled());

        a.fenetre->resize(1000, 700);
        a.fenetre->close();
        atelier::FenetreAtelier suivante(a.services.all());
        QCOMPARE(suivante.size(), QSize(1000, 700));
    }

    // The workbench on the demo folder, the class II question chosen: the picture of the README.
    void theDemoFolderPhotographed() {
        const QString demo = qEnvironmentVariable("KELVANE_DEMO_DIR");
        if (!QFileInfo::exists(demo + QStringLiteral("/habilitation.mdb"))) {
            QSKIP("dossier de démonstration absent");
        }
        Atelier a;
        for (const QFileInfo& f : QDir(demo).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files)) {
            QFile::remove(a.chemin(f.fileName()));
            QVERIFY(QFile::copy(f.filePath(), a.chemin(f.fileName())));
        }
        for (const QFileInfo& f : QDir(demo + QStringLiteral("/Images")).entryInfoList(QDir::Files)) {
            QVERIFY(QFile::copy(f.filePath(), a.chemin(QStringLiteral("Images/") + f.fileName())));
        }
        a.ouvrir();
        a.fenetre->resize(1200, 800);
        a.choisir(QStringLiteral("B0-Bases"));
        auto* questions = a.fenetre->findChild<QAbstractItemView*>(QStringLiteral("tableQuestions"));
        questions->setCurrentIndex(questions->model()->index(8, 0));
        QCoreApplication::processEvents();
        gui::photographier(a.fenetre.get(), QStringLiteral("atelier-demo"), QStringLiteral("atelier"));
    }

private:
    QTemporaryDir reglages_;
};

QTEST_MAIN(TestAtelier)
#include "tst_atelier.moc"
