// The class summary read from a folder of results files made by the program's own sessions: the lines' figures
// equal the results screen's, the question figures, levels x chapters, the latest-only switch, the files set aside,
// and the CSV's bytes.

#include "bilan/bilan.h"
#include "bilan/exportbilan.h"
#include "classe.h"
#include "data/fichierresultats.h"
#include "platform/db/database.h"
#include "support/erreurs.h"
#include "support/fixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;

namespace {

constexpr double Aucun = -1.0; // a level without question

QList<double> enListe(const std::array<std::optional<double>, bilan::NbNiveaux>& niveaux) {
    QList<double> l;
    for (const auto& n : niveaux) {
        l << n.value_or(Aucun);
    }
    return l;
}

std::map<QString, QByteArray> empreintes(const QString& dossier) {
    std::map<QString, QByteArray> sommes;
    QDirIterator it(dossier, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) {
            sommes[it.fileName()] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        }
    }
    return sommes;
}

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ecrire(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(octets);
}

const bilan::Passage* ligne(const bilan::Classe& c, const QString& prenom, bool examen) {
    for (const bilan::Passage& p : c.passages) {
        if (p.prenom == prenom && p.examen == examen) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace

class TstBilan : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    std::map<QString, results::TextesResultats> ecrans_;
    bilan::Classe classe_;

private slots:
    void initTestCase();
    void lignes_data();
    void lignes();
    void questions_data();
    void questions();
    void niveauxEtChapitres();
    void filtres();
    void fichiersAPart_data();
    void fichiersAPart();
    void fichierQuiDisparait();
    void csvFrancais();
};

void TstBilan::initTestCase() {
    ecrans_ = classe::creer(dossier_.path());
    const auto avant = empreintes(dossier_.path());
    int appels = 0;
    classe_ = bilan::lireResultatsDuDossier(dossier_.path(), {}, [&](int faits, int total) {
        ++appels;
        QCOMPARE(total, 6);
        QCOMPARE(faits, appels);
    });
    QCOMPARE(appels, 6);
    QCOMPARE(empreintes(dossier_.path()), avant); // not a byte changed, no journal left
    QCOMPARE(classe_.passages.size(), std::size_t(4));
    QVERIFY(classe_.ignores.empty()); // the test and the settings file are passed over silently
    QCOMPARE(classe_.questionsParTest.at(QStringLiteral("B1V")).size(), std::size_t(6));
}

void TstBilan::lignes_data() {
    QTest::addColumn<QString>("prenom");
    QTest::addColumn<bool>("examen");
    QTest::addColumn<int>("bonnes");
    QTest::addColumn<int>("repondues");
    QTest::addColumn<double>("pourcentage");
    QTest::addColumn<bool>("reussi");
    QTest::addColumn<QList<double>>("niveaux");
    QTest::addColumn<QList<double>>("chapitres");
    QTest::addColumn<QString>("screen"); // as the results screen says it

    QTest::newRow("tout juste") << "Alice" << false << 6 << 6 << 100.0 << true
                                << QList<double>{100, 100, Aucun, 100, Aucun} << QList<double>{100, 100}
                                << "100% de bonnes réponses, le test est réussi (>=70%)";
    QTest::newRow("la moitié") << "Bruno" << false << 3 << 6 << 50.0 << false
                               << QList<double>{100.0 / 3, 100.0 / 3, Aucun, 100, Aucun}
                               << QList<double>{100.0 / 3, 200.0 / 3}
                               << "50% de bonnes réponses, le test n'est pas réussi (<70%)";
    QTest::newRow("abandon") << "Chloé" << false << 1 << 2 << 100.0 / 6 << false
                             << QList<double>{100.0 / 3, 0, Aucun, 0, Aucun} << QList<double>{100.0 / 3, 0}
                             << "16% de bonnes réponses, le test n'est pas réussi (<70%)";
    QTest::newRow("évaluation") << "Bruno" << true << 5 << 6 << 500.0 / 6 << true
                                << QList<double>{100, 100, Aucun, 50, Aucun} << QList<double>{100, 200.0 / 3}
                                << "83% de bonnes réponses, le test est réussi (>=70%)";
}

void TstBilan::lignes() {
    QFETCH(QString, prenom);
    QFETCH(bool, examen);
    const bilan::Passage* p = ligne(classe_, prenom, examen);
    QVERIFY(p != nullptr);
    QTEST(p->bonnes, "bonnes");
    QTEST(p->repondues, "repondues");
    QCOMPARE(p->total, 6);
    QTEST(p->pourcentage, "pourcentage");
    QTEST(p->reussi, "reussi");
    QCOMPARE(p->tolerance, 70);
    QTEST(enListe(p->niveaux), "niveaux");
    QList<double> chapitres;
    for (const bilan::PourcentageChapitre& c : p->chapitres) {
        chapitres << c.pourcentage.value_or(Aucun);
    }
    QTEST(chapitres, "chapitres");
    QCOMPARE(p->chapitres.at(1).nom, QStringLiteral("Sécurité"));
    QCOMPARE(p->jour, examen ? QDate(2001, 12, 8) : QDate(2001, 12, 6));
    QCOMPARE(p->classe, prenom == QStringLiteral("Chloé") ? QStringLiteral("1B") : QStringLiteral("1A"));

    // What the results screen showed at the end of the session, to the digit.
    const results::TextesResultats& ecran = ecrans_.at(QFileInfo(p->fichier).fileName());
    QTEST(ecran.verdict, "screen");
    QCOMPARE(ecran.pourcentage, p->pourcentage);
    QCOMPARE(ecran.nbBonnes, p->bonnes);
    for (std::size_t j = 0; j < p->niveaux.size(); ++j) {
        const QString attendu = p->niveaux[j] ? QStringLiteral(" soit %1%").arg(bilan::pourcentageCoupe(*p->niveaux[j]))
                                              : QStringLiteral(" Pas de questions pour ce niveau");
        QVERIFY2(ecran.niveaux[j].endsWith(attendu), qPrintable(ecran.niveaux[j]));
    }
    QCOMPARE(ecran.lignesChapitres.size(), qsizetype(p->chapitres.size()));
    for (std::size_t i = 0; i < p->chapitres.size(); ++i) {
        QCOMPARE(ecran.lignesChapitres[qsizetype(i)], QStringLiteral("%1:   %2%")
                                                          .arg(p->chapitres[i].nom)
                                                          .arg(bilan::pourcentageCoupe(*p->chapitres[i].pourcentage)));
    }
}

void TstBilan::questions_data() {
    QTest::addColumn<bool>("dernierSeulement");
    QTest::addColumn<QStringList>("ordre"); // question numbers, hardest first
    QTest::addColumn<QList<int>>("justes");
    QTest::addColumn<QList<int>>("repondues");
    QTest::addColumn<QList<int>>("cocheesQ2"); // how often each answer of question 2 was ticked

    QTest::newRow("tous les passages") << false << QStringList{"2", "3", "5", "1", "4", "6"}
                                       << QList<int>{2, 2, 2, 3, 3, 3} << QList<int>{4, 3, 3, 4, 3, 3}
                                       << QList<int>{3, 2, 0, 0, 0};
    QTest::newRow("dernier passage seulement")
        << true << QStringList{"5", "2", "3", "4", "6", "1"} << QList<int>{1, 2, 2, 2, 2, 3}
        << QList<int>{2, 3, 2, 2, 2, 3} << QList<int>{3, 1, 0, 0, 0};
}

void TstBilan::questions() {
    QFETCH(bool, dernierSeulement);
    bilan::Filtre filtre;
    filtre.dernierSeulement = dernierSeulement;
    const bilan::Selection selection = bilan::filtrer(classe_, filtre);
    QCOMPARE(int(selection.size()), dernierSeulement ? 3 : 4);
    const auto stats = bilan::statistiquesQuestions(classe_, QStringLiteral("B1V"), selection);
    QStringList ordre;
    QList<int> justes;
    QList<int> repondues;
    for (const bilan::StatistiqueQuestion& s : stats) {
        ordre << s.question->numero;
        justes << s.justes;
        repondues << s.repondues;
        QCOMPARE(s.candidats, int(selection.size()));
        QCOMPARE(*s.pourcentage, s.justes * 100.0 / s.candidats);
        if (s.question->numero == QLatin1String("2")) {
            QList<int> cochees(s.cochees.begin(), s.cochees.end());
            QTEST(cochees, "cocheesQ2");
            QCOMPARE(s.question->attendues, (std::array<bool, 5>{true, false, false, false, false}));
            QCOMPARE(s.question->niveaux, (std::array<bool, 5>{true, true, false, false, false}));
        }
    }
    QTEST(ordre, "ordre");
    QTEST(justes, "justes");
    QTEST(repondues, "repondues");
}

void TstBilan::niveauxEtChapitres() {
    const bilan::Croisement c = bilan::croiser(classe_, QStringLiteral("B1V"), bilan::tous(classe_));
    QCOMPARE(c.chapitres.size(), std::size_t(2));
    QCOMPARE(c.chapitres[0].nom, QStringLiteral("Généralités"));
    // Chapter 1 holds questions 1, 2 and 6 (B0; 2 is B1 too): 3 + 2 + 3 right out of 12.
    QCOMPARE(*c.cellules[0][0], 800.0 / 12);
    QCOMPARE(*c.cellules[0][1], 50.0); // question 2 alone
    QVERIFY(!c.cellules[0][2] && !c.cellules[0][3]);
    QCOMPARE(*c.chapitres[0].pourcentage, 800.0 / 12);
    // Chapter 2: questions 3 (B1), 4 (B1 BR), 5 (BR): 2 + 3 + 2 right out of 12.
    QCOMPARE(*c.chapitres[1].pourcentage, 700.0 / 12);
    QCOMPARE(*c.cellules[1][3], 500.0 / 8);
    QCOMPARE(*c.niveaux[1], 700.0 / 12);
    QCOMPARE(bilan::repartition(bilan::tous(classe_), QStringLiteral("B1V")),
             (std::array<int, 10>{0, 1, 0, 0, 0, 1, 0, 0, 1, 1}));
}

void TstBilan::filtres() {
    const auto prenoms = [](const bilan::Selection& s) {
        QStringList l;
        for (const bilan::Passage* p : s) {
            l << p->prenom + (p->examen ? QStringLiteral("*") : QString());
        }
        return l;
    };
    bilan::Filtre f;
    QCOMPARE(prenoms(bilan::filtrer(classe_, f)), (QStringList{"Alice", "Bruno", "Bruno*", "Chloé"}));
    f.classe = QStringLiteral("1b");
    QCOMPARE(prenoms(bilan::filtrer(classe_, f)), QStringList{"Chloé"});
    f = {};
    f.examen = false;
    f.reussi = false;
    QCOMPARE(prenoms(bilan::filtrer(classe_, f)), (QStringList{"Bruno", "Chloé"}));
    f = {};
    f.du = QDate(2001, 12, 7);
    QCOMPARE(prenoms(bilan::filtrer(classe_, f)), QStringList{"Bruno*"});
    f.du = {};
    f.au = QDate(2001, 12, 7);
    f.dernierSeulement = true; // Bruno's evaluation is filtered out first: his training is his latest here
    QCOMPARE(prenoms(bilan::filtrer(classe_, f)), (QStringList{"Alice", "Bruno", "Chloé"}));
}

void TstBilan::fichiersAPart_data() {
    QTest::addColumn<QString>("genre");
    QTest::addColumn<int>("passages");
    QTest::addColumn<bool>("enCours"); // the file set aside is en cours (none set aside when passages is 2)
    QTest::addColumn<QString>("raison");

    QTest::newRow("verrouillé par une séance") << "verrou" << 1 << true << "verrouillé";
    QTest::newRow("sans candidat") << "sans eleve" << 1 << true << "Aucun candidat";
    QTest::newRow("base sans tables") << "vide" << 1 << true << "sans tables";
    QTest::newRow("fichier vide") << "zero" << 1 << true << "vide";
    QTest::newRow("tronqué") << "tronque" << 1 << false << "";
    QTest::newRow("Access d'origine") << "access" << 1 << false << "Access";
    QTest::newRow("texte") << "texte" << 1 << false << "pas une base";
    QTest::newRow("autre base") << "autre" << 1 << false << "-"; // passed over
    QTest::newRow("numéros en double") << "doublons" << 2 << false << "";
}

void TstBilan::fichiersAPart() {
    QFETCH(QString, genre);
    QFETCH(int, passages);
    QTemporaryDir dossier;
    const QString bon = dossier.filePath(QStringLiteral("a.mdb"));
    QVERIFY(QFile::copy(classe_.passages.front().fichier, bon));
    const QString autre = dossier.filePath(QStringLiteral("b.mdb"));
    std::optional<db::Database> ecrivain;
    if (genre == QLatin1String("verrou")) {
        QVERIFY(QFile::copy(bon, autre));
        ecrivain = db::OpenDatabase(autre);
        ecrivain->BeginTrans();
    } else if (genre == QLatin1String("sans eleve")) {
        fixtures::Resultats r;
        r.avecEleve = false;
        r.questions = fixtures::questionsSimples(2);
        fixtures::creerResultats(autre, r);
    } else if (genre == QLatin1String("vide")) {
        db::CreateDatabase(autre);
    } else if (genre == QLatin1String("zero")) {
        ecrire(autre, {});
    } else if (genre == QLatin1String("tronque")) {
        ecrire(autre, lire(bon).left(5000));
    } else if (genre == QLatin1String("access")) {
        ecrire(autre, QByteArray::fromHex("00010000") + "Standard Jet DB" + QByteArray(2048, '\0'));
    } else if (genre == QLatin1String("texte")) {
        ecrire(autre, "Nom;Prénom\n");
    } else if (genre == QLatin1String("autre")) {
        fixtures::creerBase(autre, {QStringLiteral("notes")});
    } else if (genre == QLatin1String("doublons")) {
        fixtures::Resultats r;
        r.questions = fixtures::questionsSimples(3);
        r.questions[1].numero = 1; // numbers 1, 1, 3: the later 1 holds place 1, number 2 stands for the first
        r.questions[1].texte = r.questions[0].texte; // the same question twice
        r.questions[1].reussi = true;
        r.questions[2].reussi = true;
        fixtures::creerResultats(autre, r);
    }
    const auto avant = empreintes(dossier.path());
    const bilan::Classe c = bilan::lireResultatsDuDossier(dossier.path());
    ecrivain.reset();
    QCOMPARE(empreintes(dossier.path()), avant);
    QCOMPARE(int(c.passages.size()), passages);
    QFETCH(QString, raison);
    if (passages == 2 || raison == QLatin1String("-")) {
        QVERIFY(c.ignores.empty());
    } else {
        QCOMPARE(c.ignores.size(), std::size_t(1));
        QCOMPARE(c.ignores[0].fichier, autre);
        QTEST(c.ignores[0].enCours, "enCours");
        QVERIFY2(!c.ignores[0].raison.isEmpty() && c.ignores[0].raison.contains(raison),
                 qPrintable(c.ignores[0].raison));
    }
    if (genre == QLatin1String("doublons")) {
        const bilan::Passage& p = c.passages[1];
        QCOMPARE(p.total, 3);
        QCOMPARE(p.bonnes, 2); // places: record 2 (number 1, right), record 1 (for number 2), record 3 (right)
        // Questions 1 and 3 are the class's; the second copy of question 1 is a question of its own.
        QCOMPARE(c.questionsParTest.at(QStringLiteral("B1V")).size(), std::size_t(6 + 1));
    }
}

void TstBilan::fichierQuiDisparait() {
    QTemporaryDir dossier;
    const QString a = dossier.filePath(QStringLiteral("a.mdb"));
    const QString b = dossier.filePath(QStringLiteral("b.mdb"));
    QVERIFY(QFile::copy(classe_.passages.front().fichier, a));
    QVERIFY(QFile::copy(a, b));
    const bilan::Classe c = bilan::lireResultatsDuDossier(dossier.path(), {}, [&](int faits, int) {
        if (faits == 1) {
            QFile::remove(b);
        }
    });
    QCOMPARE(c.passages.size(), std::size_t(1));
    QCOMPARE(c.ignores.size(), std::size_t(1));
    QVERIFY(c.ignores[0].raison.contains(QStringLiteral("disparu")));
    KELVANE_EXPECT_ERROR(bilan::lireResultatsDuDossier(dossier.filePath(QStringLiteral("absent"))), errc::PathNotFound);
}

void TstBilan::csvFrancais() {
    bilan::Classe c;
    bilan::Passage p;
    p.fichier = QStringLiteral("/classes/1A/x.mdb");
    p.nom = QStringLiteral("Dupont; \"Jo\"");
    p.prenom = QStringLiteral("Élise");
    p.classe = QStringLiteral("1A");
    p.test = QStringLiteral("B1V");
    p.examen = true;
    p.date = QStringLiteral("06/12/01");
    p.jour = QDate(2001, 12, 6);
    p.bonnes = 5;
    p.repondues = 6;
    p.total = 6;
    p.pourcentage = 500.0 / 6;
    p.tolerance = 70;
    p.reussi = true;
    p.niveaux = {100.0, std::nullopt, std::nullopt, 50.0, std::nullopt};
    p.chapitres = {{1, QStringLiteral("Généralités"), 75.0}};
    c.passages.push_back(p);
    const QByteArray octets = bilan::csv(bilan::tableauEleves(c, bilan::tous(c)));
    QVERIFY(octets.startsWith("\xEF\xBB\xBF"));
    const QStringList lignes = QString::fromUtf8(octets.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lignes.size(), 3); // the header, one line, and the empty text after the last CRLF
    QCOMPARE(lignes[0], QStringLiteral("Nom;Prénom;Classe;Test;Mode;Date;Bonnes réponses;Questions répondues;"
                                       "Questions;Pourcentage (%);Seuil (%);Verdict;B0 (%);B1 (%);B2 (%);BR (%);"
                                       "BC (%);1 - Généralités (%);Fichier"));
    QCOMPARE(lignes[1], QStringLiteral("\"Dupont; \"\"Jo\"\"\";Élise;1A;B1V;Examen;06/12/2001;5;6;6;83,33;70,00;"
                                       "Réussi;100,00;;;50,00;;75,00;") +
                            QDir::toNativeSeparators(QStringLiteral("/classes/1A/x.mdb"))); // as the system shows it

    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("classe.csv"));
    ecrire(chemin, "ancien");
    bilan::ecrireCsv(chemin, c, bilan::tous(c));
    QCOMPARE(lire(chemin), octets);
    KELVANE_EXPECT_ERROR(bilan::ecrireCsv(dossier.filePath(QStringLiteral("absent/classe.csv")), c, bilan::tous(c)),
                         errc::PathFileAccess);
    QCOMPARE(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"classe.csv"});
}

QTEST_GUILESS_MAIN(TstBilan)
#include "tst_bilan.moc"
