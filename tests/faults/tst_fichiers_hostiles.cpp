// Hostile input: a folder of damaged, foreign and extreme ".mdb" files, and names no file should carry. Each file
// is listed or refused as the program's rules say, through the real forms (the scan, OkTest, OkNom, a few
// questions, the results) and the viewer; nothing crashes, and no file changes that should not: the folder's
// files are hashed before and after, and only the session's own results file may appear.
#include "data/images.h"
#include "data/test.h"
#include "forms/visualisation.h"
#include "platform/db/database.h"
#include "support/formefixture.h"
#include "support/imagesessai.h"
#include "support/scenarios.h"
#include "widgets/lectureimage.h"
#include "widgets/vignette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <functional>

using namespace kelvane;
using namespace kelvane::doubles;
using db::FieldType;

using scenario::tenuOuvert;

namespace {

using Ligne = std::vector<QVariant>;

struct Colonne {
    const char* nom;
    FieldType type;
    int taille = 0;
};

// The fields of a question as teachers' tests hold them, but wide enough to carry any value: the sizes and
// ranges of a session are those of the results file the values are copied into.
const std::vector<Colonne> kColonnesTest{
    {"B0", FieldType::Boolean},       {"B1", FieldType::Boolean},    {"B2", FieldType::Boolean},
    {"BR", FieldType::Boolean},       {"BC", FieldType::Boolean},    {"question", FieldType::Text, 255},
    {"nbrereponse", FieldType::Long}, {"R1", FieldType::Text, 255},  {"R2", FieldType::Text, 255},
    {"R3", FieldType::Text, 255},     {"R4", FieldType::Text, 255},  {"R5", FieldType::Text, 255},
    {"S1", FieldType::Long},          {"S2", FieldType::Long},       {"S3", FieldType::Long},
    {"S4", FieldType::Long},          {"S5", FieldType::Long},       {"temps", FieldType::Long},
    {"qcm", FieldType::Boolean},      {"chapitre", FieldType::Long}, {"numero", FieldType::Long}};
const std::vector<Colonne> kColonnesChapitre{{"nom", FieldType::Text, 255}, {"numero", FieldType::Long}};
const std::vector<Colonne> kColonnesNumero{{"temps", FieldType::Long}, {"tolerance", FieldType::Long}};

void ajouterTable(db::Database& base, const char* nom, const std::vector<Colonne>& colonnes,
                  const std::vector<Ligne>& lignes) {
    db::TableDef table = base.CreateTableDef(QLatin1StringView(nom));
    for (const Colonne& c : colonnes) {
        db::Field champ = table.CreateField(QLatin1StringView(c.nom), c.type, c.taille);
        champ.setAllowZeroLength(true);
        table.Fields().Append(champ);
    }
    base.TableDefs().Append(table);
    db::Recordset rs = base.OpenRecordset(QLatin1StringView(nom));
    for (const Ligne& l : lignes) {
        rs.AddNew();
        for (std::size_t i = 0; i < l.size(); ++i) {
            rs.SetField(static_cast<int>(i), l[i]);
        }
        rs.Update();
    }
}

const std::vector<Colonne> kColonnesImages{{"numero", FieldType::Long},
                                           {"place", FieldType::Long},
                                           {"nom", FieldType::Text, 255},
                                           {"octets", FieldType::LongBinary}};

struct Contenu {
    std::vector<Ligne> numero{{600, 50}};
    std::vector<Ligne> chapitres{{QStringLiteral("Généralités"), 1}};
    std::vector<Ligne> questions;
    std::vector<Colonne> colonnesNumero = kColonnesNumero;
    std::vector<Colonne> colonnesChapitre = kColonnesChapitre;
    std::vector<Colonne> colonnesTest = kColonnesTest;
    std::vector<Ligne> images; // a pictures table when there are records or columnsImages is set
    std::vector<Colonne> colonnesImages;
};

void creerTestBrut(const QString& chemin, const Contenu& c) {
    db::Database base = db::CreateDatabase(chemin);
    db::Transaction t(base);
    ajouterTable(base, "chapitre", c.colonnesChapitre, c.chapitres);
    ajouterTable(base, "numero", c.colonnesNumero, c.numero);
    ajouterTable(base, "test", c.colonnesTest, c.questions);
    if (!c.images.empty() || !c.colonnesImages.empty()) {
        ajouterTable(base, "test_images", c.colonnesImages.empty() ? kColonnesImages : c.colonnesImages, c.images);
    }
    t.Commit();
    base.Close();
}

// A multiple-choice question of two answers, the first one right.
Ligne question(int numero, const QString& texte, int chapitre = 1) {
    const QString oui = QStringLiteral("Oui"), non = QStringLiteral("Non");
    return {true, false, false, false, false, texte, 2, oui, non, {}, {}, {}, 1, 0, 0, 0, 0, 0, true, chapitre, numero};
}

Contenu testAvec(std::vector<Ligne> questions) {
    Contenu c;
    c.questions = std::move(questions);
    return c;
}

// A test of the one question "Q1", whose question, settings or chapters the caller then spoils.
Contenu testQ1(const std::function<void(Contenu&, Ligne&)>& gater = {}) {
    Ligne q = question(1, QStringLiteral("Q1"));
    Contenu c;
    if (gater) {
        gater(c, q);
    }
    c.questions.push_back(q);
    return c;
}

// Every file of a folder with the hash of its bytes.
QMap<QString, QByteArray> empreintes(const QString& dossier) {
    QMap<QString, QByteArray> out;
    const QDir d(dossier);
    for (const QString& nom : d.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(d.filePath(nom));
        if (f.open(QIODevice::ReadOnly)) {
            out.insert(nom, QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256));
        }
    }
    return out;
}

void ecrire(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kBon = QStringLiteral("bon.mdb");
const QString k50 = QString(50, QLatin1Char('x'));

} // namespace

class TestFichiersHostiles : public QObject {
    Q_OBJECT

    QTemporaryDir source_; // the hostile folder, built once
    std::unique_ptr<FormeFixture> fx_;

    void construire() {
        const auto chemin = [this](const QString& nom) { return source_.filePath(nom); };
        fixtures::creerTest(chemin(kBon), 600, 50, {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(3));

        ecrire(chemin(QStringLiteral("vide.mdb")), {});
        QByteArray hasard(8192, '\0');
        QRandomGenerator graine(20011206);
        for (char& c : hasard) {
            c = static_cast<char>(graine.bounded(256));
        }
        ecrire(chemin(QStringLiteral("aleatoire.mdb")), hasard);

        // A sound test of some size, cut: after the header only, and half-way through its questions.
        const QString entier = source_.filePath(QStringLiteral("entier.tmp"));
        fixtures::creerTest(entier, 600, 50, {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(300));
        const QByteArray octets = lire(entier);
        QFile::remove(entier);
        ecrire(chemin(QStringLiteral("tronque-entete.mdb")), octets.left(100));
        ecrire(chemin(QStringLiteral("tronque-moitie.mdb")), octets.left(octets.size() / 2));

        const auto brut = [&](const QString& nom, const Contenu& c) { creerTestBrut(chemin(nom), c); };
        // The right table names with other columns.
        Contenu colonnes;
        colonnes.colonnesChapitre = {{"titre", FieldType::Text, 20}};
        colonnes.chapitres = {{QStringLiteral("x")}};
        colonnes.colonnesNumero = {{"duree", FieldType::Long}};
        colonnes.numero = {{600}};
        colonnes.colonnesTest = {{"enonce", FieldType::Text, 50}};
        colonnes.questions = {{QStringLiteral("Une question ?")}};
        brut(QStringLiteral("colonnes-fausses.mdb"), colonnes);
        brut(QStringLiteral("parametres-mal-nommes.mdb"), testQ1([](Contenu& c, Ligne&) {
                 c.colonnesNumero = {{"duree", FieldType::Long}, {"seuil", FieldType::Long}};
             }));
        brut(QStringLiteral("question-nulle.mdb"), testQ1([](Contenu& c, Ligne&) { c.questions = {Ligne(21)}; }));
        brut(QStringLiteral("parametres-nuls.mdb"), testQ1([](Contenu& c, Ligne&) {
                 c.numero = {{QVariant(), QVariant()}};
                 c.chapitres = {{QVariant(), QVariant()}};
             }));

        // Texts at and over the sizes of the results file: question 200, answers 100, chapter name 80, test name 50.
        Ligne longue = question(1, QString(200, QLatin1Char('q')));
        longue[6] = 5;
        std::fill(longue.begin() + 7, longue.begin() + 12, QString(100, QLatin1Char('r')));
        Contenu limites = testAvec({longue});
        limites.chapitres = {{QString(80, QLatin1Char('c')), 1}};
        brut(QStringLiteral("textes-aux-limites.mdb"), limites);
        brut(QStringLiteral("question-201.mdb"),
             testQ1([](Contenu&, Ligne& q) { q[5] = QString(201, QLatin1Char('q')); }));
        brut(QStringLiteral("reponse5-101.mdb"),
             testQ1([](Contenu&, Ligne& q) { q[11] = QString(101, QLatin1Char('r')); }));
        brut(QStringLiteral("chapitre-81.mdb"), testQ1([](Contenu& c, Ligne&) {
                 c.chapitres = {{QString(81, QLatin1Char('c')), 1}};
             }));
        brut(QString(50, QLatin1Char('n')) + QStringLiteral(".mdb"), testQ1());
        brut(QString(51, QLatin1Char('n')) + QStringLiteral(".mdb"), testQ1());

        // 16-bit fields at 0, 32767 and below zero (nbrereponse, S1, temps, chapitre, numero), and just beyond.
        Ligne zero = question(1, QStringLiteral("nbrereponse 0"));
        zero[6] = 0;
        Ligne max = question(2, QStringLiteral("nbrereponse 32767"));
        max[6] = max[12] = max[17] = max[19] = 32767;
        max[18] = false;
        Ligne negatif = question(3, QStringLiteral("nbrereponse -1"));
        negatif[6] = negatif[19] = -1;
        negatif[12] = negatif[17] = -32768;
        Contenu entiers =
            testAvec({zero, max, negatif, question(-1, QStringLiteral("numéro -1")),
                      question(32767, QStringLiteral("numéro 32767")), question(0, QStringLiteral("numéro 0"))});
        entiers.numero = {{32767, 0}};
        brut(QStringLiteral("entiers-limites.mdb"), entiers);
        brut(QStringLiteral("temps-negatif.mdb"), testQ1([](Contenu& c, Ligne&) { c.numero = {{-1, 32767}}; }));
        brut(QStringLiteral("temps-zero.mdb"), testQ1([](Contenu& c, Ligne&) { c.numero = {{0, -1}}; }));
        brut(QStringLiteral("entier-32768.mdb"), testQ1([](Contenu&, Ligne& q) { q[6] = 32768; }));
        brut(QStringLiteral("entier-moins-32769.mdb"), testQ1([](Contenu&, Ligne& q) { q[12] = -32769; }));
        brut(QStringLiteral("temps-40000.mdb"), testQ1([](Contenu& c, Ligne&) { c.numero = {{40000, 50}}; }));

        brut(QStringLiteral("zero-question.mdb"), testAvec({}));
        brut(QStringLiteral("une-question.mdb"), testAvec({question(1, QStringLiteral("Seule"))}));
        fixtures::creerTest(chemin(QStringLiteral("5000-questions.mdb")), 3600, 50,
                            {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(5000));
        brut(QStringLiteral("numeros-lacunes-doublons.mdb"),
             testAvec({question(1, QStringLiteral("Q1")), question(3, QStringLiteral("Q3a")),
                       question(3, QStringLiteral("Q3b")), question(7, QStringLiteral("Q7"))}));
        Contenu inutilises = testAvec({question(1, QStringLiteral("Q1"), 2), question(2, QStringLiteral("Q2"), 2)});
        inutilises.chapitres = {{QStringLiteral("Inutilisé un"), 1},
                                {QStringLiteral("Utilisé"), 2},
                                {QStringLiteral("Inutilisé trois"), 3}};
        brut(QStringLiteral("chapitres-inutilises.mdb"), inutilises);

        // Pictures that lie, are cut, are huge or are no pictures, beside one sound picture; a pictures table of
        // another shape; a record far over the size limit.
        QByteArray menteur = imagesessai::image(8, 8);
        menteur.replace(16, 8, QByteArray("\x00\x01\x86\xa0\x00\x01\x86\xa0", 8)); // 100000 × 100000
        const QByteArray photo = imagesessai::image(300, 200, Qt::darkGreen, "JPEG");
        Contenu images = testAvec(
            {question(1, QStringLiteral("Q1")), question(2, QStringLiteral("Q2")), question(3, QStringLiteral("Q3"))});
        images.images = {{1, 0, QStringLiteral("menteur.png"), menteur},
                         {1, 1, QStringLiteral("hasard.png"), hasard},
                         {1, 2, QStringLiteral("bon.png"), imagesessai::image(40, 40)},
                         {2, 0, QStringLiteral("coupé.jpg"), photo.left(photo.size() / 2)},
                         {2, 2, QStringLiteral("4096.png"), imagesessai::image(4096, 4096)},
                         {3, 0, QString(255, QLatin1Char('n')), QByteArray("\x89PNG\r\n\x1a\n", 8)},
                         {3, 7, QStringLiteral("place-7.png"), imagesessai::image(4, 4)},
                         {99, 0, QStringLiteral("question-99.png"), imagesessai::image(4, 4)}};
        brut(QStringLiteral("images-hostiles.mdb"), images);
        Contenu etrangere = testQ1();
        etrangere.colonnesImages = {{"numero", FieldType::Text, 20}, {"fichier", FieldType::Text, 20}};
        etrangere.images = {{QStringLiteral("un"), QStringLiteral("x.png")}};
        brut(QStringLiteral("images-table-etrangere.mdb"), etrangere);
        Contenu enorme = testQ1();
        enorme.images = {{1, 0, QStringLiteral("enorme.png"), QByteArray(6 * 1024 * 1024, 'x')}};
        brut(QStringLiteral("image-6-mio.mdb"), enorme);
    }

    // From the list (or the name box, for a file the list does not show) to OkTest.
    ecrans::EcranTest choisir(bool examen, const QString& fichier) {
        ecrans::EcranTest f = fx_->ouvrir(examen);
        const int ligne = gui::ligne(f->listefichier, fichier);
        if (ligne >= 0) {
            gui::cliquerLigne(f->listefichier, ligne);
        } else {
            gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, kBon));
            f->nombase->setText(fichier.chopped(4));
        }
        return f;
    }

    QStringList nouveauxFichiers(const QMap<QString, QByteArray>& avant) const {
        QStringList nouveaux;
        const QMap<QString, QByteArray> apres = empreintes(fx_->dossier->path());
        for (auto it = avant.cbegin(); it != avant.cend(); ++it) {
            if (apres.value(it.key()) != it.value()) {
                qWarning("changed or removed: %s", qPrintable(it.key()));
                nouveaux << QStringLiteral("!") + it.key();
            }
        }
        for (auto it = apres.cbegin(); it != apres.cend(); ++it) {
            if (!avant.contains(it.key())) {
                nouveaux << it.key();
            }
        }
        return nouveaux;
    }

    // The viewer lists the results file, opens it read-only and shows the count of the session. It places the
    // questions by their numbers, as training does: after a drawn order, a file whose numbers have gaps or
    // doubles is counted over other records, and only the number of questions must agree.
    void verifierVisualisation(const QString& fichier, const QString& compte, bool memeOrdre = true) {
        forms::Visualisation forme(fx_->services->all(), fx_->lieux());
        forme.Form_Load();
        forme.show();
        const ecrans::EcranVisualisation v(&forme);
        const QStringList lignes = gui::lignes(v->listefichier);
        QCOMPARE(lignes.size(), 1);
        QVERIFY(lignes.at(0).startsWith(fichier));
        gui::cliquerLigne(v->listefichier, 0);
        v->Valider->click();
        QVERIFY(v->Frame5->isVisible());
        if (memeOrdre) {
            QCOMPARE(v->Label9->text(), compte);
        } else {
            QCOMPARE(v->Label9->text().section(QLatin1Char(' '), -3), compte.section(QLatin1Char(' '), -3));
        }
        v->Annuler->click();
    }

private slots:
    void initTestCase() {
        QVERIFY(source_.isValid());
        QElapsedTimer chrono;
        chrono.start();
        construire();
        qInfo("hostile folder built in %lld ms", chrono.elapsed());
    }

    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fx_->services->clock.date = QDate(2001, 12, 6);
        fx_->services->clock.sec = 30;
    }
    void cleanup() {
        QCOMPARE(fx_->services->messages.pending(), 0);
        fx_.reset();
    }

    // The whole folder at once: the two test forms and the viewer list exactly the usable tests, no results file,
    // and read nothing they change.
    void theScanOfTheHostileFolderListsOnlyWhatCanBeOpened() {
        const forms::Lieux lieux{fx_->dossier->path(), source_.path()};
        const QMap<QString, QByteArray> avant = empreintes(source_.path());
        QElapsedTimer chrono;
        chrono.start();
        forms::FormeTest formeEssai(session::modeEntrainement(), fx_->services->all(), lieux);
        formeEssai.Form_Load();
        const qint64 duree = chrono.elapsed();
        forms::FormeTest formeEvaluation(session::modeEvaluation(), fx_->services->all(), lieux);
        formeEvaluation.Form_Load();
        const ecrans::EcranTest essai(&formeEssai);
        const ecrans::EcranTest evaluation(&formeEvaluation);
        QStringList listes = gui::lignes(essai->listefichier);
        listes.sort();
        QStringList attendus = QDir(source_.path()).entryList({QStringLiteral("*.mdb")}, QDir::Files);
        for (const char* illisible : {"vide.mdb", "aleatoire.mdb", "tronque-entete.mdb", "tronque-moitie.mdb"}) {
            attendus.removeOne(QLatin1StringView(illisible));
        }
        attendus.sort();
        QCOMPARE(listes, attendus);
        QStringList listesEvaluation = gui::lignes(evaluation->listefichier);
        listesEvaluation.sort();
        QCOMPARE(listesEvaluation, attendus);
        QCOMPARE(essai->List3->count(), 0);
        forms::Visualisation visualisation(fx_->services->all(), lieux);
        visualisation.Form_Load();
        QCOMPARE(ecrans::EcranVisualisation(&visualisation)->listefichier->count(), 0);
        QCOMPARE(empreintes(source_.path()), avant);
        qInfo("%lld files scanned in %lld ms", static_cast<long long>(avant.size()), duree);
    }

    void eachHostileTestIsListedOrRefused_data() {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<bool>("examen");
        QTest::addColumn<bool>("liste");
        QTest::addColumn<QString>("refusOkTest"); // start of the message; empty when OkTest accepts the test
        QTest::addColumn<QString>("refusOkNom");  // start of the message; empty when the session starts
        QTest::addColumn<QString>("tolerance");   // the pass-mark message of a session that starts
        QTest::addColumn<int>("nbQuestions");
        QTest::addColumn<QStringList>("premieres"); // the first questions shown, in training

        const QString nonReconnu = QStringLiteral("Erreur 3343: Format de base de données non reconnu : « ");
        const QString champTropPetit =
            QStringLiteral("Erreur 3163: Champ trop petit pour accepter la quantité de données");
        const QString depassement = QStringLiteral("Erreur 6: Dépassement de capacité");
        const auto ligne = [](const char* nom, const QString& fichier, bool examen, bool liste, const QString& okTest,
                              const QString& okNom, const QString& tolerance, int n, const QStringList& premieres) {
            QTest::newRow(nom) << fichier << examen << liste << okTest << okNom << tolerance << n << premieres;
        };
        // Refused by OkTest, listed or not; refused by OkNom; or a session that starts with this pass mark.
        const auto refusTest = [&](const char* nom, const char* fichier, bool examen, bool liste, const QString& m) {
            ligne(nom, QString::fromUtf8(fichier), examen, liste, m, {}, {}, 0, {});
        };
        const auto refusNom = [&](const char* nom, const QString& fichier, bool examen, const QString& message) {
            ligne(nom, fichier, examen, true, {}, message, {}, 0, {});
        };
        const auto demarre = [&](const char* nom, const QString& fichier, bool examen, int n,
                                 const QStringList& premieres = {}, int pourcent = 50) {
            ligne(nom, fichier, examen, true, {}, {},
                  QStringLiteral("Pour réussir ce test il faut %1% de bonnes réponses").arg(pourcent), n, premieres);
        };
        const auto q = [](const char* texte) { return QString::fromUtf8(texte); };

        refusTest("fichier vide", "vide.mdb", false, false, nonReconnu);
        refusTest("octets au hasard", "aleatoire.mdb", true, false, nonReconnu);
        refusTest("SQLite coupé après l'en-tête", "tronque-entete.mdb", false, false, nonReconnu);
        refusTest("SQLite coupé à mi-chemin", "tronque-moitie.mdb", true, false, nonReconnu);
        refusTest(
            "bonnes tables, mauvaises colonnes", "colonnes-fausses.mdb", false, true,
            q("Le test colonnes-fausses n'a pas le format attendu: sa table test a 1 champs au lieu d'au moins 21"));
        // The test is read whole when it is chosen: settings that are not there refuse it then.
        refusTest("paramètres sous d'autres noms", "parametres-mal-nommes.mdb", true, true, q("Erreur 3265: "));
        demarre("question toute nulle, entraînement", q("question-nulle.mdb"), false, 2, {q("Q1"), QString()});
        demarre("question toute nulle, évaluation", q("question-nulle.mdb"), true, 2);
        // A time allowed that is no number cannot be given to the countdown: refused before the questions.
        refusNom("paramètres et chapitre nuls", q("parametres-nuls.mdb"), false,
                 q("Erreur 13: Type incompatible: le temps du test parametres-nuls n'est pas un nombre"));
        demarre("textes aux tailles des champs", q("textes-aux-limites.mdb"), false, 1,
                {QString(200, QLatin1Char('q'))});
        refusNom("question de 201 caractères", q("question-201.mdb"), true, champTropPetit);
        refusNom("réponse 5 de 101 caractères", q("reponse5-101.mdb"), false, champTropPetit);
        refusNom("chapitre de 81 caractères", q("chapitre-81.mdb"), true, champTropPetit);
        demarre("nom de test de 50 caractères", QString(50, QLatin1Char('n')) + q(".mdb"), true, 1);
        refusNom("nom de test de 51 caractères", QString(51, QLatin1Char('n')) + q(".mdb"), true, champTropPetit);
        demarre("entiers 16 bits à 0, 32767 et négatifs", q("entiers-limites.mdb"), false, 6,
                {q("nbrereponse 0"), q("nbrereponse 32767"), q("nbrereponse -1")}, 0);
        demarre("entiers 16 bits, évaluation", q("entiers-limites.mdb"), true, 6, {}, 0);
        demarre("temps négatif, tolérance 32767", q("temps-negatif.mdb"), true, 1, {}, 32767);
        demarre("temps 0, tolérance négative", q("temps-zero.mdb"), false, 1, {q("Q1")}, -1);
        refusNom("nbrereponse 32768", q("entier-32768.mdb"), false, depassement);
        refusNom("S1 à -32769", q("entier-moins-32769.mdb"), true, depassement);
        refusNom("temps de 40000 secondes", q("temps-40000.mdb"), true, depassement);
        refusTest("test sans question", "zero-question.mdb", true, true,
                  q("Le test zero-question ne contient aucune question"));
        demarre("une seule question", q("une-question.mdb"), true, 1);
        demarre("5000 questions, entraînement", q("5000-questions.mdb"), false, 5000,
                {q("Question numéro 1 ?"), q("Question numéro 2 ?")});
        demarre("5000 questions, évaluation", q("5000-questions.mdb"), true, 5000);
        // Numbers 1, 3, 3, 7 of four: place 1 has no question 2 and shows the first record, place 2 the later of
        // the two questions numbered 3.
        demarre("numéros avec lacunes et doublons", q("numeros-lacunes-doublons.mdb"), false, 4,
                {q("Q1"), q("Q1"), q("Q3b")});
        demarre("chapitres sans question", q("chapitres-inutilises.mdb"), false, 2, {q("Q1"), q("Q2")});
        demarre("images hostiles", q("images-hostiles.mdb"), false, 3, {q("Q1"), q("Q2"), q("Q3")});
        demarre("images hostiles, évaluation", q("images-hostiles.mdb"), true, 3);
        demarre("table d'images étrangère", q("images-table-etrangere.mdb"), false, 1, {q("Q1")});
        demarre("image de 6 Mio", q("image-6-mio.mdb"), true, 1);
    }

    // Each hostile picture shows its placeholder, the sound one shows, and the session goes on to its end; the
    // results file carries what the test carried, and the viewer opens it.
    void hostilePicturesShowTheirPlaceholder() {
        for (const QString& nom : {kBon, QStringLiteral("images-hostiles.mdb")}) {
            QVERIFY(QFile::copy(source_.filePath(nom), fx_->chemin(nom)));
        }
        const ecrans::EcranTest f = choisir(false, QStringLiteral("images-hostiles.mdb"));
        f->OkTest->click();
        f->Text1->setFocus();
        QTest::keyClicks(f->Text1, QStringLiteral("Dupont"));
        fx_->services->messages.expectMessage(QStringLiteral("Pour réussir ce test il faut 50% de bonnes réponses"));
        f->OkNom->click();
        QVERIFY(f->Frame3->isVisible());
        const auto texte = [&f](const QString& nom) {
            const auto* v = f.forme->findChild<widgets::Vignette*>(nom);
            return v->isHidden() ? QStringLiteral("-") : v->estLisible() ? QStringLiteral("image") : v->text();
        };
        const auto vues = [&texte] {
            QStringList t{texte(QStringLiteral("ImageQuestion"))};
            for (int j = 1; j <= 2; ++j) {
                t << texte(QStringLiteral("ImageReponse%1").arg(j));
            }
            return t;
        };
        const QString illisible = widgets::kImageIllisible;
        QCOMPARE(vues(), (QStringList{illisible, illisible, QStringLiteral("image")}));
        f->Suivant->click();
        // A cut JPEG shows what it holds, greyed below.
        QCOMPARE(vues(), (QStringList{QStringLiteral("image"), QStringLiteral("-"), QStringLiteral("image")}));
        f->Suivant->click();
        QCOMPARE(vues(), (QStringList{illisible, QStringLiteral("-"), QStringLiteral("-")}));
        f->Check[0]->click();
        f->Suivant->click();
        QVERIFY(f->Frame5->isVisible());
        const QString resultats = QStringLiteral("Dupont-images-hostiles-061201.mdb");
        db::Database base = db::OpenDatabase(fx_->chemin(resultats), db::OpenMode::ReadOnly);
        QCOMPARE(data::nombreImages(data::lireImages(base)), 7); // all but the one at place 7
    }

    void eachHostileTestIsListedOrRefused() {
        QFETCH(QString, fichier);
        QFETCH(bool, examen);
        QFETCH(bool, liste);
        QFETCH(QString, refusOkTest);
        QFETCH(QString, refusOkNom);
        QFETCH(QString, tolerance);
        QFETCH(int, nbQuestions);
        QFETCH(QStringList, premieres);

        for (const QString& nom : {kBon, fichier}) {
            QVERIFY(QFile::copy(source_.filePath(nom), fx_->chemin(nom)));
        }
        const QMap<QString, QByteArray> avant = empreintes(fx_->dossier->path());

        const ecrans::EcranTest f = choisir(examen, fichier);
        QCOMPARE(gui::ligne(f->listefichier, fichier) >= 0, liste);
        QCOMPARE(gui::ligne(f->listefichier, kBon) >= 0, true);
        if (f->List3 != nullptr) {
            QCOMPARE(f->List3->count(), 0);
        }

        if (!refusOkTest.isEmpty()) {
            fx_->services->messages.expectMessage({});
            f->OkTest->click();
            QVERIFY2(fx_->services->messages.last().prompt.startsWith(refusOkTest),
                     qPrintable(fx_->services->messages.last().prompt));
            QVERIFY(f->Frame2->isVisible() && f->Frame1->isHidden());
            QVERIFY(!tenuOuvert(fx_->chemin(fichier)));
            QCOMPARE(nouveauxFichiers(avant), QStringList());
            return;
        }
        f->OkTest->click();
        QVERIFY(f->Frame1->isVisible());
        f->Text1->setFocus();
        QTest::keyClicks(f->Text1, QStringLiteral("Dupont"));
        fx_->services->messages.expectMessage(refusOkNom.isEmpty() ? tolerance : QString());
        QElapsedTimer chrono;
        chrono.start();
        f->OkNom->click();
        const qint64 demarrage = chrono.elapsed();
        if (!refusOkNom.isEmpty()) {
            const doubles::ScriptedMessages::Shown& refus = fx_->services->messages.last();
            QVERIFY2(refus.prompt.startsWith(refusOkNom), qPrintable(refus.prompt));
            QCOMPARE(refus.title, QStringLiteral("Kelvane"));
            // The file this start created is gone again; the candidate is still on the details.
            QVERIFY(f->Frame1->isVisible() && f->Frame3->isHidden());
            QCOMPARE(nouveauxFichiers(avant), QStringList());
            return;
        }

        QVERIFY(f->Frame3->isVisible());
        // A test that allows no time runs without a countdown.
        const auto test = data::lireTest(fx_->chemin(fichier));
        QVERIFY(std::holds_alternative<data::Test>(test));
        QCOMPARE(fx_->minuterie(f)->isEnabled(), std::get<data::Test>(test).temps.toInt() > 0);
        // A few questions, ticking the first box where there is one.
        for (int i = 0; i < qMin(3, nbQuestions); ++i) {
            if (i < premieres.size()) {
                QCOMPARE(f->Label22->text(), premieres.at(i));
            }
            QCOMPARE(f->Label31->text(), QStringLiteral("Question n° %1").arg(i + 1));
            if (f->Check[0]->isVisible()) {
                f->Check[0]->click();
            }
            f->Suivant->click();
        }
        if (!f->Frame5->isVisible()) {
            fx_->services->messages.expectMessage(QStringLiteral("Etes vous sûr de vouloir quitter le test?"),
                                                  services::Answer::Yes);
            f->AnnulerQuestion->click();
        }
        QVERIFY(f->Frame5->isVisible());
        const QString compte = f->Label9->text();
        QVERIFY2(compte.startsWith(QStringLiteral("Nombre de Bonnes Réponses: ")) &&
                     compte.endsWith(QStringLiteral(" sur %1 questions").arg(nbQuestions)),
                 qPrintable(compte));
        const QStringList nouveaux = nouveauxFichiers(avant);
        QCOMPARE(nouveaux.size(), 1);
        const QString resultats = nouveaux.at(0);
        QCOMPARE(resultats, QStringLiteral("Dupont-") + fichier.chopped(4) +
                                (examen ? QStringLiteral("-Ex-") : QStringLiteral("-")) + QStringLiteral("061201.mdb"));
        {
            db::Database base = db::OpenDatabase(fx_->chemin(resultats), db::OpenMode::ReadOnly);
            QCOMPARE(base.OpenRecordset(QStringLiteral("question")).RecordCount(), nbQuestions);
        }
        f->Fermer->click();

        const QMap<QString, QByteArray> avantVisualisation = empreintes(fx_->dossier->path());
        verifierVisualisation(resultats, compte, !examen);
        QCOMPARE(empreintes(fx_->dossier->path()), avantVisualisation);
        qInfo("session start %lld ms", demarrage);
    }

    void namesThatCannotNameAFileAreRefusedAndOthersKept_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("prenom");
        QTest::addColumn<QString>("classe");
        QTest::addColumn<QString>("refus");   // start of the message; empty when the session starts
        QTest::addColumn<QString>("fichier"); // the results file of a session that starts

        const auto q = [](const char* texte) { return QString::fromUtf8(texte); };
        const auto rangee = [](const char* ligne, const QString& nom, const QString& prenom, const QString& classe,
                               const QString& refus, const QString& fichier) {
            QTest::newRow(ligne) << nom << prenom << classe << refus << fichier;
        };
        const auto refuse = [&](const char* ligne, const QString& nom, const QString& prenom, const QString& classe,
                                const QString& refus) { rangee(ligne, nom, prenom, classe, refus, {}); };
        const auto garde = [&](const char* ligne, const QString& nom, const QString& prenom, const QString& classe,
                               const QString& fichier) { rangee(ligne, nom, prenom, classe, {}, fichier); };
        const QString tropPetit = q("Erreur 3163: Champ trop petit pour accepter la quantité de données");
        const QString interdit = q("Le caractère « %1 » ne peut pas figurer dans un nom de fichier: le nom « %2 » ne "
                                   "peut pas être utilisé");

        refuse("deux-points", q("C:Dupont"), {}, {}, interdit.arg(q(":"), q("C:Dupont")));
        refuse("barre inverse en tête du prénom", q("Dupont"), q("\\Jean"), {}, interdit.arg(q("\\"), q("\\")));
        refuse("caractère DEL", q("Du\x7fpont"), {}, {},
               q("Le nom « Du?pont » contient un caractère de contrôle (code 127), qui ne peut pas figurer dans un nom "
                 "de fichier"));
        refuse("nom de 300 caractères", QString(300, QLatin1Char('D')), {}, {}, q("Erreur 75: "));
        refuse("nom de 51 caractères", QString(51, QLatin1Char('x')), {}, {}, tropPetit);
        refuse("prénom de 300 caractères", q("Dupont"), QString(300, QLatin1Char('J')), {}, tropPetit);
        refuse("classe de 51 caractères", q("Dupont"), {}, QString(51, QLatin1Char('c')), tropPetit);
        garde("nom, prénom et classe de 50 caractères", k50, k50, k50, q("x%1-B1V-Ex-061201.mdb").arg(k50));
        garde("barre oblique et deux-points après l'initiale du prénom", q("Dupont"), q("J/e:an"), {},
              q("JDupont-B1V-Ex-061201.mdb"));
        garde("accents", q("Lefèvre-Œuvré"), q("Éloïse"), q("1ère"), q("ÉLefèvre-Œuvré-B1V-Ex-061201.mdb"));
        garde("deux points comme nom", q(".."), {}, {}, q("..-B1V-Ex-061201.mdb"));
        garde("prénom commençant par deux points", q("Dupont"), q("..Jean"), {}, q(".Dupont-B1V-Ex-061201.mdb"));
    }

    void namesThatCannotNameAFileAreRefusedAndOthersKept() {
        QFETCH(QString, nom);
        QFETCH(QString, prenom);
        QFETCH(QString, classe);
        QFETCH(QString, refus);
        QFETCH(QString, fichier);
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 600, 50, {{QStringLiteral("Généralités"), 1}},
                            fixtures::questionsSimples(2));
        const QMap<QString, QByteArray> avant = empreintes(fx_->dossier->path());
        const ecrans::EcranTest f = choisir(true, QStringLiteral("B1V.mdb"));
        f->OkTest->click();
        // Typed as a pupil types: the box takes control characters only by paste, which setText stands for.
        f->Text1->setText(nom);
        f->Text2->setText(prenom);
        f->Text3->setText(classe);
        QTest::keyClick(f->Text1, Qt::Key_End);
        QVERIFY(f->OkNom->isEnabled());
        fx_->services->messages.expectMessage(
            refus.isEmpty() ? QStringLiteral("Pour réussir ce test il faut 50% de bonnes réponses") : QString());
        f->OkNom->click();
        if (!refus.isEmpty()) {
            QVERIFY2(fx_->services->messages.last().prompt.startsWith(refus),
                     qPrintable(fx_->services->messages.last().prompt));
            QVERIFY(f->Frame1->isVisible());
            QCOMPARE(nouveauxFichiers(avant), QStringList());
            return;
        }
        QVERIFY(f->Frame3->isVisible());
        QCOMPARE(f->Label6->toolTip(), fichier); // the label itself may shorten a long name
        QCOMPARE(f->Label5->toolTip(), prenom + QLatin1Char(' ') + nom.toUpper() + QLatin1Char(' ') + classe);
        QCOMPARE(nouveauxFichiers(avant), QStringList{fichier});
        {
            db::Database base = db::OpenDatabase(fx_->chemin(fichier), db::OpenMode::ReadOnly);
            db::Recordset e = base.OpenRecordset(QStringLiteral("eleves"));
            QCOMPARE(e.Fields(QStringLiteral("nom")).toString(), nom);
            QCOMPARE(e.Fields(QStringLiteral("prenom")).toString(), prenom);
            QCOMPARE(e.Fields(QStringLiteral("classe")).toString(), classe);
        }
        f->Check[0]->click();
        f->Suivant->click();
        f->Suivant->click();
        QCOMPARE(f->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 2 questions"));
        QCOMPARE(f->Label27->text(), f->Label5->toolTip());
        f->Fermer->click();
        verifierVisualisation(fichier, QStringLiteral("Nombre de Bonnes Réponses: 1 sur 2 questions"));
    }
};

QTEST_MAIN(TestFichiersHostiles)
#include "tst_fichiers_hostiles.moc"
