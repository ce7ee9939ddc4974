#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "platform/db/database.h"
#include "platform/db/editscope.h"
#include "support/erreurs.h"
#include "support/fixtures.h"

#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace kelvane::data;
using db::FieldType;

Q_DECLARE_METATYPE(FieldType)

namespace {

const QDate Jour(2001, 12, 6);
const DonneesCandidat Candidat{QStringLiteral("Dupont"), QStringLiteral("Jean"), QString(), QStringLiteral("B1V")};

// A test as lireTest gives it: three questions stored out of number order, two chapters, the settings.
Test testDeValeurs() {
    Test test;
    test.fichier = QStringLiteral("B1V.mdb");
    test.nom = QStringLiteral("B1V");
    test.temps = 900;
    test.tolerance = 75;
    test.chapitres = {{QStringLiteral("Dangers"), 2}, {QStringLiteral("Généralités"), 1}};
    for (int numero : {3, 1, 2}) {
        QuestionTest q;
        q.fill(QVariant());
        q[0] = numero % 2 == 0;
        q[1] = true;
        q[champ::Question] = QStringLiteral("Question %1").arg(numero);
        q[champ::NbreReponse] = 2;
        q[champ::R1] = QStringLiteral("Oui");
        q[champ::R1 + 1] = QStringLiteral("éà");
        q[champ::S1] = 1;
        q[champ::S1 + 1] = 0;
        q[champ::Qcm] = numero != 2;
        q[champ::Chapitre] = numero == 3 ? 2 : 1;
        q[champ::Numero] = numero;
        test.questions.push_back(q);
    }
    return test;
}

int nombreEnregistrements(const QString& chemin, const QString& table) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    return base.OpenRecordset(table).RecordCount();
}

// RE1 to RE5 then reussi of the first question, read afresh from the file.
QList<int> reponsesLues(const QString& chemin) {
    std::optional<FichierResultats> f = FichierResultats::ouvrir(chemin, db::OpenMode::ReadOnly);
    const QuestionResultats q = f->question(0);
    return {q.donnees[0], q.donnees[1], q.donnees[2], q.donnees[3], q.donnees[4], q.reussi ? 1 : 0};
}

} // namespace

class TstFichierResultats : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void nomFichier_data() {
        QTest::addColumn<QString>("prenom");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("examen");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("attendu");

        const auto rangee = [](const char* ligne, const char* prenom, const char* nom, bool examen, const char* date,
                               const char* attendu) {
            QTest::newRow(ligne) << QString::fromUtf8(prenom) << QString::fromUtf8(nom) << examen
                                 << QString::fromUtf8(date) << QString::fromUtf8(attendu);
        };
        rangee("évaluation", "Jean", "Dupont", true, "06/12/01", "JDupont-B1V-Ex-061201.mdb");
        rangee("entraînement", "Jean", "Dupont", false, "06/12/01", "JDupont-B1V-061201.mdb");
        rangee("prénom en minuscules", "jean", "Dupont", true, "06/12/01", "jDupont-B1V-Ex-061201.mdb");
        rangee("prénom accentué", "Émile", "Zola", false, "31/01/24", "ÉZola-B1V-310124.mdb");
        rangee("prénom vide", "", "Dupont", true, "06/12/01", "Dupont-B1V-Ex-061201.mdb");
        rangee("nom et prénom vides", "", "", false, "06/12/01", "-B1V-061201.mdb");
        rangee("année sur quatre chiffres", "Jean", "Dupont", false, "06/12/2001", "JDupont-B1V-061220.mdb");
        rangee("prénom hors du plan de base", "\U0001D4D0ngel", "Dupont", false, "06/12/01",
               "\U0001D4D0Dupont-B1V-061201.mdb");
    }

    void nomFichier() {
        QFETCH(QString, prenom);
        QFETCH(QString, nom);
        QFETCH(bool, examen);
        QFETCH(QString, date);
        QFETCH(QString, attendu);
        QCOMPARE(nomFichierResultats(prenom, nom, QStringLiteral("B1V"),
                                     examen ? kSeparateurExamen : kSeparateurEntrainement, date),
                 attendu);
    }

    void nomLibre_data() {
        QTest::addColumn<QStringList>("existants");
        QTest::addColumn<QString>("attendu");

        const QString nom = QStringLiteral("JDupont-B1V-Ex-061201.mdb");
        QTest::newRow("libre") << QStringList{"JDupont-B1V-061201.mdb"} << nom;
        QTest::newRow("deuxième session") << QStringList{nom} << "JDupont-B1V-Ex-061201-1.mdb";
        QTest::newRow("troisième session")
            << QStringList{nom, "JDupont-B1V-Ex-061201-1.mdb"} << "JDupont-B1V-Ex-061201-2.mdb";
        QTest::newRow("le premier trou est pris")
            << QStringList{nom, "JDupont-B1V-Ex-061201-2.mdb"} << "JDupont-B1V-Ex-061201-1.mdb";
        QStringList beaucoup{nom};
        for (int i = 1; i <= 40000; ++i) {
            beaucoup.append(QStringLiteral("JDupont-B1V-Ex-061201-%1.mdb").arg(i));
        }
        QTest::newRow("au-delà d'un compteur 16 bits") << beaucoup << "JDupont-B1V-Ex-061201-40001.mdb";
    }

    void nomLibre() {
        QFETCH(QStringList, existants);
        QFETCH(QString, attendu);
        const QSet<QString> pris(existants.begin(), existants.end());
        QCOMPARE(premierNomLibre(QStringLiteral("JDupont-B1V-Ex-061201.mdb"),
                                 [&pris](const QString& nom) { return pris.contains(nom); }),
                 attendu);
    }

    void controlerNom_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("caractere"); // empty: accepted

        const auto rangee = [](const char* ligne, const char* texte, const char* caractere) {
            QTest::newRow(ligne) << QString::fromUtf8(texte) << QString::fromUtf8(caractere);
        };
        rangee("nom simple", "Dupont", "");
        rangee("accents et cédille", "Lefèvre-François", "");
        rangee("blancs et apostrophe", "Le Gall d'Arc", "");
        rangee("vide", "", "");
        // The typed text always stands between other characters of the file name, so a trailing blank or dot, or
        // dots alone, are harmless there.
        rangee("blanc final", "Dupont ", "");
        rangee("point final", "Dupont.", "");
        rangee("deux points seuls", "..", "");
        rangee("barre oblique", "../../etc", "/");
        rangee("barre oblique inverse", "..\\Windows", "\\");
        rangee("deux-points", "C:Dupont", ":");
        rangee("inférieur", "a<b", "<");
        rangee("supérieur", "a>b", ">");
        rangee("guillemet", "\"Jo\"", "\"");
        rangee("barre verticale", "a|b", "|");
        rangee("point d'interrogation", "Qui?", "?");
        rangee("étoile", "Du*", "*");
    }

    void controlerNom() {
        QFETCH(QString, texte);
        QFETCH(QString, caractere);
        const std::optional<QString> message = data::controlerNom(texte);
        if (caractere.isEmpty()) {
            QVERIFY2(!message, qPrintable(message.value_or(QString())));
        } else {
            QVERIFY(message);
            QVERIFY2(message->contains(QStringLiteral("« %1 »").arg(caractere)), qPrintable(*message));
        }
    }

    void champsCrees_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("noms");
        QTest::addColumn<QList<FieldType>>("types");
        QTest::addColumn<QList<int>>("tailles"); // text fields only, in order

        const FieldType O = FieldType::Boolean;
        const FieldType E = FieldType::Integer;
        const FieldType T = FieldType::Text;
        QTest::newRow("question") << "question"
                                  << QStringList{"B0",  "B1",  "B2",  "BR",    "BC",  "question", "nbrereponse",
                                                 "R1",  "R2",  "R3",  "R4",    "R5",  "S1",       "S2",
                                                 "S3",  "S4",  "S5",  "temps", "qcm", "chapitre", "numero",
                                                 "RE1", "RE2", "RE3", "RE4",   "RE5", "reussi"}
                                  << QList<FieldType>{O, O, O, O, O, T, E, T, T, T, T, T, E, E,
                                                      E, E, E, E, O, E, E, E, E, E, E, E, O}
                                  << QList<int>{200, 100, 100, 100, 100, 100};
        QTest::newRow("chapitre") << "chapitre" << QStringList{"nom", "numero"} << QList<FieldType>{T, E}
                                  << QList<int>{80};
        QTest::newRow("eleves") << "eleves" << QStringList{"nom",  "prenom", "classe", "test",
                                                           "date", "examen", "temps",  "tolerance"}
                                << QList<FieldType>{T, T, T, T, T, O, E, E} << QList<int>{50, 50, 50, 50, 15};
    }

    void champsCrees() {
        QFETCH(QString, table);
        QFETCH(QStringList, noms);
        QFETCH(QList<FieldType>, types);
        QFETCH(QList<int>, tailles);

        QTemporaryDir dossier;
        db::Database base = fixtures::creerFichierResultats(dossier.filePath("JDupont-B1V-Ex-061201.mdb"));
        const db::TableDef def = base.TableDefs().Item(table);
        QCOMPARE(def.Fields().Count(), noms.size());
        QList<int> taillesLues;
        for (int i = 0; i < def.Fields().Count(); ++i) {
            const db::Field& champ = def.Fields()[i];
            QCOMPARE(champ.Name(), noms.at(i));
            QCOMPARE(champ.Type(), types.at(i));
            if (champ.Type() == FieldType::Text) {
                taillesLues.append(champ.Size());
                QVERIFY2(champ.AllowZeroLength(), qPrintable(champ.Name()));
            }
        }
        QCOMPARE(taillesLues, tailles);
    }

    void fichierCreeReconnuCommeResultats() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("resultats-vide.mdb");
        {
            db::Database base = fixtures::creerFichierResultats(chemin);
            QVERIFY(estResultats(base));
            QVERIFY(!estTest(base));
            const QStringList tables = base.TableDefs().Names();
            QCOMPARE(tables.size(), 7);
            QCOMPARE(tables.at(0), QStringLiteral("chapitre"));
            QCOMPARE(tables.at(6), QStringLiteral("question"));
        }
        // A taken name is refused by the engine, never overwritten.
        KELVANE_EXPECT_ERROR(fixtures::creerFichierResultats(chemin), errc::DatabaseExists);
    }

    void texteVideEtTaille_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("champ");
        QTest::addColumn<int>("longueur");
        QTest::addColumn<bool>("accepte");

        const QList<std::pair<QString, QStringList>> tables{{"question", {"question", "R1", "R2", "R3", "R4", "R5"}},
                                                            {"chapitre", {"nom"}},
                                                            {"eleves", {"nom", "prenom", "classe", "test", "date"}}};
        for (const auto& [table, champs] : tables) {
            for (const QString& champ : champs) {
                QTest::addRow("%s.%s vide", qPrintable(table), qPrintable(champ)) << table << champ << 0 << true;
            }
        }
        const auto rangee = [](const char* ligne, const char* table, const char* champ, int longueur, bool accepte) {
            QTest::newRow(ligne) << QString::fromUtf8(table) << QString::fromUtf8(champ) << longueur << accepte;
        };
        rangee("question de 200 caractères", "question", "question", 200, true);
        rangee("question de 201 caractères", "question", "question", 201, false);
        rangee("réponse de 100 caractères", "question", "R5", 100, true);
        rangee("réponse de 101 caractères", "question", "R5", 101, false);
        rangee("date de 16 caractères", "eleves", "date", 16, false);
    }

    void texteVideEtTaille() {
        QFETCH(QString, table);
        QFETCH(QString, champ);
        QFETCH(int, longueur);
        QFETCH(bool, accepte);

        QTemporaryDir dossier;
        db::Database base = fixtures::creerFichierResultats(dossier.filePath("textes.mdb"));
        db::Recordset rs = base.OpenRecordset(table);
        rs.AddNew();
        try {
            rs.SetField(champ, QString(longueur, QChar(0xe9)));
            rs.Update();
            QVERIFY2(accepte, "the text was stored");
            rs.setAbsolutePosition(0);
            QCOMPARE(rs.Fields(champ).toString().size(), longueur);
        } catch (const Error& e) {
            QVERIFY2(!accepte, qPrintable(e.message()));
            QCOMPARE(e.number(), errc::FieldTooSmall);
        }
    }

    void parametresTest_data() {
        QTest::addColumn<QVariant>("temps");
        QTest::addColumn<QVariant>("tolerance");
        QTest::addColumn<QList<int>>("attendu"); // temps, tolerance; empty: refused with the error
        QTest::addColumn<int>("erreur");

        QTest::newRow("nombres entiers") << QVariant(900) << QVariant(75) << QList<int>{900, 75} << 0;
        QTest::newRow("décimaux arrondis au pair") << QVariant(598.5) << QVariant(69.5) << QList<int>{598, 70} << 0;
        QTest::newRow("temps au-delà de 16 bits") << QVariant(40000) << QVariant(70) << QList<int>{} << errc::Overflow;
        QTest::newRow("tolérance nulle") << QVariant(600) << QVariant() << QList<int>{} << errc::TypeMismatch;
        QTest::newRow("temps en lettres")
            << QVariant(QStringLiteral("dix")) << QVariant(70) << QList<int>{} << errc::TypeMismatch;
    }

    void parametresTest() {
        QFETCH(QVariant, temps);
        QFETCH(QVariant, tolerance);
        QFETCH(QList<int>, attendu);
        QFETCH(int, erreur);

        Test test;
        test.temps = temps;
        test.tolerance = tolerance;
        if (attendu.isEmpty()) {
            KELVANE_EXPECT_ERROR(data::parametresTest(test), erreur);
        } else {
            const ParametresTest p = data::parametresTest(test);
            QCOMPARE((QList<int>{p.temps, p.tolerance}), attendu);
        }
    }

    void remplissageGardeValeursEtNuls() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("JDupont-B1V-Ex-061201.mdb");
        const Test test = testDeValeurs();
        {
            db::Database base = fixtures::creerFichierResultats(chemin);
            fixtures::remplirFichierResultats(base, test, Candidat, true, Jour);
        }
        std::optional<FichierResultats> f = FichierResultats::ouvrir(chemin);
        QVERIFY(f);
        const Eleve e = f->eleve();
        QCOMPARE((QStringList{e.nom, e.prenom, e.classe, e.test, e.date}),
                 (QStringList{"Dupont", "Jean", "", "B1V", "06/12/01"}));
        QCOMPARE(e.examen, QVariant(true));
        QCOMPARE(e.temps.toInt(), 900);
        QCOMPARE(e.tolerance.toInt(), 75);
        QCOMPARE(f->chapitres().size(), 2U);
        QCOMPARE(f->chapitres()[0].nom, QStringLiteral("Dangers"));

        // The 21 fields by position, stored order kept, nulls kept; RE1 to RE5 at 0 and reussi false.
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        db::Recordset rs = base.OpenRecordset(QStringLiteral("question"));
        QCOMPARE(rs.RecordCount(), 3);
        for (int pos = 0; pos < 3; ++pos) {
            rs.setAbsolutePosition(pos);
            const QuestionTest& attendu = test.questions[static_cast<std::size_t>(pos)];
            for (int i = 0; i < NbChampsQuestionTest; ++i) {
                QCOMPARE(rs.Fields(i).isNull(), attendu[static_cast<std::size_t>(i)].isNull());
                QCOMPARE(rs.Fields(i).toString(), attendu[static_cast<std::size_t>(i)].toString());
            }
            for (int i = champ::RE1; i < champ::RE1 + 5; ++i) {
                QCOMPARE(rs.Fields(i), QVariant::fromValue<qint16>(0));
            }
            QCOMPARE(rs.Fields(champ::Reussi), QVariant(false));
        }
        QCOMPARE(f->numeros(), (std::vector<QVariant>{3, 1, 2}));
        // A null expected value reads as null, so that the marking does not compare it.
        QVERIFY(f->question(0).attendues[2].isNull());
    }

    void echecDeRemplissageLaisseLesTablesVides_data() {
        QTest::addColumn<int>("champ"); // of the second question
        QTest::addColumn<int>("longueur");

        QTest::newRow("question de 201 caractères au milieu du test") << champ::Question << 201;
        QTest::newRow("réponse de 101 caractères") << champ::R1 + 4 << 101;
    }

    void echecDeRemplissageLaisseLesTablesVides() {
        QFETCH(int, champ);
        QFETCH(int, longueur);

        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("resultats.mdb");
        Test test = testDeValeurs();
        test.questions[1][static_cast<std::size_t>(champ)] = QString(longueur, QLatin1Char('x'));
        {
            db::Database base = fixtures::creerFichierResultats(chemin);
            KELVANE_EXPECT_ERROR(fixtures::remplirFichierResultats(base, test, Candidat, false, Jour),
                                 errc::FieldTooSmall);
            QVERIFY(!base.inTransaction());
        }
        for (const char* table : {"eleves", "chapitre", "question"}) {
            QCOMPARE(nombreEnregistrements(chemin, QLatin1StringView(table)), 0);
        }
    }

    void creationRateeSupprimeSeulementSonFichier() {
        QTemporaryDir dossier;
        Test test = testDeValeurs();
        test.questions[1][champ::Question] = QString(250, QLatin1Char('x'));

        // A neighbour from an earlier session must survive the failed start.
        const QString voisin = fixtures::creerResultats(dossier.filePath("JDupont-B1V-061201.mdb"), {});
        const QString chemin = dossier.filePath("JDupont-B1V-061201-1.mdb");
        KELVANE_EXPECT_ERROR(FichierResultats::creer(chemin, test, Candidat, false, Jour), errc::FieldTooSmall);
        QVERIFY(!QFile::exists(chemin));
        QVERIFY(QFile::exists(voisin));

        // Sound questions start, and the file is complete on disk once creer returns.
        const QString sain = dossier.filePath("JDupont-B1V-061201-2.mdb");
        FichierResultats f = FichierResultats::creer(sain, testDeValeurs(), Candidat, false, Jour);
        QCOMPARE(f.nbQuestions(), 3);
        QCOMPARE(nombreEnregistrements(sain, QStringLiteral("question")), 3);
        QCOMPARE(nombreEnregistrements(sain, QStringLiteral("eleves")), 1);
    }

    void creationNeTouchePasUnFichierExistant() {
        QTemporaryDir dossier;
        fixtures::Resultats ancien;
        ancien.questions = {fixtures::Question{}};
        const QString chemin = fixtures::creerResultats(dossier.filePath("JDupont-B1V-061201.mdb"), ancien);
        KELVANE_EXPECT_ERROR(FichierResultats::creer(chemin, testDeValeurs(), Candidat, false, Jour),
                             errc::DatabaseExists);
        QCOMPARE(nombreEnregistrements(chemin, QStringLiteral("question")), 1);
        QCOMPARE(nombreEnregistrements(chemin, QStringLiteral("eleves")), 1);
    }

    void ouvrirRefuseCeQuiNEstPasUnResultat() {
        QTemporaryDir dossier;
        fixtures::Test test;
        test.questions = fixtures::questionsSimples(1);
        QVERIFY(!FichierResultats::ouvrir(fixtures::creerTest(dossier.filePath("B1V.mdb"), test)));
        QVERIFY(!FichierResultats::ouvrir(fixtures::creerBase(dossier.filePath("autre.mdb"), {"habilitation"})));
        // Without its candidate record the file opens, but has nobody to show.
        fixtures::Resultats sansEleve;
        sansEleve.avecEleve = false;
        std::optional<FichierResultats> f =
            FichierResultats::ouvrir(fixtures::creerResultats(dossier.filePath("sans-eleve.mdb"), sansEleve));
        QVERIFY(f);
        KELVANE_EXPECT_ERROR(f->eleve(), errc::NoCurrentRecord);
        KELVANE_EXPECT_ERROR(f->tamponnerDate(QDate(2002, 3, 7)), errc::NoCurrentRecord);
    }

    void reponseEnregistreeEtNoteeDurablement() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("JDupont-B1V-061201.mdb");
        {
            FichierResultats f = FichierResultats::creer(chemin, testDeValeurs(), Candidat, false, Jour);
            QVERIFY(f.noterReponse(0, {1, 0, 5, 0, 0})); // S3 is null in the test: not compared
            QCOMPARE(reponsesLues(chemin), (QList<int>{1, 0, 5, 0, 0, 1}));
            // A changed answer is marked again.
            QVERIFY(!f.noterReponse(0, {1, 1, 0, 0, 0}));
            QCOMPARE(reponsesLues(chemin), (QList<int>{1, 1, 0, 0, 0, 0}));
            f.tamponnerDate(QDate(2002, 3, 7));
        }
        std::optional<FichierResultats> f = FichierResultats::ouvrir(chemin);
        QCOMPARE(f->eleve().date, QStringLiteral("07/03/02"));
        QCOMPARE(f->question(1).donnees, (std::array<int, 5>{})); // the other questions untouched
    }

    void reponseRefuseeLaisseLEnregistrement() {
        // A failed Update is cancelled: the record keeps its last saved answer and the next one is recorded.
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("JDupont-B1V-061201.mdb");
        FichierResultats::creer(chemin, testDeValeurs(), Candidat, false, Jour).noterReponse(0, {1, 0, 0, 0, 0});
        {
            std::optional<FichierResultats> lecture = FichierResultats::ouvrir(chemin, db::OpenMode::ReadOnly);
            KELVANE_EXPECT_ERROR(lecture->noterReponse(0, {0, 1, 0, 0, 0}), errc::ReadOnly);
            KELVANE_EXPECT_ERROR(lecture->noterReponse(3, {0, 1, 0, 0, 0}), errc::InvalidArgument);
        }
        QCOMPARE(reponsesLues(chemin), (QList<int>{1, 0, 0, 0, 0, 1}));
        std::optional<FichierResultats> f = FichierResultats::ouvrir(chemin);
        QVERIFY(!f->noterReponse(0, {0, 1, 0, 0, 0}));
        QCOMPARE(reponsesLues(chemin), (QList<int>{0, 1, 0, 0, 0, 0}));
    }
};

QTEST_GUILESS_MAIN(TstFichierResultats)
#include "tst_fichierresultats.moc"
