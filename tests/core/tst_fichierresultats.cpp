#include "data/fichierresultats.h"
#include "data/reglesfichiers.h"
#include "fixtures.h"
#include "platform/db/database.h"
#include "platform/error.h"

#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using db::FieldType;

Q_DECLARE_METATYPE(FieldType)

class TstFichierResultats : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void nomFichier_data();
    void nomFichier();
    void nomLibre_data();
    void nomLibre();
    void controlerNom_data();
    void controlerNom();

    void champsCrees_data();
    void champsCrees();
    void fichierCreeReconnuCommeResultats();
    void texteVideEtTaille_data();
    void texteVideEtTaille();

    void remplissage();
    void echecDeCopieLaisseLeFichierVide_data();
    void echecDeCopieLaisseLeFichierVide();
    void demarrageSupprimeSeulementSonFichier();
    void demarrageNeTouchePasUnFichierExistant();
};

void TstFichierResultats::nomFichier_data() {
    QTest::addColumn<QString>("prenom");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<bool>("examen");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("évaluation") << "Jean"
                                << "Dupont" << true << "06/12/01"
                                << "JDupont-B1V-Ex-061201.mdb";
    QTest::newRow("entraînement") << "Jean"
                                  << "Dupont" << false << "06/12/01"
                                  << "JDupont-B1V-061201.mdb";
    QTest::newRow("prénom en minuscules") << "jean"
                                          << "Dupont" << true << "06/12/01"
                                          << "jDupont-B1V-Ex-061201.mdb";
    QTest::newRow("prénom accentué") << "Émile"
                                     << "Zola" << false << "31/01/24"
                                     << "ÉZola-B1V-310124.mdb";
    QTest::newRow("prénom vide") << ""
                                 << "Dupont" << true << "06/12/01"
                                 << "Dupont-B1V-Ex-061201.mdb";
    QTest::newRow("nom et prénom vides") << ""
                                         << "" << false << "06/12/01"
                                         << "-B1V-061201.mdb";
    QTest::newRow("année sur quatre chiffres") << "Jean"
                                               << "Dupont" << false << "06/12/2001"
                                               << "JDupont-B1V-061220.mdb";
    QTest::newRow("prénom hors du plan de base") << QString::fromUtf8("\U0001D4D0ngel") << "Dupont" << false
                                                 << "06/12/01" << QString::fromUtf8("\U0001D4D0Dupont-B1V-061201.mdb");
}

void TstFichierResultats::nomFichier() {
    QFETCH(QString, prenom);
    QFETCH(QString, nom);
    QFETCH(bool, examen);
    QFETCH(QString, date);
    QFETCH(QString, attendu);
    QCOMPARE(nomFichierResultats(prenom, nom, QStringLiteral("B1V"), examen, date), attendu);
}

void TstFichierResultats::nomLibre_data() {
    QTest::addColumn<QStringList>("existants");
    QTest::addColumn<QString>("attendu");

    const QString nom = QStringLiteral("JDupont-B1V-Ex-061201.mdb");
    QTest::newRow("libre") << QStringList{"JDupont-B1V-061201.mdb"} << nom;
    QTest::newRow("deuxième session") << QStringList{nom} << "JDupont-B1V-Ex-061201-1.mdb";
    QTest::newRow("troisième session") << QStringList{nom, "JDupont-B1V-Ex-061201-1.mdb"}
                                       << "JDupont-B1V-Ex-061201-2.mdb";
    QTest::newRow("le premier trou est pris")
        << QStringList{nom, "JDupont-B1V-Ex-061201-2.mdb"} << "JDupont-B1V-Ex-061201-1.mdb";
    QStringList beaucoup{nom};
    for (int i = 1; i <= 40000; ++i) {
        beaucoup.append(QStringLiteral("JDupont-B1V-Ex-061201-%1.mdb").arg(i));
    }
    QTest::newRow("au-delà d'un compteur 16 bits") << beaucoup << "JDupont-B1V-Ex-061201-40001.mdb";
}

void TstFichierResultats::nomLibre() {
    QFETCH(QStringList, existants);
    QFETCH(QString, attendu);
    const QSet<QString> pris(existants.begin(), existants.end());
    QCOMPARE(premierNomLibre(QStringLiteral("JDupont-B1V-Ex-061201.mdb"),
                             [&pris](const QString& nom) { return pris.contains(nom); }),
             attendu);
}

void TstFichierResultats::controlerNom_data() {
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("caractere"); // empty: accepted

    QTest::newRow("nom simple") << "Dupont"
                                << "";
    QTest::newRow("accents et cédille") << "Lefèvre-François"
                                        << "";
    QTest::newRow("blancs et apostrophe") << "Le Gall d'Arc"
                                          << "";
    QTest::newRow("vide") << ""
                          << "";
    // The typed text always stands between other characters of the file name, so a trailing blank or dot, or
    // dots alone, are harmless there.
    QTest::newRow("blanc final") << "Dupont "
                                 << "";
    QTest::newRow("point final") << "Dupont."
                                 << "";
    QTest::newRow("deux points seuls") << ".."
                                       << "";
    QTest::newRow("barre oblique") << "../../etc"
                                   << "/";
    QTest::newRow("barre oblique inverse") << "..\\Windows"
                                           << "\\";
    QTest::newRow("deux-points") << "C:Dupont"
                                 << ":";
    QTest::newRow("inférieur") << "a<b"
                               << "<";
    QTest::newRow("supérieur") << "a>b"
                               << ">";
    QTest::newRow("guillemet") << "\"Jo\""
                               << "\"";
    QTest::newRow("barre verticale") << "a|b"
                                     << "|";
    QTest::newRow("point d'interrogation") << "Qui?"
                                           << "?";
    QTest::newRow("étoile") << "Du*"
                            << "*";
}

void TstFichierResultats::controlerNom() {
    QFETCH(QString, texte);
    QFETCH(QString, caractere);
    const std::optional<QString> message = kelvane::controlerNom(texte);
    if (caractere.isEmpty()) {
        QVERIFY2(!message, qPrintable(message.value_or(QString())));
    } else {
        QVERIFY(message);
        QVERIFY2(message->contains(QStringLiteral("« %1 »").arg(caractere)), qPrintable(*message));
    }
}

void TstFichierResultats::champsCrees_data() {
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
    QTest::newRow("chapitre") << "chapitre" << QStringList{"nom", "numero"} << QList<FieldType>{T, E} << QList<int>{80};
    QTest::newRow("eleves") << "eleves"
                            << QStringList{"nom", "prenom", "classe", "test", "date", "examen", "temps", "tolerance"}
                            << QList<FieldType>{T, T, T, T, T, O, E, E} << QList<int>{50, 50, 50, 50, 15};
}

void TstFichierResultats::champsCrees() {
    QFETCH(QString, table);
    QFETCH(QStringList, noms);
    QFETCH(QList<FieldType>, types);
    QFETCH(QList<int>, tailles);

    QTemporaryDir dossier;
    db::Database base = creerFichierResultats(QDir(dossier.path()).filePath("JDupont-B1V-Ex-061201.mdb"));
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

void TstFichierResultats::fichierCreeReconnuCommeResultats() {
    QTemporaryDir dossier;
    const QString chemin = QDir(dossier.path()).filePath("resultats-vide.mdb");
    {
        db::Database base = creerFichierResultats(chemin);
        QVERIFY(estResultats(base));
        QVERIFY(!estTest(base));
        const QStringList tables = base.TableDefs().Names();
        QCOMPARE(tables.size(), 7);
        QCOMPARE(tables.at(0), QStringLiteral("chapitre"));
        QCOMPARE(tables.at(6), QStringLiteral("question"));
    }
    // A taken name is refused by the engine, never overwritten.
    try {
        creerFichierResultats(chemin);
        QFAIL("an existing file was created again");
    } catch (const Error& e) {
        QCOMPARE(e.number(), errc::DatabaseExists);
    }
}

void TstFichierResultats::texteVideEtTaille_data() {
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
    QTest::newRow("question de 200 caractères") << "question"
                                                << "question" << 200 << true;
    QTest::newRow("question de 201 caractères") << "question"
                                                << "question" << 201 << false;
    QTest::newRow("réponse de 100 caractères") << "question"
                                               << "R5" << 100 << true;
    QTest::newRow("réponse de 101 caractères") << "question"
                                               << "R5" << 101 << false;
    QTest::newRow("date de 16 caractères") << "eleves"
                                           << "date" << 16 << false;
}

void TstFichierResultats::texteVideEtTaille() {
    QFETCH(QString, table);
    QFETCH(QString, champ);
    QFETCH(int, longueur);
    QFETCH(bool, accepte);

    QTemporaryDir dossier;
    db::Database base = creerFichierResultats(QDir(dossier.path()).filePath("textes.mdb"));
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

namespace {

struct TestOuvert {
    db::Database base;
    db::Recordset numero;
    db::Recordset chapitre;
    db::Recordset test;
};

TestOuvert ouvrirTest(const QString& chemin) {
    TestOuvert t;
    t.base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    t.test = t.base.OpenRecordset(QStringLiteral("test"));
    t.chapitre = t.base.OpenRecordset(QStringLiteral("chapitre"));
    t.numero = t.base.OpenRecordset(QStringLiteral("numero"));
    return t;
}

fixtures::Question question(int numero, const QString& texte, int chapitre) {
    fixtures::Question q;
    q.numero = numero;
    q.texte = texte;
    q.chapitre = chapitre;
    q.niveaux = {numero % 2 == 0, true, false, numero == 3, false};
    q.nbReponses = 3;
    q.reponses = {QStringLiteral("R%1a").arg(numero), QStringLiteral("R%1b").arg(numero), QStringLiteral("éà"), {}, {}};
    q.attendues = {2, 3, 1, 0, 0};
    q.qcm = numero != 2;
    q.temps = 10 * numero;
    return q;
}

int nombreEnregistrements(const QString& chemin, const QString& table) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    return base.OpenRecordset(table).RecordCount();
}

} // namespace

void TstFichierResultats::remplissage() {
    QTemporaryDir dossier;
    const QDir dir(dossier.path());
    fixtures::Test test;
    test.nbChamps = 22; // a 22nd column of the test is dropped
    test.chapitres = {{QStringLiteral("Dangers"), 2}, {QStringLiteral("Généralités"), 1}};
    test.parametres = {{900, 75}, {60, 10}}; // only the first settings record counts
    test.questions = {question(3, "Troisième", 2), question(1, "Première", 1), question(2, "Deuxième", 1)};
    TestOuvert t = ouvrirTest(fixtures::creerTest(dir, "B1V.mdb", test));

    const QString chemin = dir.filePath("JDupont-B1V-Ex-061201.mdb");
    const DonneesCandidat candidat{QStringLiteral("Dupont"), QStringLiteral("Jean"), QString(), QStringLiteral("B1V")};
    db::Database eleve = creerFichierResultats(chemin);
    const ParametresTest parametres =
        remplirFichierResultats(eleve, t.numero, t.chapitre, t.test, candidat, true, QDate(2001, 12, 6));
    QCOMPARE(parametres.temps, std::int16_t(900));
    QCOMPARE(parametres.tolerance, std::int16_t(75));

    db::Recordset eleves = eleve.OpenRecordset(QStringLiteral("eleves"));
    QCOMPARE(eleves.RecordCount(), 1);
    eleves.setAbsolutePosition(0);
    const QList<QVariant> attendusEleve{"Dupont", "Jean", "", "B1V", "06/12/01", true, 900, 75};
    for (int i = 0; i < attendusEleve.size(); ++i) {
        QCOMPARE(eleves.Fields(i).toString(), attendusEleve.at(i).toString());
    }

    db::Recordset chapitres = eleve.OpenRecordset(QStringLiteral("chapitre"));
    QCOMPARE(chapitres.RecordCount(), 2);
    chapitres.setAbsolutePosition(0);
    QCOMPARE(chapitres.Fields(QStringLiteral("nom")).toString(), QStringLiteral("Dangers"));
    QCOMPARE(chapitres.Fields(QStringLiteral("numero")).toInt(), 2);

    db::Recordset questions = eleve.OpenRecordset(QStringLiteral("question"));
    QCOMPARE(questions.RecordCount(), 3);
    for (int pos = 0; pos < 3; ++pos) {
        t.test.setAbsolutePosition(pos);
        questions.setAbsolutePosition(pos);
        for (int i = 0; i < 21; ++i) {
            QCOMPARE(questions.Fields(i).toString(), t.test.Fields(i).toString());
        }
        for (int i = champ::RE1; i < champ::RE1 + 5; ++i) {
            QCOMPARE(questions.Fields(i), QVariant::fromValue<qint16>(0));
        }
        QCOMPARE(questions.Fields(champ::Reussi), QVariant(false));
    }
    questions.setAbsolutePosition(0);
    QCOMPARE(questions.Fields(QStringLiteral("question")).toString(), QStringLiteral("Troisième"));
}

void TstFichierResultats::echecDeCopieLaisseLeFichierVide_data() {
    QTest::addColumn<int>("longueurQuestion"); // of the second question
    QTest::addColumn<int>("nbChamps");
    QTest::addColumn<bool>("avecParametres");
    QTest::addColumn<int>("erreur");

    QTest::newRow("question de 250 caractères au milieu du test") << 250 << 21 << true << errc::FieldTooSmall;
    QTest::newRow("table test de 20 champs") << 10 << 20 << true << errc::ItemNotFound;
    QTest::newRow("table numero vide") << 10 << 21 << false << errc::InvalidArgument;
}

void TstFichierResultats::echecDeCopieLaisseLeFichierVide() {
    QFETCH(int, longueurQuestion);
    QFETCH(int, nbChamps);
    QFETCH(bool, avecParametres);
    QFETCH(int, erreur);

    QTemporaryDir dossier;
    const QDir dir(dossier.path());
    fixtures::Test test;
    test.nbChamps = nbChamps;
    if (!avecParametres) {
        test.parametres.clear();
    }
    test.questions = {question(1, "Première", 1), question(2, QString(longueurQuestion, QLatin1Char('x')), 1),
                      question(3, "Troisième", 1)};
    TestOuvert t = ouvrirTest(fixtures::creerTest(dir, "test-casse.mdb", test));

    const QString chemin = dir.filePath("resultats.mdb");
    {
        db::Database eleve = creerFichierResultats(chemin);
        try {
            remplirFichierResultats(eleve, t.numero, t.chapitre, t.test, {"Dupont", "Jean", "1A", "test-casse"}, false,
                                    QDate(2001, 12, 6));
            QFAIL("the copy of a broken test succeeded");
        } catch (const Error& e) {
            QCOMPARE(e.number(), erreur);
        }
        QVERIFY(!eleve.inTransaction());
    }
    for (const char* table : {"eleves", "chapitre", "question"}) {
        QCOMPARE(nombreEnregistrements(chemin, QLatin1StringView(table)), 0);
    }
}

void TstFichierResultats::demarrageSupprimeSeulementSonFichier() {
    QTemporaryDir dossier;
    const QDir dir(dossier.path());
    fixtures::Test test;
    test.questions = {question(1, "Première", 1), question(2, QString(250, QLatin1Char('x')), 1)};
    TestOuvert t = ouvrirTest(fixtures::creerTest(dir, "question-trop-longue.mdb", test));

    // A neighbour from an earlier session must survive the failed start.
    const QString voisin = fixtures::creerResultats(dir, "JDupont-question-trop-longue-061201.mdb", {});
    const QString chemin = dir.filePath("JDupont-question-trop-longue-061201-1.mdb");
    try {
        demarrerFichierResultats(chemin, t.numero, t.chapitre, t.test, {"Dupont", "Jean", "", "question-trop-longue"},
                                 false, QDate(2001, 12, 6));
        QFAIL("the start succeeded");
    } catch (const Error& e) {
        QCOMPARE(e.number(), errc::FieldTooSmall);
    }
    QVERIFY(!QFile::exists(chemin));
    QVERIFY(QFile::exists(voisin));

    // The same test with sound questions starts, and the file stays.
    fixtures::Test sain;
    sain.questions = {question(1, "Première", 1)};
    TestOuvert t2 = ouvrirTest(fixtures::creerTest(dir, "sain.mdb", sain));
    FichierResultatsDemarre demarre =
        demarrerFichierResultats(dir.filePath("JDupont-sain-061201.mdb"), t2.numero, t2.chapitre, t2.test,
                                 {"Dupont", "Jean", "", "sain"}, false, QDate(2001, 12, 6));
    QCOMPARE(demarre.parametres.tolerance, std::int16_t(70));
    QCOMPARE(demarre.base.OpenRecordset(QStringLiteral("question")).RecordCount(), 1);
    QVERIFY(QFile::exists(dir.filePath("JDupont-sain-061201.mdb")));
}

void TstFichierResultats::demarrageNeTouchePasUnFichierExistant() {
    QTemporaryDir dossier;
    const QDir dir(dossier.path());
    fixtures::Test test;
    test.questions = {question(1, "Première", 1)};
    TestOuvert t = ouvrirTest(fixtures::creerTest(dir, "B1V.mdb", test));

    fixtures::Resultats ancien;
    ancien.questions = {fixtures::QuestionResultat{}};
    const QString chemin = fixtures::creerResultats(dir, "JDupont-B1V-061201.mdb", ancien);
    try {
        demarrerFichierResultats(chemin, t.numero, t.chapitre, t.test, {"Dupont", "Jean", "", "B1V"}, false,
                                 QDate(2001, 12, 6));
        QFAIL("an existing file was taken over");
    } catch (const Error& e) {
        QCOMPARE(e.number(), errc::DatabaseExists);
    }
    QVERIFY(QFile::exists(chemin));
    QCOMPARE(nombreEnregistrements(chemin, QStringLiteral("question")), 1);
    QCOMPARE(nombreEnregistrements(chemin, QStringLiteral("eleves")), 1);
}

QTEST_GUILESS_MAIN(TstFichierResultats)
#include "tst_fichierresultats.moc"
