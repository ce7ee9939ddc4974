#include "results/resultats.h"
#include "session/modetest.h"
#include "support/erreurs.h"

#include <QTest>
#include <numeric>

using namespace kelvane;
using namespace kelvane::results;

using Niveaux = std::array<bool, 5>;

namespace {

data::QuestionResultats q(bool reussi, Niveaux niveaux = {}, int chapitre = 1,
                          QString texte = QStringLiteral("Question")) {
    data::QuestionResultats question;
    question.reussi = reussi;
    question.niveaux = niveaux;
    question.chapitre = chapitre;
    question.texte = std::move(texte);
    return question;
}

// A finished session on values: the candidate, the questions in stored order shown in that order, the chapters.
struct Session {
    data::Eleve eleve{QStringLiteral("Dupont"),
                      QStringLiteral("Jean"),
                      QStringLiteral("1ELEC"),
                      QStringLiteral("B1V"),
                      QStringLiteral("06/12/01"),
                      true,
                      600,
                      70};
    std::vector<data::QuestionResultats> questions;
    std::vector<data::Chapitre> chapitres{{QStringLiteral("Généralités"), 1}};
    Seance seance;

    explicit Session(std::vector<data::QuestionResultats> qs, int tolerance = 70) : questions(std::move(qs)) {
        seance.nomTest = QStringLiteral("B1V");
        seance.libelleMode = session::modeEvaluation().libelleMode;
        seance.tolerance = tolerance;
        seance.nbQuestions = static_cast<int>(questions.size());
        seance.ordre.resize(questions.size());
        std::iota(seance.ordre.begin(), seance.ordre.end(), 0);
    }
    TextesResultats calculer(const Verdicts& mots = VerdictsSession) const {
        return calculerResultats(eleve, questions, chapitres, seance, mots);
    }
};

} // namespace

class TstResultats : public QObject {
    Q_OBJECT

private slots:
    void exempleDeQuatreQuestions();
    void partEtVerdict_data();
    void partEtVerdict();
    void entetes_data();
    void entetes();
    void listeDesQuestionsSuitLaSession();
    void listeDesChapitres();
    void plusDe327BonnesReponses();
    void ordreHorsDesQuestionsRefuse();
};

void TstResultats::exempleDeQuatreQuestions() {
    const Session s({q(true, {true, true, false, false, false}), q(false, {false, true, false, false, false}),
                     q(true, {false, true, false, true, false}), q(false, {false, false, false, true, false})});
    const TextesResultats t = s.calculer();
    QCOMPARE(t.nombreBonnes, QStringLiteral("Nombre de Bonnes Réponses: 2 sur 4 questions"));
    QCOMPARE(t.verdict, QStringLiteral("50% de bonnes réponses, vous n'avez pas réussi le test (<70%)"));
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
    QTest::addColumn<QString>("nombreBonnes");
    QTest::addColumn<QString>("verdict");
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
    QFETCH(QString, nombreBonnes);
    QFETCH(QString, verdict);
    QFETCH(QString, niveauBR);

    std::vector<data::QuestionResultats> questions;
    for (int i = 0; i < total; ++i) {
        questions.push_back(q(i < bonnes, {false, false, false, true, false}));
    }
    const Session s(questions, tolerance);
    const TextesResultats t = s.calculer(visualisation ? VerdictsVisualisation : VerdictsSession);
    QCOMPARE(t.nombreBonnes, nombreBonnes);
    QCOMPARE(t.verdict, verdict);
    QCOMPARE(t.niveaux[3], niveauBR);
    QCOMPARE(t.nbBonnes, bonnes);
}

void TstResultats::entetes_data() {
    QTest::addColumn<QString>("prenom");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("classe");
    QTest::addColumn<bool>("examen");
    QTest::addColumn<QString>("candidat");
    QTest::addColumn<QString>("entete");

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
    QFETCH(QString, candidat);
    QFETCH(QString, entete);

    Session s({q(true)});
    s.eleve.prenom = prenom;
    s.eleve.nom = nom;
    s.eleve.classe = classe;
    s.seance.libelleMode = session::modeTest(examen).libelleMode;
    const TextesResultats t = s.calculer();
    QCOMPARE(t.candidat, candidat);
    QCOMPARE(t.entete, entete);
}

void TstResultats::listeDesQuestionsSuitLaSession() {
    const QString longue = QString(100, QLatin1Char('a')) + QStringLiteral("bcdefghijKL"); // 111 characters
    Session s({q(true, {}, 1, "Première"), q(false, {}, 1, longue), q(true, {}, 1, "Troisième")});
    s.seance.ordre = {2, 0, 1, 9}; // a place beyond the session is not read
    const TextesResultats t = s.calculer();
    QCOMPARE(t.lignesQuestions, (QStringList{"Troisième      :Oui", "Première      :Oui",
                                             QString(100, QLatin1Char('a')) + "bcdefghijK      :Non"}));
}

void TstResultats::listeDesChapitres() {
    // Chapters in stored order; one without questions gets no line; each counts every question record, also
    // the ones the session's order shows twice or never.
    Session s({q(true, {}, 2), q(false, {}, 2), q(true, {}, 1), q(true, {}, 2), q(false, {}, 2), q(false, {}, 7)});
    s.chapitres = {{"Dangers", 2}, {"Sans questions", 3}, {"Généralités", 1}, {"Numéro nul", {}}};
    s.seance.ordre = {0, 0, 0, 0, 0, 0};
    const TextesResultats t = s.calculer();
    QCOMPARE(t.lignesChapitres, (QStringList{"Dangers:   50%", "Généralités:   100%"}));
    QCOMPARE(t.nbBonnes, 6);
}

void TstResultats::plusDe327BonnesReponses() {
    // Counts times 100 once overflowed 16 bits beyond 327 right answers; they are plain ints now.
    std::vector<data::QuestionResultats> questions;
    for (int i = 0; i < 400; ++i) {
        questions.push_back(q(i < 399, {true, false, false, false, false}));
    }
    const Session s(questions, 99);
    const TextesResultats t = s.calculer();
    QCOMPARE(t.nombreBonnes, QStringLiteral("Nombre de Bonnes Réponses: 399 sur 400 questions"));
    QCOMPARE(t.verdict, QStringLiteral("99% de bonnes réponses, vous avez réussi le test (>=99%)"));
    QCOMPARE(t.niveaux[0], QStringLiteral("B0:399 sur 400 soit 99%"));
    QCOMPARE(t.lignesChapitres, QStringList{"Généralités:   99%"});
}

void TstResultats::ordreHorsDesQuestionsRefuse() {
    // An order that points past the records (a file changed under the session) is an error, never a read out of
    // bounds; a place it never filled stands for the first question.
    Session s({q(true), q(false)});
    s.seance.ordre = {1, 2};
    KELVANE_EXPECT_ERROR(s.calculer(), errc::InvalidArgument);
    s.seance.ordre = {1};
    QCOMPARE(s.calculer().lignesQuestions, (QStringList{"Question      :Non", "Question      :Oui"}));
}

QTEST_GUILESS_MAIN(TstResultats)
#include "tst_resultats.moc"
