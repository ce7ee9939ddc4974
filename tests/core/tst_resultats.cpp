#include "fixtures.h"
#include "platform/db/database.h"
#include "results/resultats.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;

using Questions = QList<fixtures::QuestionResultat>;
using Chapitres = QList<std::pair<QString, int>>;
using Niveaux = std::array<bool, 5>;
Q_DECLARE_METATYPE(Questions)
Q_DECLARE_METATYPE(Chapitres)

namespace {

fixtures::QuestionResultat q(bool reussi, Niveaux niveaux = {}, int chapitre = 1, QString texte = "Question") {
    fixtures::QuestionResultat question;
    question.reussi = reussi;
    question.niveaux = niveaux;
    question.chapitre = chapitre;
    question.texte = std::move(texte);
    return question;
}

// A results file holding these questions, opened as the results screen finds it.
struct Session {
    QTemporaryDir dossier;
    QString chemin;
    db::Database base;
    db::Recordset eleves;
    db::Recordset questions;
    db::Recordset chapitres;
    EtatSession etat;

    explicit Session(const fixtures::Resultats& resultats, int tolerance = 70) {
        chemin = fixtures::creerResultats(QDir(dossier.path()), "session.mdb", resultats);
        base = db::OpenDatabase(chemin);
        eleves = base.OpenRecordset(QStringLiteral("eleves"));
        questions = base.OpenRecordset(QStringLiteral("question"));
        chapitres = base.OpenRecordset(QStringLiteral("chapitre"));
        etat.NomTest = resultats.nomTest;
        etat.ModeExamen = resultats.examen;
        etat.Tolerance = static_cast<std::int16_t>(tolerance);
        etat.NbQuestions = static_cast<int>(resultats.questions.size());
        etat.dimensionnerOrdre(etat.NbQuestions);
        for (int i = 0; i < etat.NbQuestions; ++i) {
            etat.Ordre[static_cast<std::size_t>(i)] = i;
        }
    }
    TextesResultats calculer(const Verdicts& mots = VerdictsSession) {
        return calculerResultats(eleves, questions, chapitres, etat, mots);
    }
};

fixtures::Resultats avecQuestions(const Questions& questions) {
    fixtures::Resultats resultats;
    resultats.questions = questions;
    return resultats;
}

} // namespace

class TstResultats : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void exempleDeQuatreQuestions();
    void partEtVerdict_data();
    void partEtVerdict();
    void entetes_data();
    void entetes();
    void listeDesQuestionsSuitLaSession();
    void listeDesChapitres();
    void plusDe327BonnesReponses();
    void dateTamponneeParLaSessionSeulement();
};

void TstResultats::exempleDeQuatreQuestions() {
    Session s(avecQuestions({q(true, {true, true, false, false, false}), q(false, {false, true, false, false, false}),
                             q(true, {false, true, false, true, false}), q(false, {false, false, false, true, false})}),
              70);
    const TextesResultats t = s.calculer();
    QCOMPARE(t.label9, QStringLiteral("Nombre de Bonnes Réponses: 2 sur 4 questions"));
    QCOMPARE(t.label10, QStringLiteral("50% de bonnes réponses, vous n'avez pas réussi le test (<70%)"));
    const std::array<QString, 5> niveaux{"B0:1 sur 1 soit 100%", "B1:2 sur 3 soit 66%",
                                         "B2: Pas de questions pour ce niveau", "BR:1 sur 2 soit 50%",
                                         "BC: Pas de questions pour ce niveau"};
    for (std::size_t j = 0; j < niveaux.size(); ++j) {
        QCOMPARE(t.niveaux[j], niveaux[j]);
    }
    QCOMPARE(t.nbBonnes, 2);
    QCOMPARE(t.reussi, false);
}

void TstResultats::partEtVerdict_data() {
    QTest::addColumn<int>("bonnes");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<bool>("visualisation");
    QTest::addColumn<QString>("label9");
    QTest::addColumn<QString>("label10");
    QTest::addColumn<QString>("niveauBR"); // every question carries BR

    QTest::newRow("2 sur 3, tolérance 67: coupé à 66, refusé")
        << 2 << 3 << 67 << false << "Nombre de Bonnes Réponses: 2 sur 3 questions"
        << "66% de bonnes réponses, vous n'avez pas réussi le test (<67%)"
        << "BR:2 sur 3 soit 66%";
    QTest::newRow("2 sur 3, tolérance 66: 66.67 passe")
        << 2 << 3 << 66 << false << "Nombre de Bonnes Réponses: 2 sur 3 questions"
        << "66% de bonnes réponses, vous avez réussi le test (>=66%)"
        << "BR:2 sur 3 soit 66%";
    QTest::newRow("tout juste, tolérance 100")
        << 4 << 4 << 100 << false << "Nombre de Bonnes Réponses: 4 sur 4 questions"
        << "100% de bonnes réponses, vous avez réussi le test (>=100%)"
        << "BR:4 sur 4 soit 100%";
    QTest::newRow("tolérance 0, rien de juste")
        << 0 << 2 << 0 << false << "Nombre de Bonnes Réponses: 0 sur 2 questions"
        << "0% de bonnes réponses, vous avez réussi le test (>=0%)"
        << "BR:0 sur 2 soit 0%";
    QTest::newRow("visionneuse: échec") << 1 << 2 << 70 << true << "Nombre de Bonnes Réponses: 1 sur 2 questions"
                                        << "50% de bonnes réponses, le test n'est pas réussi (<70%)"
                                        << "BR:1 sur 2 soit 50%";
    QTest::newRow("visionneuse: réussite") << 2 << 2 << 70 << true << "Nombre de Bonnes Réponses: 2 sur 2 questions"
                                           << "100% de bonnes réponses, le test est réussi (>=70%)"
                                           << "BR:2 sur 2 soit 100%";
    QTest::newRow("aucune question: ni division par zéro ni niveau")
        << 0 << 0 << 70 << false << "Nombre de Bonnes Réponses: 0 sur 0 questions"
        << "0% de bonnes réponses, vous n'avez pas réussi le test (<70%)"
        << "BR: Pas de questions pour ce niveau";
}

void TstResultats::partEtVerdict() {
    QFETCH(int, bonnes);
    QFETCH(int, total);
    QFETCH(int, tolerance);
    QFETCH(bool, visualisation);
    QFETCH(QString, label9);
    QFETCH(QString, label10);
    QFETCH(QString, niveauBR);

    Questions questions;
    for (int i = 0; i < total; ++i) {
        questions.append(q(i < bonnes, {false, false, false, true, false}));
    }
    Session s(avecQuestions(questions), tolerance);
    const TextesResultats t = s.calculer(visualisation ? VerdictsVisualisation : VerdictsSession);
    QCOMPARE(t.label9, label9);
    QCOMPARE(t.label10, label10);
    QCOMPARE(t.niveaux[3], niveauBR);
    QCOMPARE(t.nbBonnes, bonnes);
}

void TstResultats::entetes_data() {
    QTest::addColumn<QString>("prenom");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("classe");
    QTest::addColumn<bool>("examen");
    QTest::addColumn<QString>("label27");
    QTest::addColumn<QString>("label28");

    QTest::newRow("évaluation") << "jean"
                                << "Dupont"
                                << "1ELEC" << true << "jean DUPONT 1ELEC"
                                << "B1V (Evaluation) du 06/12/01";
    QTest::newRow("entraînement, nom accentué") << "Zoé"
                                                << "Lefèvre"
                                                << "TS2" << false << "Zoé LEFÈVRE TS2"
                                                << "B1V (Entrainement) du 06/12/01";
    QTest::newRow("tout vide") << ""
                               << ""
                               << "" << false << "  "
                               << "B1V (Entrainement) du 06/12/01";
}

void TstResultats::entetes() {
    QFETCH(QString, prenom);
    QFETCH(QString, nom);
    QFETCH(QString, classe);
    QFETCH(bool, examen);
    QFETCH(QString, label27);
    QFETCH(QString, label28);

    fixtures::Resultats resultats = avecQuestions({q(true)});
    resultats.prenom = prenom;
    resultats.nom = nom;
    resultats.classe = classe;
    resultats.examen = examen;
    Session s(resultats);
    const TextesResultats t = s.calculer();
    QCOMPARE(t.label27, label27);
    QCOMPARE(t.label28, label28);
}

void TstResultats::listeDesQuestionsSuitLaSession() {
    const QString longue = QString(100, QLatin1Char('a')) + QStringLiteral("bcdefghijKL"); // 111 characters
    Session s(avecQuestions({q(true, {}, 1, "Première"), q(false, {}, 1, longue), q(true, {}, 1, "Troisième")}));
    s.etat.Ordre = {2, 0, 1, 9}; // a place beyond the session is not read
    const TextesResultats t = s.calculer();
    QCOMPARE(t.list1, (QStringList{"Troisième      :Oui", "Première      :Oui",
                                   QString(100, QLatin1Char('a')) + "bcdefghijK      :Non"}));
}

void TstResultats::listeDesChapitres() {
    // Chapters in stored order; one without questions gets no line; each counts every question record, also
    // the ones the session's order shows twice or never.
    fixtures::Resultats resultats = avecQuestions(
        {q(true, {}, 2), q(false, {}, 2), q(true, {}, 1), q(true, {}, 2), q(false, {}, 2), q(false, {}, 7)});
    resultats.chapitres = {{"Dangers", 2}, {"Sans questions", 3}, {"Généralités", 1}};
    Session s(resultats);
    s.etat.Ordre = {0, 0, 0, 0, 0, 0};
    const TextesResultats t = s.calculer();
    QCOMPARE(t.list2, (QStringList{"Dangers:   50%", "Généralités:   100%"}));
    QCOMPARE(t.nbBonnes, 6);
}

void TstResultats::plusDe327BonnesReponses() {
    // Counts times 100 once overflowed 16 bits beyond 327 right answers; they are plain ints now.
    Questions questions;
    for (int i = 0; i < 400; ++i) {
        questions.append(q(i < 399, {true, false, false, false, false}));
    }
    Session s(avecQuestions(questions), 99);
    const TextesResultats t = s.calculer();
    QCOMPARE(t.label9, QStringLiteral("Nombre de Bonnes Réponses: 399 sur 400 questions"));
    QCOMPARE(t.label10, QStringLiteral("99% de bonnes réponses, vous avez réussi le test (>=99%)"));
    QCOMPARE(t.niveaux[0], QStringLiteral("B0:399 sur 400 soit 99%"));
    QCOMPARE(t.list2, QStringList{"Généralités:   99%"});
}

void TstResultats::dateTamponneeParLaSessionSeulement() {
    fixtures::Resultats resultats = avecQuestions({q(true)});
    resultats.date = QStringLiteral("01/09/01");
    {
        // The viewer computes without stamping: the stored date is shown and stays.
        Session s(resultats);
        QCOMPARE(s.calculer(VerdictsVisualisation).label28, QStringLiteral("B1V (Evaluation) du 01/09/01"));
        db::Database relue = db::OpenDatabase(s.chemin, db::OpenMode::ReadOnly);
        db::Recordset eleves = relue.OpenRecordset(QStringLiteral("eleves"));
        eleves.setAbsolutePosition(0);
        QCOMPARE(eleves.Fields(QStringLiteral("date")).toString(), QStringLiteral("01/09/01"));
    }
    Session s(resultats);
    tamponnerDate(s.eleves, QDate(2002, 3, 7));
    QCOMPARE(s.calculer().label28, QStringLiteral("B1V (Evaluation) du 07/03/02"));
    db::Database relue = db::OpenDatabase(s.chemin, db::OpenMode::ReadOnly);
    db::Recordset eleves = relue.OpenRecordset(QStringLiteral("eleves"));
    QCOMPARE(eleves.RecordCount(), 1);
    eleves.setAbsolutePosition(0);
    QCOMPARE(eleves.Fields(QStringLiteral("date")).toString(), QStringLiteral("07/03/02"));
}

QTEST_GUILESS_MAIN(TstResultats)
#include "tst_resultats.moc"
