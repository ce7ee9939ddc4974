#include "support/scenarios.h"

using namespace kelvane;
using namespace scenario;

namespace {

void ecrire(const QString& chemin, const QByteArray& contenu) {
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

void creerResultats(const QString& chemin, bool examen) {
    fixtures::Resultats r;
    r.examen = examen;
    fixtures::creerResultats(chemin, r);
}

void creerTest(const QString& chemin, int questions = 1) {
    fixtures::creerTest(chemin, 600, 70, {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(questions));
}

} // namespace

// The first two frames of the test forms: the choice of the test, and the candidate with the save folder.
class TestChoixTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    QString chemin(const QString& nom) const { return fx_->chemin(nom); }

private slots:
    // A folder as teachers and pupils leave it: two tests, results of both modes, the settings database, a
    // damaged file, a text file and a database of another program.
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fixtures::creerHabilitation(chemin(QStringLiteral("habilitation.mdb")), QStringLiteral("X"));
        creerTest(chemin(QStringLiteral("B1V.mdb")), 3);
        creerTest(chemin(QStringLiteral("BR électricien.mdb")), 2);
        creerResultats(chemin(QStringLiteral("JDupont-B1V-061201.mdb")), false);
        creerResultats(chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb")), true);
        ecrire(chemin(QStringLiteral("abime.mdb")), QByteArray("SQLite format 3\0tronqué", 23));
        ecrire(chemin(QStringLiteral("notes.txt")), "pas une base");
        fixtures::creerBase(chemin(QStringLiteral("inventaire.mdb")), {QStringLiteral("outils")});
    }
    void cleanup() {
        QVERIFY(fx_->services->messages.allAnswered());
        fx_.reset();
    }

    void theScanListsTestsAndBegunTrainingFiles_data() {
        QTest::addColumn<bool>("examen");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<QString>("legende");
        QTest::newRow("entrainement") << false << QStringLiteral("Essai en temps réel d'un test")
                                      << QStringLiteral("Liste des Tests");
        QTest::newRow("évaluation") << true << QStringLiteral("Evaluation") << QStringLiteral("Tests d'évaluation");
    }
    void theScanListsTestsAndBegunTrainingFiles() {
        QFETCH(bool, examen);
        QFETCH(QString, titre);
        QFETCH(QString, legende);
        const ecrans::EcranTest e = fx_->ouvrir(examen);
        QCOMPARE(e.forme->windowTitle(), titre);
        QVERIFY(e->Frame2->isVisible() && e->Frame1->isHidden() && e->Frame3->isHidden() && e->Frame5->isHidden());
        QCOMPARE(e->Label29->text(), legende);
        QCOMPARE(gui::lignes(e->listefichier),
                 (QStringList{QStringLiteral("B1V.mdb"), QStringLiteral("BR électricien.mdb")}));
        // Training lists its begun files beside the tests (not the evaluations); evaluation has no such list.
        QCOMPARE(e->List3 == nullptr, examen);
        QCOMPARE(e->Label30 == nullptr, examen);
        if (!examen) {
            QCOMPARE(gui::lignes(e->List3), QStringList{QStringLiteral("JDupont-B1V-061201.mdb")});
        }
        QVERIFY(!e->OkTest->isEnabled());
        QCOMPARE(QDir(QDir::currentPath()), QDir(fx_->dossier->path()));
        gui::photographier(e.forme,
                           examen ? QStringLiteral("evaluation-frame2") : QStringLiteral("entrainement-frame2"));
    }

    // Names sort alphabetically whatever their case and accents, as a Windows folder shows them: "Électricité"
    // between "ecole" and "Fusibles", "b" after "A"; numbers inside names go by their value ("b2" before "B10").
    void theListsAreInAlphabeticalOrder() {
        for (const char* nom :
             {"b.mdb", "A.mdb", "Électricité.mdb", "ecole.mdb", "Fusibles.mdb", "B10.mdb", "b2.mdb"}) {
            creerTest(chemin(QString::fromUtf8(nom)));
        }
        creerResultats(chemin(QStringLiteral("ÉLefèvre-B1V-061201.mdb")), false);
        creerResultats(chemin(QStringLiteral("aMartin-B1V-061201.mdb")), false);
        const ecrans::EcranTest e = fx_->ouvrir(false);
        QCOMPARE(gui::lignes(e->listefichier),
                 (QStringList{QStringLiteral("A.mdb"), QStringLiteral("b.mdb"), QStringLiteral("B1V.mdb"),
                              QStringLiteral("b2.mdb"), QStringLiteral("B10.mdb"), QStringLiteral("BR électricien.mdb"),
                              QStringLiteral("ecole.mdb"), QStringLiteral("Électricité.mdb"),
                              QStringLiteral("Fusibles.mdb")}));
        QCOMPARE(gui::lignes(e->List3),
                 (QStringList{QStringLiteral("aMartin-B1V-061201.mdb"), QStringLiteral("ÉLefèvre-B1V-061201.mdb"),
                              QStringLiteral("JDupont-B1V-061201.mdb")}));
    }

    void moreThanFiftyTestsAreAllListed() {
        for (int i = 0; i < 55; ++i) {
            creerTest(chemin(QStringLiteral("T%1.mdb").arg(i)));
        }
        QCOMPARE(fx_->ouvrir(true)->listefichier->count(), 57);
    }

    // A line chosen with the mouse or with the arrow keys fills the name box and opens OK; OK on a test leads to
    // the candidate, whose surname box has the focus, and the test file is not held open.
    void choosingATest_data() {
        QTest::addColumn<bool>("examen");
        QTest::addColumn<Geste>("geste");
        QTest::addColumn<QString>("fichier");
        QTest::newRow("entrainement, souris") << false << Geste::Souris << QStringLiteral("BR électricien.mdb");
        QTest::newRow("entrainement, clavier") << false << Geste::Clavier << QStringLiteral("BR électricien.mdb");
        QTest::newRow("évaluation, clavier") << true << Geste::Clavier << QStringLiteral("B1V.mdb");
        QTest::newRow("extension en capitales") << false << Geste::Clavier << QStringLiteral("B.MDB");
    }
    void choosingATest() {
        QFETCH(bool, examen);
        QFETCH(Geste, geste);
        QFETCH(QString, fichier);
        if (fichier == QStringLiteral("B.MDB")) {
            creerTest(chemin(fichier), 2);
        }
        const ecrans::EcranTest e = fx_->ouvrir(examen);
        choisir(e, e->listefichier, fichier, geste);
        QCOMPARE(e->nombase->text(), fichier.chopped(4));
        QVERIFY(e->OkTest->isEnabled());
        QCOMPARE(fond(e->OkTest), kRose);

        presser(e.forme, e->OkTest, geste);
        QVERIFY(e->Frame2->isHidden() && e->Frame1->isVisible());
        QVERIFY(!tenuOuvert(chemin(fichier)));
        QVERIFY(!e->OkNom->isEnabled());
        QCOMPARE(fond(e->OkNom), kGris);
        // The candidate types at once: the focus is on the surname, then Tab goes to the first name and the class.
        QCOMPARE(e.forme->focusWidget(), e->Text1);
        QVERIFY(activer(e.forme));
        QTest::keyClick(e->Text1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), e->Text2);
        QTest::keyClick(e->Text2, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), e->Text3);
        if (examen) {
            gui::photographier(e.forme, QStringLiteral("evaluation-frame1"));
        }

        // The session starts from that file.
        saisir(e->Text1, QStringLiteral("Durand"));
        fx_->services->messages.expectMessage(annonce(70));
        e->OkNom->click();
        QVERIFY(e->Frame3->isVisible());
        QVERIFY2(e->Label7->text().startsWith(fichier.chopped(4) + QStringLiteral(" (")),
                 qPrintable(e->Label7->text()));
    }

    // OK takes whatever the name box holds: what is not a usable test is refused with a message, no results file
    // is made, and the choice can be made again.
    void whatIsNotAUsableTestIsRefused_data() {
        const QString pasUnTest = QStringLiteral("La base %n.mdb n'est pas un test d'habilitation électrique");
        const QString mauvaisType = QStringLiteral("Mauvais type de base de données");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("message"); // its beginning; %n the name, %d the folder
        QTest::addColumn<QString>("titre");
        QTest::newRow("base des réglages") << QStringLiteral("habilitation") << pasUnTest << mauvaisType;
        QTest::newRow("autre programme") << QStringLiteral("inventaire") << pasUnTest << mauvaisType;
        QTest::newRow("test sans question") << QStringLiteral("vide") << QString() << mauvaisType;
        QTest::newRow("fichier abîmé") << QStringLiteral("abime") << QStringLiteral("Erreur")
                                       << QStringLiteral("Kelvane");
        QTest::newRow("fichier absent")
            << QStringLiteral("parti")
            << QStringLiteral(
                   "Le fichier %n.mdb est introuvable dans le répertoire %d. Choisissez un test de la liste.")
            << QStringLiteral(" Avertissement");
    }
    void whatIsNotAUsableTestIsRefused() {
        QFETCH(QString, nom);
        QFETCH(QString, message);
        QFETCH(QString, titre);
        fixtures::creerTest(chemin(QStringLiteral("vide.mdb")), 60, 50, {{QStringLiteral("C"), 1}}, {});
        const QStringList avant = fichiersMdb(fx_->dossier->path());
        const ecrans::EcranTest e = fx_->ouvrir(true);
        gui::cliquerLigne(e->listefichier, 0);
        e->nombase->clear();
        QTest::keyClicks(e->nombase, nom);
        fx_->services->messages.expectMessage({});
        e->OkTest->click();
        const auto& boite = fx_->services->messages.last();
        message.replace(QStringLiteral("%n"), nom).replace(QStringLiteral("%d"), QDir::currentPath());
        QVERIFY2(boite.prompt.startsWith(message), qPrintable(boite.prompt));
        QCOMPARE(boite.title, titre);
        QVERIFY(e->Frame2->isVisible() && e->OkTest->isEnabled());
        QCOMPARE(fichiersMdb(fx_->dossier->path()), avant);
        QVERIFY(!tenuOuvert(chemin(nom + QStringLiteral(".mdb"))));
        // The choice is made again.
        gui::cliquerLigne(e->listefichier, 0);
        e->OkTest->click();
        QVERIFY(e->Frame1->isVisible());
    }

    void leavingAsksFirst_data() {
        QTest::addColumn<bool>("depuisCandidat");
        QTest::addColumn<Answer>("reponse");
        QTest::newRow("choix du test, non") << false << Answer::No;
        QTest::newRow("choix du test, oui") << false << Answer::Yes;
        QTest::newRow("candidat, non") << true << Answer::No;
        QTest::newRow("candidat, oui") << true << Answer::Yes;
    }
    void leavingAsksFirst() {
        QFETCH(bool, depuisCandidat);
        QFETCH(Answer, reponse);
        const ecrans::EcranTest e = fx_->ouvrir(false);
        if (depuisCandidat) {
            gui::cliquerLigne(e->listefichier, 0);
            e->OkTest->click();
            QTest::keyClicks(e->Text1, QStringLiteral("Durand"));
        }
        fx_->services->messages.expectMessage(kQuitter, reponse);
        (depuisCandidat ? e->AnnulerNom : e->Annuler)->click();
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral(" Avertissement"));
        QCOMPARE(fx_->services->messages.last().buttons, services::Buttons::YesNo);
        QCOMPARE(e.forme->isVisible(), reponse == Answer::No);
        QCOMPARE((depuisCandidat ? e->Frame1 : e->Frame2)->isVisible(), reponse == Answer::No);
        if (depuisCandidat) {
            QCOMPARE(e->Text1->text(), QStringLiteral("Durand"));
        }
        // Shown again, the form opens on the choice of the test, nothing chosen.
        const ecrans::EcranTest g = fx_->rouvrir(e);
        QVERIFY(g->Frame2->isVisible() && g->Frame1->isHidden());
        QCOMPARE(g->nombase->text(), QString());
        QVERIFY(!g->OkTest->isEnabled());
    }

    void okFollowsTheSurnameAtKeyDown() {
        const ecrans::EcranTest e = jusquAuCandidat(*fx_, false, QStringLiteral("B1V.mdb"));
        QTest::keyClick(e->Text1, Qt::Key_D);
        QVERIFY(!e->OkNom->isEnabled()); // the box was empty when the key went down
        QTest::keyClick(e->Text1, Qt::Key_U);
        QVERIFY(e->OkNom->isEnabled());
        QCOMPARE(fond(e->OkNom), kRose);
        QTest::keyClick(e->Text1, Qt::Key_Backspace);
        QTest::keyClick(e->Text1, Qt::Key_Backspace);
        QCOMPARE(e->Text1->text(), QString());
        QVERIFY(e->OkNom->isEnabled()); // until one more key goes down in the empty box
        QTest::keyClick(e->Text1, Qt::Key_Shift);
        QVERIFY(!e->OkNom->isEnabled());
    }

    // A new folder is made inside the working folder, which stays as it was; a name refused gets a message.
    void newFolder() {
        const ecrans::EcranTest e = jusquAuCandidat(*fx_, true, QStringLiteral("B1V.mdb"));
        const QString avant = QDir::currentPath();
        auto& messages = fx_->services->messages;
        messages.expectInput(QStringLiteral("Nom du répertoire:"), QString());
        e->newrepertoire->click();
        QCOMPARE(messages.last().title, QStringLiteral("Création d'un répertoire"));
        QCOMPARE(QDir(avant).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());

        messages.expectInput(QStringLiteral("Nom du répertoire:"), QStringLiteral("Classe 1A"));
        e->newrepertoire->click();
        QVERIFY(QDir(chemin(QStringLiteral("Classe 1A"))).exists());
        QCOMPARE(QDir::currentPath(), avant);
        QCOMPARE(QDir(e->listerepertoire->path()), QDir(avant));

        for (const QString& nom : {QStringLiteral("Classe 1A"), QStringLiteral("a/b")}) {
            messages.expectInput(QStringLiteral("Nom du répertoire:"), nom);
            messages.expectMessage({});
            e->newrepertoire->click();
            QCOMPARE(QDir::currentPath(), avant);
        }
        QVERIFY(!QDir(chemin(QStringLiteral("a"))).exists());
    }

    void aChangeOfFolderKeepsTheChoice() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("sous"));
        const ecrans::EcranTest e = fx_->ouvrir(false);
        choisir(e, e->listefichier, QStringLiteral("B1V.mdb"));
        e->listerepertoire2->setPath(chemin(QStringLiteral("sous")));
        QCOMPARE(QDir(QDir::currentPath()), QDir(chemin(QStringLiteral("sous"))));
        QCOMPARE(e->listefichier->count(), 0);
        QCOMPARE(e->nombase->text(), QStringLiteral("B1V"));
        QVERIFY(e->OkTest->isEnabled());
        QTest::mouseClick(e->listefichier->viewport(), Qt::LeftButton); // in the empty list: nothing
        QCOMPARE(e->nombase->text(), QStringLiteral("B1V"));
    }

    // The save folder's list shows the folder that was current when the form was loaded, while the results go to
    // the test's folder until the candidate moves.
    void theSaveFolderListIsNotPositionedWhenShown() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("ailleurs"));
        QDir::setCurrent(chemin(QStringLiteral("ailleurs")));
        const ecrans::EcranTest e = jusquAuCandidat(*fx_, true, QStringLiteral("B1V.mdb"));
        QCOMPARE(QDir(e->listerepertoire->path()), QDir(chemin(QStringLiteral("ailleurs"))));
        QCOMPARE(QDir(QDir::currentPath()), QDir(fx_->dossier->path()));
    }

    void thePicturesLoadAndAMissingOneLeavesAnEmptyBox() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("Images"));
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(chemin(QStringLiteral("Images/Condo.jpg"))));
        const ecrans::EcranTest e = fx_->ouvrir(true);
        QVERIFY(!e->Condo->pixmap().isNull());
        QVERIFY(e->Terre->pixmap().isNull());
        QVERIFY(e->Condo->isHidden() && e->Terre->isHidden() && e->ClasseII->isHidden());
    }
};

QTEST_MAIN(TestChoixTest)
#include "tst_choixtest.moc"
