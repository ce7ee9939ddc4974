#include "data/ecriture.h"
#include "data/fichierresultats.h"
#include "data/test.h"
#include "edition/modelequestions.h"
#include "edition/testedite.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "support/erreurs.h"
#include "support/fixtures.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace kelvane;
using namespace kelvane::edition;

namespace {

// Three questions A, B, C numbered 1 to 3; A and B in chapter 1, C in chapter 2.
data::Test troisQuestions() {
    data::Test t;
    t.fichier = QStringLiteral("B1V.mdb");
    t.nom = QStringLiteral("B1V");
    t.temps = 600;
    t.tolerance = 70;
    t.chapitres = {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Consignation"), 2}};
    for (int i = 0; i < 3; ++i) {
        QuestionTest q = nouvelleQuestion(i == 2 ? 2 : 1, {true, false, false, false, false});
        q[data::champ::Question] = QString(QLatin1Char('A' + i));
        q[data::champ::R1] = QStringLiteral("oui");
        q[data::champ::R1 + 1] = QStringLiteral("non");
        q[data::champ::S1] = 1;
        q[data::champ::Numero] = i + 1;
        t.questions.push_back(q);
    }
    return t;
}

// What a change is seen to do: "temps;chapters;number:text/chapter ...".
QString resume(const TestEdite& t) {
    QStringList chapitres;
    for (const auto& c : t.test().chapitres) {
        chapitres << c.numero.toString() + QLatin1Char(' ') + c.nom.toString();
    }
    QStringList questions;
    for (int i = 0; i < t.nbQuestions(); ++i) {
        const QuestionTest& q = t.question(i);
        questions << QStringLiteral("%1:%2/%3").arg(numero(q)).arg(texte(q)).arg(chapitre(q));
    }
    return QStringLiteral("%1 s;%2;%3")
        .arg(t.tempsTest())
        .arg(chapitres.join(QLatin1Char(',')))
        .arg(questions.join(QLatin1Char(' ')));
}

QuestionTest avecTexte(const TestEdite& t, int i, const QString& texte) {
    QuestionTest q = t.question(i);
    q[data::champ::Question] = texte;
    return q;
}

using Operation = std::function<std::optional<QString>(TestEdite&)>;

template <typename F> Operation op(F f) {
    return [f](TestEdite& t) -> std::optional<QString> {
        f(t);
        return std::nullopt;
    };
}

const QString kDepart = QStringLiteral("600 s;1 Généralités,2 Consignation;1:A/1 2:B/1 3:C/2");

// The same questions as a conversion may leave them: A numbered 30, B 10, C 20; the table reads B, C, A.
data::Test troisQuestionsConverties() {
    data::Test t = troisQuestions();
    for (const auto& [i, numero] : {std::pair{0, 30}, {1, 10}, {2, 20}}) {
        t.questions[static_cast<std::size_t>(i)][data::champ::Numero] = numero;
    }
    return t;
}

const QString kConverti = QStringLiteral("600 s;1 Généralités,2 Consignation;30:A/1 10:B/1 20:C/2");

// The texts of the table's rows, in the order shown.
QStringList lignes(const FiltreQuestions& filtre) {
    QStringList textes;
    for (int i = 0; i < filtre.rowCount(); ++i) {
        textes << filtre.data(filtre.index(i, ModeleQuestions::Texte)).toString();
    }
    return textes;
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestTestEdite : public QObject {
    Q_OBJECT

    // Checks the operation of the current row on `depart` loaded (which `resume` reads as `avant`): what it
    // leaves, how many undo steps it makes (or why it is refused), then undone back to the loaded test (clean again,
    // the very values) and redone to the same state.
    void verifierChangement(const data::Test& depart, const QString& avant) {
        QFETCH(Operation, operation);
        QFETCH(QString, attendu);
        QFETCH(int, pas);
        QFETCH(QString, refus);
        TestEdite t;
        t.charger(depart, QStringLiteral("B1V.mdb"));
        const data::Test charge = t.test();
        QCOMPARE(resume(t), avant);

        QCOMPARE(operation(t).value_or(QString()), refus);
        QCOMPARE(resume(t), attendu);
        QCOMPARE(t.pile()->count(), pas);
        QCOMPARE(t.estModifie(), pas > 0);

        while (t.pile()->canUndo()) {
            t.pile()->undo();
        }
        QCOMPARE(resume(t), avant);
        QVERIFY(!t.estModifie());
        for (std::size_t i = 0; i < charge.questions.size(); ++i) {
            QCOMPARE(t.test().questions[i], charge.questions[i]); // the very values, types included
        }
        while (t.pile()->canRedo()) {
            t.pile()->redo();
        }
        QCOMPARE(resume(t), attendu);
    }

private slots:
    // Each change: what it leaves, how many undo steps it makes (or why it is refused), then undone back to the
    // loaded test (clean again) and redone to the same state.
    void chaqueChangementSAnnuleEtSeRefait_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QString>("attendu");
        QTest::addColumn<int>("pas");
        QTest::addColumn<QString>("refus");
        const QString aucun;
        QTest::newRow("ajouter après A: chapitre de A, numéros suivis")
            << op([](TestEdite& t) { t.ajouterQuestion(0); })
            << "600 s;1 Généralités,2 Consignation;1:A/1 2:/1 3:B/1 4:C/2" << 1 << aucun;
        QTest::newRow("ajouter à la fin") << op([](TestEdite& t) { t.ajouterQuestion(); })
                                          << "600 s;1 Généralités,2 Consignation;1:A/1 2:B/1 3:C/2 4:/2" << 1 << aucun;
        QTest::newRow("dupliquer B") << op([](TestEdite& t) { t.dupliquerQuestion(1); })
                                     << "600 s;1 Généralités,2 Consignation;1:A/1 2:B/1 3:B/1 4:C/2" << 1 << aucun;
        QTest::newRow("supprimer A, renumérotées") << op([](TestEdite& t) { t.supprimerQuestion(0); })
                                                   << "600 s;1 Généralités,2 Consignation;1:B/1 2:C/2" << 1 << aucun;
        QTest::newRow("monter C") << op([](TestEdite& t) { QCOMPARE(t.deplacerQuestion(2, -1), 1); })
                                  << "600 s;1 Généralités,2 Consignation;1:A/1 2:C/2 3:B/1" << 1 << aucun;
        QTest::newRow("descendre A deux fois")
            << op([](TestEdite& t) { t.deplacerQuestion(t.deplacerQuestion(0, +1), +1); })
            << "600 s;1 Généralités,2 Consignation;1:B/1 2:C/2 3:A/1" << 2 << aucun;
        QTest::newRow("descendre la dernière: rien")
            << op([](TestEdite& t) { QCOMPARE(t.deplacerQuestion(2, +1), 2); }) << kDepart << 0 << aucun;
        QTest::newRow("renuméroter des numéros dans l'ordre: rien")
            << op([](TestEdite& t) { t.renumeroter(); }) << kDepart << 0 << aucun;
        QTest::newRow("frappe dans le texte: un seul pas") << op([](TestEdite& t) {
            for (const char* s : {"A1", "A12", "A123"}) {
                t.modifierQuestion(0, avecTexte(t, 0, QString::fromLatin1(s)), 1);
            }
        }) << "600 s;1 Généralités,2 Consignation;1:A123/1 2:B/1 3:C/2"
                                                           << 1 << aucun;
        QTest::newRow("frappe puis effacée: aucun pas") << op([](TestEdite& t) {
            t.modifierQuestion(0, avecTexte(t, 0, QStringLiteral("Ab")), 1);
            t.modifierQuestion(0, avecTexte(t, 0, QStringLiteral("A")), 1);
        }) << kDepart << 0 << aucun;
        QTest::newRow("deux saisies séparées: deux pas") << op([](TestEdite& t) {
            t.modifierQuestion(0, avecTexte(t, 0, QStringLiteral("Ab")), 1);
            t.terminerSaisie();
            t.modifierQuestion(0, avecTexte(t, 0, QStringLiteral("Abc")), 1);
        }) << "600 s;1 Généralités,2 Consignation;1:Abc/1 2:B/1 3:C/2"
                                                         << 2 << aucun;
        QTest::newRow("deux questions: deux pas") << op([](TestEdite& t) {
            t.modifierQuestion(0, avecTexte(t, 0, QStringLiteral("X")), 1);
            t.modifierQuestion(1, avecTexte(t, 1, QStringLiteral("Y")), 1);
        }) << "600 s;1 Généralités,2 Consignation;1:X/1 2:Y/1 3:C/2"
                                                  << 2 << aucun;
        QTest::newRow("minutes puis secondes du temps: un pas") << op([](TestEdite& t) {
            t.changerTemps(660);
            t.changerTemps(665);
        }) << "665 s;1 Généralités,2 Consignation;1:A/1 2:B/1 3:C/2"
                                                                << 1 << aucun;
        QTest::newRow("chapitre ajouté") << op([](TestEdite& t) { QCOMPARE(t.ajouterChapitre(), 2); })
                                         << "600 s;1 Généralités,2 Consignation,3 Chapitre 3;1:A/1 2:B/1 3:C/2" << 1
                                         << aucun;
        QTest::newRow("chapitre renommé") << op([](TestEdite& t) { t.renommerChapitre(1, QStringLiteral("Outils")); })
                                          << "600 s;1 Généralités,2 Outils;1:A/1 2:B/1 3:C/2" << 1 << aucun;
        QTest::newRow("chapitre renuméroté: ses questions le suivent")
            << Operation([](TestEdite& t) { return t.renumeroterChapitre(1, 5); })
            << "600 s;1 Généralités,5 Consignation;1:A/1 2:B/1 3:C/5" << 1 << aucun;
        QTest::newRow("numéro de chapitre déjà pris: refusé")
            << Operation([](TestEdite& t) { return t.renumeroterChapitre(1, 1); }) << kDepart << 0
            << "Le numéro 1 est déjà celui du chapitre « Généralités ».";
        QTest::newRow("chapitre encore utilisé: refusé")
            << Operation([](TestEdite& t) { return t.supprimerChapitre(1); }) << kDepart << 0
            << "Le chapitre « Consignation » ne peut pas être supprimé : 1 question y est encore.";
        QTest::newRow("chapitre vidé puis supprimé") << Operation([](TestEdite& t) {
            t.supprimerQuestion(2);
            return t.supprimerChapitre(1);
        }) << "600 s;1 Généralités;1:A/1 2:B/1" << 2 << aucun;
    }

    void chaqueChangementSAnnuleEtSeRefait() { verifierChangement(troisQuestions(), kDepart); }

    // On a converted test whose numbers do not follow the stored order, each change of the order acts in the
    // table's order (by number) and leaves the other records where the file stores them; the numbers follow the
    // table again, 1 to N.
    void unTestConvertiChangeDansLOrdreDuTableau_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QString>("attendu");
        QTest::addColumn<int>("pas");
        QTest::addColumn<QString>("refus");
        const QString aucun;
        const QString debut = QStringLiteral("600 s;1 Généralités,2 Consignation;");
        QTest::newRow("ajouter après B: rangée après B, enregistrée après B")
            << op([](TestEdite& t) { QCOMPARE(t.ajouterQuestion(1), 2); }) << debut + "4:A/1 1:B/1 2:/1 3:C/2" << 1
            << aucun;
        QTest::newRow("ajouter à la fin du tableau: après A")
            << op([](TestEdite& t) { QCOMPARE(t.ajouterQuestion(), 1); }) << debut + "3:A/1 4:/1 1:B/1 2:C/2" << 1
            << aucun;
        QTest::newRow("dupliquer C") << op([](TestEdite& t) { t.dupliquerQuestion(2); })
                                     << debut + "4:A/1 1:B/1 2:C/2 3:C/2" << 1 << aucun;
        QTest::newRow("supprimer B") << op([](TestEdite& t) { t.supprimerQuestion(1); }) << debut + "2:A/1 1:C/2" << 1
                                     << aucun;
        QTest::newRow("monter A au-dessus de C") << op([](TestEdite& t) { QCOMPARE(t.deplacerQuestion(0, -1), 2); })
                                                 << debut + "3:C/2 1:B/1 2:A/1" << 1 << aucun;
        QTest::newRow("descendre B sous C") << op([](TestEdite& t) { QCOMPARE(t.deplacerQuestion(1, +1), 2); })
                                            << debut + "3:A/1 1:C/2 2:B/1" << 1 << aucun;
        QTest::newRow("monter la première du tableau: rien")
            << op([](TestEdite& t) { QCOMPARE(t.deplacerQuestion(1, -1), 1); }) << kConverti << 0 << aucun;
        QTest::newRow("renuméroter selon le tableau: les trous fermés, l'ordre gardé") << op([](TestEdite& t) {
            t.renumeroterSelonLeTableau();
            t.renumeroterSelonLeTableau(); // numbers that follow the table: nothing
        }) << debut + "3:A/1 1:B/1 2:C/2" << 1 << aucun;
    }
    void unTestConvertiChangeDansLOrdreDuTableau() { verifierChangement(troisQuestionsConverties(), kConverti); }

    // The table shows the rows by number, then by stored place, and follows the changes of the order.
    void leTableauSuitLesNumeros() {
        TestEdite t;
        ModeleQuestions modele(t);
        FiltreQuestions filtre(modele);
        const QAbstractItemModelTester testeurFiltre(&filtre, QAbstractItemModelTester::FailureReportingMode::QtTest);
        data::Test test = troisQuestionsConverties();
        test.questions[0][data::champ::Numero] = 10; // A and B both 10: stored order between them
        t.charger(test, QStringLiteral("B1V.mdb"));
        QCOMPARE(lignes(filtre), (QStringList{"A", "B", "C"}));
        QCOMPARE(t.ordre(), (std::vector<int>{0, 1, 2}));
        t.charger(troisQuestionsConverties(), QStringLiteral("B1V.mdb"));
        QCOMPARE(lignes(filtre), (QStringList{"B", "C", "A"}));
        QCOMPARE(t.placeAuTableau(0), 2);
        t.deplacerQuestion(0, -1);
        QCOMPARE(lignes(filtre), (QStringList{"B", "A", "C"}));
        filtre.setChapitre(1);
        QCOMPARE(lignes(filtre), (QStringList{"B", "A"}));
        t.pile()->undo();
        QCOMPARE(lignes(filtre), (QStringList{"B", "A"}));
        filtre.setChapitre(0);
        QCOMPARE(lignes(filtre), (QStringList{"B", "C", "A"}));
    }

    // Numbers that do not follow the table (as a file may hold them) are kept until the order changes.
    void lesNumerosSuiventLaTableApresUnChangementDOrdre() {
        TestEdite t;
        data::Test test = troisQuestions();
        test.questions[0][data::champ::Numero] = 3;
        test.questions[2][data::champ::Numero] = 1;
        t.charger(test, QStringLiteral("B1V.mdb"));
        t.modifierQuestion(1, avecTexte(t, 1, QStringLiteral("Bb")));
        QCOMPARE(resume(t), QStringLiteral("600 s;1 Généralités,2 Consignation;3:A/1 2:Bb/1 1:C/2"));
        t.renumeroter();
        QCOMPARE(resume(t), QStringLiteral("600 s;1 Généralités,2 Consignation;1:A/1 2:Bb/1 3:C/2"));
        t.pile()->undo();
        QCOMPARE(resume(t), QStringLiteral("600 s;1 Généralités,2 Consignation;3:A/1 2:Bb/1 1:C/2"));
    }

    // The table and its filter keep the rules of Qt's models through the loading, the changes and the filtering.
    void leTableauSeFiltreParChapitreEtNiveau() {
        TestEdite t;
        ModeleQuestions modele(t);
        FiltreQuestions filtre(modele);
        const QAbstractItemModelTester testeurModele(&modele, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QAbstractItemModelTester testeurFiltre(&filtre, QAbstractItemModelTester::FailureReportingMode::QtTest);
        data::Test test = troisQuestions();
        test.questions[1][data::champ::B0 + 2] = true; // B also B2
        t.charger(test, QStringLiteral("B1V.mdb"));
        QCOMPARE(modele.data(modele.index(1, ModeleQuestions::Niveaux)).toString(), QStringLiteral("B0 B2"));
        QCOMPARE(modele.data(modele.index(2, ModeleQuestions::Chapitre)).toString(), QStringLiteral("2 Consignation"));
        filtre.setChapitre(1);
        QCOMPARE(filtre.rowCount(), 2);
        filtre.setNiveau(2);
        QCOMPARE(filtre.rowCount(), 1);
        QCOMPARE(filtre.data(filtre.index(0, ModeleQuestions::Texte)).toString(), QStringLiteral("B"));
        // A change of level takes the row out of the filter at once.
        QuestionTest b = t.question(1);
        b[data::champ::B0 + 2] = false;
        t.modifierQuestion(1, b);
        QCOMPARE(filtre.rowCount(), 0);
        t.supprimerQuestion(0);
        filtre.setNiveau(-1);
        QCOMPARE(filtre.rowCount(), 1);
    }

    // Each question's pictures follow it through a deletion and its undo, a move and a duplicate, and are filed by
    // the numbers the questions have when the test is written.
    void lesImagesSuiventLeurQuestion() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("B1V.mdb"));
        data::Test depart = troisQuestions();
        const auto image = [](const char* nom) {
            return data::Image{QLatin1String(nom), QByteArray("\x89PNG\r\n\x1a\n", 8) + nom};
        };
        depart.images[2].question = image("b.png");
        depart.images[3].reponses[0] = image("c1.png");
        data::ecrireTest(depart, chemin);
        TestEdite t;
        QVERIFY(!t.ouvrir(chemin));
        const auto noms = [](const data::ImagesTest& images) {
            QStringList liste;
            for (const auto& [numero, q] : images) {
                for (int place = 0; place < data::kPlacesImage; ++place) {
                    if (q.place(place)) {
                        liste << QStringLiteral("%1/%2 %3").arg(numero).arg(place).arg(q.place(place)->nom);
                    }
                }
            }
            return liste;
        };
        QCOMPARE(noms(t.testAEcrire().images), (QStringList{"2/0 b.png", "3/1 c1.png"}));
        t.supprimerQuestion(0); // B and C become 1 and 2
        QCOMPARE(noms(t.testAEcrire().images), (QStringList{"1/0 b.png", "2/1 c1.png"}));
        t.pile()->undo();
        QCOMPARE(noms(t.testAEcrire().images), (QStringList{"2/0 b.png", "3/1 c1.png"}));
        t.deplacerQuestion(2, -1); // C before B
        t.dupliquerQuestion(2);    // B, now stored third, copied after itself
        QCOMPARE(noms(t.testAEcrire().images), (QStringList{"2/1 c1.png", "3/0 b.png", "4/0 b.png"}));
        t.enregistrer();
        const auto relu = std::get<data::Test>(data::lireTest(chemin));
        QCOMPARE(noms(relu.images), (QStringList{"2/1 c1.png", "3/0 b.png", "4/0 b.png"}));
    }

    // Saving replaces the file through a temporary name: a reader of the old file (a session of a student) keeps
    // reading the old records; a file changed on disk since the reading is seen, a file only touched is not.
    void enregistrerRemplaceSansGenerLesLecteurs() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("B1V.mdb"));
        data::ecrireTest(troisQuestions(), chemin);
        TestEdite t;
        QVERIFY(!t.ouvrir(chemin));
        QVERIFY(!t.modifieSurDisque());

        db::Database lecteur = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        db::Recordset questions = lecteur.OpenRecordset(QStringLiteral("test"));
        questions.MoveFirst();
        QCOMPARE(questions.Fields(data::champ::Question).toString(), QStringLiteral("A"));

        t.modifierQuestion(1, avecTexte(t, 1, QStringLiteral("Nouveau B")));
#ifdef Q_OS_WIN
        // Windows replaces no file that a reader holds open: the save is refused, the reader reads on, the file and
        // the folder stay as they were, and the change waits to be saved.
        KELVANE_EXPECT_ERROR(t.enregistrer(), errc::PathFileAccess);
        QVERIFY(t.estModifie());
        questions.MoveNext();
        QCOMPARE(questions.Fields(data::champ::Question).toString(), QStringLiteral("B"));
        lecteur.Close();
        QCOMPARE(std::get<data::Test>(data::lireTest(chemin)).questions[1][data::champ::Question].toString(),
                 QStringLiteral("B"));
        QCOMPARE(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("B1V.mdb")});
        QSKIP("the rest replaces the file under its reader, which Windows refuses");
#endif
        t.enregistrer();
        QVERIFY(!t.estModifie());
        QVERIFY(!t.modifieSurDisque());
        questions.MoveNext();
        QCOMPARE(questions.Fields(data::champ::Question).toString(), QStringLiteral("B"));
        lecteur.Close();
        const auto relu = std::get<data::Test>(data::lireTest(chemin));
        QCOMPARE(relu.questions[1][data::champ::Question].toString(), QStringLiteral("Nouveau B"));
        QCOMPARE(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("B1V.mdb")});

        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::ReadWrite));
        QVERIFY(fichier.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        fichier.close();
        QVERIFY(!t.modifieSurDisque());
        data::Test autre = troisQuestions();
        autre.temps = 900;
        data::ecrireTest(autre, chemin);
        QVERIFY(t.modifieSurDisque());
        QFile::remove(chemin);
        QVERIFY(t.modifieSurDisque());
    }

    void unFichierQuiNEstPasUnTestEstRefuseAvecSonNom() {
        QTemporaryDir dossier;
        const QString chemin = fixtures::creerBase(dossier.filePath(QStringLiteral("autre.mdb")), {"eleves"});
        TestEdite t;
        const auto refus = t.ouvrir(chemin);
        QVERIFY(refus);
        QVERIFY2(refus->contains(QStringLiteral("autre.mdb")), qPrintable(*refus));
        QVERIFY(t.ouvrir(dossier.filePath(QStringLiteral("absent.mdb")))->contains(QStringLiteral("absent.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestTestEdite)
#include "tst_testedite.moc"
