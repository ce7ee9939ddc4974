#include "forms/visualisation.h"
#include "support/scenarios.h"

using namespace kelvane;
using scenario::fond;
using scenario::kGris;
using scenario::kRose;
using scenario::octets;
using scenario::tenuOuvert;

namespace {

// Jean Dupont's results at B1V: questions "Q1", "Q2"... carrying the given numbers in stored order, the right
// ones marked.
void creerResultats(const QString& chemin, bool examen, const QList<int>& numeros = {}, const QList<bool>& justes = {},
                    int tolerance = 70) {
    fixtures::Resultats r;
    r.examen = examen;
    r.tolerance = tolerance;
    for (int i = 0; i < numeros.size(); ++i) {
        fixtures::Question& q = r.questions.emplace_back();
        q.texte = QStringLiteral("Q%1").arg(i + 1);
        q.numero = numeros.at(i);
        q.reussi = i < justes.size() && justes.at(i);
    }
    fixtures::creerResultats(chemin, r);
}

// Everything the results frame shows, to compare two showings.
QStringList ecran(const ecrans::EcranVisualisation& v) {
    QStringList textes{v.Label27->text(), v.Label28->text(), v.Label9->text(), v.Label10->text()};
    for (const QLabel* l : v.niveaux) {
        textes << l->text();
    }
    return textes + gui::lignes(v.List1) + QStringList{QStringLiteral("--")} + gui::lignes(v.List2);
}

} // namespace

class TestVisualisation : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;
    std::unique_ptr<forms::Visualisation> v_;

    QString chemin(const QString& nom) const { return fx_->chemin(nom); }

    // The viewer as the gate shows it: loaded in the start folder.
    ecrans::EcranVisualisation ouvrir() {
        if (!v_) {
            v_ = std::make_unique<forms::Visualisation>(fx_->services->all(), fx_->lieux());
        }
        v_->Form_Load();
        v_->show();
        return ecrans::EcranVisualisation(v_.get());
    }

    // Picks the line of that file in the list and presses Valider.
    static void choisir(const ecrans::EcranVisualisation& v, const QString& fichier) {
        const QStringList lignes = gui::lignes(v.listefichier);
        const auto ligne = std::find_if(lignes.begin(), lignes.end(),
                                        [&](const QString& l) { return l.startsWith(fichier + QStringLiteral(" (")); });
        QVERIFY2(ligne != lignes.end(), qPrintable(fichier));
        gui::cliquerLigne(v.listefichier, static_cast<int>(ligne - lignes.begin()));
        v.Valider->click();
    }

    void fichiersAutres() {
        fixtures::creerTest(chemin(QStringLiteral("B1V.mdb")), 600, 70, {{QStringLiteral("C"), 1}},
                            fixtures::questionsSimples(2));
        QFile abime(chemin(QStringLiteral("abime.mdb")));
        QVERIFY(abime.open(QIODevice::WriteOnly));
        abime.write(QByteArray("SQLite format 3\0tronqué", 23));
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        // The settings database lies in the start folder, the first one the viewer lists.
        fixtures::creerHabilitation(chemin(QStringLiteral("habilitation.mdb")), QStringLiteral("PROF"));
    }

    void cleanup() {
        QVERIFY(fx_->services->messages.allAnswered());
        v_.reset();
        fx_.reset();
    }

    // The list holds only results files, with their mode, in alphabetical order whatever the case, the accents
    // and the spelling of the extension; a teacher without a mouse picks one with the arrows and opens it.
    void theKeyboardPicksAResultsFileInAnAlphabeticalList() {
        creerResultats(chemin(QStringLiteral("Zoé.mdb")), true);
        creerResultats(chemin(QStringLiteral("élise.mdb")), false);
        creerResultats(chemin(QStringLiteral("Bruno.MDB")), true, {1, 2}, {true});
        creerResultats(chemin(QStringLiteral("alain.mdb")), false);
        fichiersAutres();
        fixtures::creerBase(chemin(QStringLiteral("inventaire.mdb")), {QStringLiteral("outils")});

        const ecrans::EcranVisualisation v = ouvrir();
        QCOMPARE(gui::lignes(v.listefichier),
                 (QStringList{QStringLiteral("alain.mdb (Entrainement)"), QStringLiteral("Bruno.MDB (Examen)"),
                              QStringLiteral("élise.mdb (Entrainement)"), QStringLiteral("Zoé.mdb (Examen)")}));
        QVERIFY(v.Frame1->isVisible() && v.Frame5->isHidden());
        QVERIFY(!v.Valider->isEnabled());
        QCOMPARE(fond(v.Valider), kGris);
        QVERIFY(v.nombase->text().isEmpty());
        QCOMPARE(QDir(v.listerepertoire->path()), QDir(fx_->dossier->path()));
        QVERIFY(QTest::qWaitForWindowActive(v.forme));
        gui::photographier(v.forme, QStringLiteral("visualisation-frame1"));

        // Tabbing into the list marks its first line without choosing it; the first arrow chooses that line, the
        // next ones move.
        v.listefichier->setFocus(Qt::TabFocusReason);
        QVERIFY(v.nombase->text().isEmpty());
        const QList<std::pair<Qt::Key, QString>> fleches{{Qt::Key_Down, QStringLiteral("alain")},
                                                         {Qt::Key_Down, QStringLiteral("Bruno")},
                                                         {Qt::Key_Up, QStringLiteral("alain")},
                                                         {Qt::Key_Down, QStringLiteral("Bruno")}};
        for (const auto& [fleche, nom] : fleches) {
            QTest::keyClick(v.listefichier, fleche);
            QCOMPARE(v.nombase->text(), nom);
        }
        QVERIFY(v.Valider->isEnabled());
        QCOMPARE(fond(v.Valider), kRose);
        QVERIFY(scenario::tabulerJusqua(v.forme, v.Valider));
        QTest::keyClick(v.Valider, Qt::Key_Space);
        QVERIFY(v.Frame5->isVisible());
        QCOMPARE(v.Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 2 questions"));
        QCOMPARE(v.Label27->text(), QStringLiteral("Jean DUPONT 1ELEC"));
        // The date is the one the file holds, not today's: the viewer stamps nothing.
        QCOMPARE(v.Label28->text(), QStringLiteral("B1V (Evaluation) du 06/12/01"));
    }

    // Each row: the question numbers in stored order, which of those records were right, the pass mark, and what
    // the screen lists and concludes. Rounding and the pass mark's edges are tst_resultats' partEtVerdict rows.
    void showsTheFileByQuestionNumber_data() {
        QTest::addColumn<QList<int>>("numeros");
        QTest::addColumn<QList<bool>>("justes");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<QStringList>("list1");
        QTest::addColumn<QString>("verdict");
        const auto oui = [](int i) { return QStringLiteral("Q%1      :Oui").arg(i); };
        const auto non = [](int i) { return QStringLiteral("Q%1      :Non").arg(i); };
        QTest::newRow("tirage d'une évaluation remis par numéro")
            << QList<int>{3, 1, 2} << QList<bool>{true, false, true} << 67 << QStringList{non(2), oui(3), oui(1)}
            << QStringLiteral("66% de bonnes réponses, le test n'est pas réussi (<67%)");
        // Number 3 is missing: its place stands for the first record; the record numbered 4 is not listed.
        QTest::newRow("numéro manquant") << QList<int>{1, 2, 4} << QList<bool>{true, false, true} << 50
                                         << QStringList{oui(1), non(2), oui(1)}
                                         << QStringLiteral("66% de bonnes réponses, le test est réussi (>=50%)");
        // Two records numbered 2: the later one takes the place; nothing carries 3.
        QTest::newRow("numéro en double")
            << QList<int>{1, 2, 2} << QList<bool>{false, false, true} << 50 << QStringList{non(1), oui(3), non(1)}
            << QStringLiteral("33% de bonnes réponses, le test n'est pas réussi (<50%)");
        QTest::newRow("aucune question") << QList<int>{} << QList<bool>{} << 50 << QStringList{}
                                         << QStringLiteral("0% de bonnes réponses, le test n'est pas réussi (<50%)");
    }

    void showsTheFileByQuestionNumber() {
        QFETCH(QList<int>, numeros);
        QFETCH(QList<bool>, justes);
        QFETCH(int, tolerance);
        QFETCH(QStringList, list1);
        QFETCH(QString, verdict);
        creerResultats(chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb")), true, numeros, justes, tolerance);
        const ecrans::EcranVisualisation v = ouvrir();
        choisir(v, QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
        QVERIFY(v.Frame1->isHidden() && v.Frame5->isVisible());
        QCOMPARE(gui::lignes(v.List1), list1);
        QCOMPARE(v.Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: %1 sur %2 questions")
                                       .arg(justes.count(true))
                                       .arg(numeros.size()));
        QCOMPARE(v.Label10->text(), verdict);
    }

    // The same file shows the same screen each time, whatever was opened in between; viewing and printing never
    // write to it, and once the viewer is left no file is held open.
    void viewingNeverChangesTheFile() {
        const QString a = chemin(QStringLiteral("a.mdb"));
        const QString b = chemin(QStringLiteral("b.mdb"));
        creerResultats(a, false, {2, 1, 4}, {true, false, true}); // 3 missing
        creerResultats(b, true, {4, 3, 2, 1}, {false, true, true, true});
        const QByteArray avantA = octets(a);
        const QByteArray avantB = octets(b);
        const services::RecordingPrinter& imprimante = fx_->services->printer;

        const ecrans::EcranVisualisation v = ouvrir();
        choisir(v, QStringLiteral("a.mdb"));
        const QStringList premier = ecran(v);
        QVERIFY(QTest::qWaitForWindowExposed(v.forme));
        gui::photographier(v.forme, QStringLiteral("visualisation-frame5"));
        QCOMPARE(v.List1->item(2)->text(), QStringLiteral("Q1      :Oui")); // the first record
        v.ImprimerResultat->click();
        QCOMPARE(imprimante.documentsEnded, 1);
        QVERIFY(imprimante.texts().join(QLatin1Char('\n')).contains(QStringLiteral("B1V")));
        v.Fermer->click();
        QVERIFY(v.Frame1->isVisible() && v.Frame5->isHidden());

        choisir(v, QStringLiteral("b.mdb"));
        QVERIFY(ecran(v) != premier);
        for (int fois = 0; fois < 2; ++fois) {
            v.Fermer->click();
            choisir(v, QStringLiteral("a.mdb"));
            QCOMPARE(ecran(v), premier);
        }
        v.ImprimerResultat->click();
        QCOMPARE(imprimante.documentsEnded, 2);

        v.Fermer->click();
        v.Annuler->click();
        QVERIFY(!v.forme->isVisible());
        QVERIFY(!tenuOuvert(a) && !tenuOuvert(b));
        QCOMPARE(octets(a), avantA);
        QCOMPARE(octets(b), avantB);
        const QStringList restes =
            QDir(fx_->dossier->path()).entryList({QStringLiteral("*-journal"), QStringLiteral("*-wal")}, QDir::Files);
        QVERIFY2(restes.isEmpty(), qPrintable(restes.join(QLatin1Char(' '))));
    }

    // A change of folder keeps the name chosen and Valider ready; the name then refers to no file of the folder.
    void theChoiceSurvivesAFolderChange() {
        creerResultats(chemin(QStringLiteral("pierre.mdb")), false, {1});
        QVERIFY(QDir(fx_->dossier->path()).mkdir(QStringLiteral("vide")));
        const ecrans::EcranVisualisation v = ouvrir();
        choisir(v, QStringLiteral("pierre.mdb"));
        v.Fermer->click();

        v.listerepertoire->setPath(chemin(QStringLiteral("vide")));
        QCOMPARE(QDir(QDir::currentPath()), QDir(chemin(QStringLiteral("vide"))));
        QCOMPARE(v.listefichier->count(), 0);
        QCOMPARE(v.nombase->text(), QStringLiteral("pierre"));
        QVERIFY(v.Valider->isEnabled());

        fx_->services->messages.expectMessage({});
        v.Valider->click();
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral(" Avertissement"));
        QVERIFY(fx_->services->messages.last().prompt.contains(QStringLiteral("pierre.mdb")));
        QVERIFY(v.Frame1->isVisible());

        v.listerepertoire->setPath(fx_->dossier->path());
        QCOMPARE(v.nombase->text(), QStringLiteral("pierre"));
        v.Valider->click();
        QVERIFY(v.Frame5->isVisible());
        QCOMPARE(v.List1->count(), 1);
    }

    // Valider on a name the list does not offer: a message, the choice is open again and nothing else moves,
    // not even the file shown before.
    void validerRefusesWhatIsNotAResultsFile_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("titre");
        const QString mauvais = QStringLiteral("Mauvais type de base de données");
        QTest::newRow("absent du dossier") << QStringLiteral("personne") << QStringLiteral(" Avertissement");
        QTest::newRow("un test") << QStringLiteral("B1V") << mauvais;
        QTest::newRow("les réglages") << QStringLiteral("habilitation") << mauvais;
        QTest::newRow("fichier abîmé") << QStringLiteral("abime") << mauvais;
        QTest::newRow("nom vide") << QString() << QStringLiteral(" Avertissement");
    }

    void validerRefusesWhatIsNotAResultsFile() {
        QFETCH(QString, nom);
        QFETCH(QString, titre);
        creerResultats(chemin(QStringLiteral("vu.mdb")), false, {1, 2});
        fichiersAutres();
        const ecrans::EcranVisualisation v = ouvrir();
        choisir(v, QStringLiteral("vu.mdb"));
        v.Fermer->click();
        const QStringList vu = ecran(v);

        v.nombase->setText(nom);
        fx_->services->messages.expectMessage({});
        v.Valider->click();
        QCOMPARE(fx_->services->messages.last().title, titre);
        QVERIFY2(fx_->services->messages.last().prompt.contains(nom + QStringLiteral(".mdb")),
                 qPrintable(fx_->services->messages.last().prompt));
        QVERIFY(v.Frame1->isVisible() && v.Frame5->isHidden());
        QVERIFY(v.Valider->isEnabled());
        QCOMPARE(v.nombase->text(), nom);
        QCOMPARE(ecran(v), vu);
        // The choice can be made again.
        choisir(v, QStringLiteral("vu.mdb"));
        QVERIFY(v.Frame5->isVisible());
    }

    // Leaving, by Annuler or the title bar, lets the file go; the next showing starts afresh, nothing chosen.
    void leavingLetsTheFileGoAndTheNextShowingStartsAfresh() {
        const QString fichier = chemin(QStringLiteral("session.mdb"));
        creerResultats(fichier, false, {1});
        ecrans::EcranVisualisation v = ouvrir();
        choisir(v, QStringLiteral("session.mdb"));
        QVERIFY(tenuOuvert(fichier));
        v.Fermer->click();
        v.Annuler->click();
        QVERIFY(!v.forme->isVisible());
        QVERIFY(!tenuOuvert(fichier));

        v.nombase->setText(QStringLiteral("reste"));
        v = ouvrir();
        QVERIFY(v.nombase->text().isEmpty());
        QVERIFY(!v.Valider->isEnabled());
        choisir(v, QStringLiteral("session.mdb"));
        v.forme->close();
        QVERIFY(!v.forme->isVisible());
        QVERIFY(!tenuOuvert(fichier));
    }
};

QTEST_MAIN(TestVisualisation)
#include "tst_visualisation.moc"
