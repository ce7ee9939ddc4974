#include "data/fichierresultats.h"
#include "forms/visualisation.h"
#include "support/formefixture.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

using namespace kelvane;

namespace {

const QColor kRose(255, 192, 192);
const QColor kGris(192, 192, 192);

struct QuestionFaite {
    QString texte;
    int numero = 1;
    bool reussi = false;
};

struct Resultats {
    bool examen = false;
    int tolerance = 70;
    std::vector<QuestionFaite> questions;
};

// A results file as a session leaves it: the candidate, the test's settings and the questions in stored order.
void creerResultats(const QString& chemin, const Resultats& r) {
    db::Database base = data::creerFichierResultats(chemin);
    base.BeginTrans();
    db::Recordset eleves = base.OpenRecordset(QStringLiteral("eleves"));
    eleves.AddNew();
    const QList<std::pair<const char*, QVariant>> champs{{"prenom", QStringLiteral("Jean")},
                                                         {"nom", QStringLiteral("Dupont")},
                                                         {"classe", QStringLiteral("1EL")},
                                                         {"test", QStringLiteral("B1V")},
                                                         {"date", QStringLiteral("06/12/01")},
                                                         {"examen", r.examen},
                                                         {"temps", 600},
                                                         {"tolerance", r.tolerance}};
    for (const auto& [nom, valeur] : champs) {
        eleves.SetField(QString::fromLatin1(nom), valeur);
    }
    eleves.Update();
    db::Recordset chapitres = base.OpenRecordset(QStringLiteral("chapitre"));
    chapitres.AddNew();
    chapitres.SetField(QStringLiteral("nom"), QStringLiteral("Généralités"));
    chapitres.SetField(QStringLiteral("numero"), 1);
    chapitres.Update();
    db::Recordset questions = base.OpenRecordset(QStringLiteral("question"));
    for (const QuestionFaite& q : r.questions) {
        questions.AddNew();
        for (int j = 0; j < 5; ++j) {
            questions.SetField(data::champ::B0 + j, false);
        }
        questions.SetField(data::champ::Question, q.texte);
        questions.SetField(data::champ::Chapitre, 1);
        questions.SetField(data::champ::Numero, q.numero);
        questions.SetField(data::champ::Reussi, q.reussi);
        questions.Update();
    }
    base.CommitTrans();
    base.Close();
}

// Questions "Q1", "Q2"... carrying the given numbers in stored order, the right ones marked.
std::vector<QuestionFaite> numerotees(const QList<int>& numeros, const QList<bool>& justes = {}) {
    std::vector<QuestionFaite> qs;
    for (int i = 0; i < numeros.size(); ++i) {
        qs.push_back({QStringLiteral("Q%1").arg(i + 1), numeros.at(i), i < justes.size() && justes.at(i)});
    }
    return qs;
}

QByteArray empreinte(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

// Some descriptor of the process points to the file.
bool tenuOuvert(const QString& chemin) {
    const QString vise = QFileInfo(chemin).canonicalFilePath();
    QDirIterator fd(QStringLiteral("/proc/self/fd"), QDir::System | QDir::Files);
    while (fd.hasNext()) {
        if (QFileInfo(fd.next()).symLinkTarget() == vise) {
            return true;
        }
    }
    return false;
}

QColor fond(QPushButton* b) {
    return b->grab().toImage().pixelColor(b->width() / 2, 3);
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
        creerResultats(chemin(QStringLiteral("Zoé.mdb")), {.examen = true, .questions = {}});
        creerResultats(chemin(QStringLiteral("élise.mdb")), {.questions = {}});
        creerResultats(chemin(QStringLiteral("Bruno.MDB")), {.examen = true, .questions = numerotees({1, 2}, {true})});
        creerResultats(chemin(QStringLiteral("alain.mdb")), {.questions = {}});
        fichiersAutres();
        db::Database autre = db::CreateDatabase(chemin(QStringLiteral("inventaire.mdb")));
        db::TableDef t = autre.CreateTableDef(QStringLiteral("outils"));
        t.Fields().Append(t.CreateField(QStringLiteral("nom"), db::FieldType::Text, 50));
        autre.TableDefs().Append(t);
        autre.Close();

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
        for (int i = 0; i < 8 && QApplication::focusWidget() != v.Valider; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), v.Valider);
        QTest::keyClick(v.Valider, Qt::Key_Space);
        QVERIFY(v.Frame5->isVisible());
        QCOMPARE(v.Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 2 questions"));
        QCOMPARE(v.Label28->text(), QStringLiteral("B1V (Evaluation) du 06/12/01"));
    }

    // Each row: the question numbers in stored order, which of those records were right, the pass mark, and what
    // the screen must show.
    void showsTheFileByQuestionNumber_data() {
        QTest::addColumn<QList<int>>("numeros");
        QTest::addColumn<QList<bool>>("justes");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<QStringList>("list1");
        QTest::addColumn<QString>("label9");
        QTest::addColumn<QString>("label10");
        const auto oui = [](int i) { return QStringLiteral("Q%1      :Oui").arg(i); };
        const auto non = [](int i) { return QStringLiteral("Q%1      :Non").arg(i); };
        const auto bonnes = [](int n, int sur) {
            return QStringLiteral("Nombre de Bonnes Réponses: %1 sur %2 questions").arg(n).arg(sur);
        };
        QTest::newRow("tirage d'une évaluation remis par numéro")
            << QList<int>{3, 1, 2} << QList<bool>{true, false, true} << 67 << QStringList{non(2), oui(3), oui(1)}
            << bonnes(2, 3) << QStringLiteral("66% de bonnes réponses, le test n'est pas réussi (<67%)");
        QTest::newRow("seuil atteint sans arrondi")
            << QList<int>{1, 2, 3} << QList<bool>{true, true, false} << 66 << QStringList{oui(1), oui(2), non(3)}
            << bonnes(2, 3) << QStringLiteral("66% de bonnes réponses, le test est réussi (>=66%)");
        // Number 3 is missing: its place stands for the first record; the record numbered 4 is not listed.
        QTest::newRow("numéro manquant") << QList<int>{1, 2, 4} << QList<bool>{true, false, true} << 50
                                         << QStringList{oui(1), non(2), oui(1)} << bonnes(2, 3)
                                         << QStringLiteral("66% de bonnes réponses, le test est réussi (>=50%)");
        // Two records numbered 2: the later one takes the place; nothing carries 3.
        QTest::newRow("numéro en double")
            << QList<int>{1, 2, 2} << QList<bool>{false, false, true} << 50 << QStringList{non(1), oui(3), non(1)}
            << bonnes(1, 3) << QStringLiteral("33% de bonnes réponses, le test n'est pas réussi (<50%)");
        QTest::newRow("aucune question") << QList<int>{} << QList<bool>{} << 50 << QStringList{} << bonnes(0, 0)
                                         << QStringLiteral("0% de bonnes réponses, le test n'est pas réussi (<50%)");
        QTest::newRow("aucune question, seuil nul")
            << QList<int>{} << QList<bool>{} << 0 << QStringList{} << bonnes(0, 0)
            << QStringLiteral("0% de bonnes réponses, le test est réussi (>=0%)");
    }

    void showsTheFileByQuestionNumber() {
        QFETCH(QList<int>, numeros);
        QFETCH(QList<bool>, justes);
        QFETCH(int, tolerance);
        QFETCH(QStringList, list1);
        QFETCH(QString, label9);
        QFETCH(QString, label10);
        creerResultats(chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb")),
                       {.examen = true, .tolerance = tolerance, .questions = numerotees(numeros, justes)});
        const ecrans::EcranVisualisation v = ouvrir();
        choisir(v, QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
        QVERIFY(v.Frame1->isHidden() && v.Frame5->isVisible());
        QCOMPARE(gui::lignes(v.List1), list1);
        QCOMPARE(v.Label9->text(), label9);
        QCOMPARE(v.Label10->text(), label10);
        QCOMPARE(v.Label27->text(), QStringLiteral("Jean DUPONT 1EL"));
        // The date is the one the file holds, not today's: the viewer stamps nothing.
        QCOMPARE(v.Label28->text(), QStringLiteral("B1V (Evaluation) du 06/12/01"));
    }

    // The same file shows the same screen each time, whatever was opened in between; viewing and printing never
    // write to it, and once the viewer is left no file is held open.
    void viewingNeverChangesTheFile() {
        const QString a = chemin(QStringLiteral("a.mdb"));
        const QString b = chemin(QStringLiteral("b.mdb"));
        creerResultats(a, {.questions = numerotees({2, 1, 4}, {true, false, true})}); // 3 missing
        creerResultats(b, {.examen = true, .questions = numerotees({4, 3, 2, 1}, {false, true, true, true})});
        const QByteArray avantA = empreinte(a);
        const QByteArray avantB = empreinte(b);
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
        QCOMPARE(empreinte(a), avantA);
        QCOMPARE(empreinte(b), avantB);
        const QStringList restes =
            QDir(fx_->dossier->path()).entryList({QStringLiteral("*-journal"), QStringLiteral("*-wal")}, QDir::Files);
        QVERIFY2(restes.isEmpty(), qPrintable(restes.join(QLatin1Char(' '))));
    }

    // A change of folder keeps the name chosen and Valider ready; the name then refers to no file of the folder.
    void theChoiceSurvivesAFolderChange() {
        creerResultats(chemin(QStringLiteral("pierre.mdb")), {.questions = numerotees({1})});
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
        creerResultats(chemin(QStringLiteral("vu.mdb")), {.questions = numerotees({1, 2})});
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
        creerResultats(fichier, {.questions = numerotees({1})});
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
