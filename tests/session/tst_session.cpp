#include "support/scenarios.h"

#include <QElapsedTimer>
#include <QRegularExpression>

using namespace kelvane;
using namespace scenario;

namespace {

fixtures::Question qcm(int numero, int chapitre, std::array<bool, 5> niveaux, const QString& texte) {
    fixtures::Question q;
    q.niveaux = niveaux;
    q.texte = texte;
    q.nbReponses = 3;
    q.reponses = {QStringLiteral("Oui"), QStringLiteral("Non"), QStringLiteral("Peut-être"), {}, {}};
    q.attendu = {1, 0, 1, 0, 0};
    q.chapitre = chapitre;
    q.numero = numero;
    return q;
}

fixtures::Question ordre(int numero, int chapitre) {
    fixtures::Question q = qcm(numero, chapitre, {false, true, false, true, false},
                               QStringLiteral("Remettez les étapes de la consignation dans l'ordre"));
    q.reponses = {QStringLiteral("Condamner"),
                  QStringLiteral("Vérifier l'absence de tension"),
                  QStringLiteral("Séparer"),
                  {},
                  {}};
    q.attendu = {2, 3, 1, 0, 0};
    q.qcm = false;
    return q;
}

// Stored order: numbers 3, 1, 2.
std::vector<fixtures::Question> troisQuestions() {
    return {qcm(3, 2, {false, true, false, true, false}, QStringLiteral("Troisième question ?")),
            qcm(1, 1, {true, true, false, false, false}, QStringLiteral("Première question ?")), ordre(2, 1)};
}

const std::vector<fixtures::Chapitre> kChapitres{{QStringLiteral("Généralités"), 1},
                                                 {QStringLiteral("Consignation"), 2},
                                                 {QStringLiteral("Chapitre sans question"), 3}};

const Candidat kJean{QStringLiteral("Dupont"), QStringLiteral("jean"), QStringLiteral("1A")};

} // namespace

// A session at the question and results frames: order, answers recorded and marked, moves, giving up, results.
class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<FormeFixture> fx_;

    // The three questions answered right, wrong (ordering) and wrong, then the results.
    ecrans::EcranTest jusquAuxResultats() {
        const ecrans::EcranTest e = commencer(*fx_, false, QStringLiteral("B1V"), kJean);
        e->Check[0]->click();
        e->Check[2]->click();
        e->Suivant->click();
        e->Suivant->click();
        e->Check[1]->click();
        e->Suivant->click();
        return e;
    }

private slots:
    void init() {
        fx_ = std::make_unique<FormeFixture>();
        fx_->services->clock.sec = 30;
        fixtures::creerTest(fx_->chemin(QStringLiteral("B1V.mdb")), 90, 70, kChapitres, troisQuestions());
    }
    void cleanup() {
        QVERIFY(fx_->services->messages.allAnswered());
        fx_.reset();
    }

    void aWholeTrainingSession() {
        const ecrans::EcranTest e = commencer(*fx_, false, QStringLiteral("B1V"), kJean);
        QCOMPARE(fx_->services->messages.last().title, QStringLiteral(" Avertissement"));
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("jDupont-B1V-061201.mdb"))));
        QVERIFY(!tenuOuvert(fx_->chemin(QStringLiteral("B1V.mdb"))));
        QVERIFY(e->Frame3->isVisible() && e->Frame1->isHidden());
        QCOMPARE(e->Label5->text(), QStringLiteral("jean DUPONT 1A"));
        QCOMPARE(e->Label7->text(), QStringLiteral("B1V (Entrainement)"));
        QCOMPARE(e->Label6->text(), QStringLiteral("jDupont-B1V-061201.mdb"));
        QVERIFY(fx_->minuterie(e)->isEnabled());

        // By number: the question numbered 1 (stored second) comes first.
        QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 1"));
        QCOMPARE(e->Label22->text(), QStringLiteral("Première question ?"));
        QCOMPARE(e->Label8->text(), QStringLiteral("Généralités"));
        QCOMPARE(e->Label21->text(), QStringLiteral("Cochez les bonnes réponses"));
        QVERIFY(!e->Precedent->isEnabled());
        QCOMPARE(e->Suivant->text(), QStringLiteral(">>"));
        QCOMPARE(e->Suivant->accessibleName(), QStringLiteral("Question suivante"));
        QVERIFY(e->Check[0]->isVisible() && e->Check[2]->isVisible() && e->Check[3]->isHidden());
        QVERIFY(e->Combo[0]->isHidden());
        gui::photographier(e.forme, QStringLiteral("entrainement-frame3"));
        e->Check[0]->click();
        e->Check[2]->click();
        e->Suivant->click();

        // The ordering question, answered with a typed rank that carries letters.
        QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 2"));
        QCOMPARE(e->Label21->text(), QStringLiteral("Remettez les réponses dans l'ordre"));
        QVERIFY(e->Combo[0]->isVisible() && e->Combo[2]->isVisible() && e->Combo[3]->isHidden());
        QCOMPARE(e->Combo[0]->count(), 3);
        QVERIFY(e->Precedent->isEnabled());
        e->Combo[0]->setCurrentIndex(1);
        e->Combo[1]->setEditText(QStringLiteral("3e"));
        e->Combo[2]->setEditText(QStringLiteral(" 1"));
        e->Suivant->click();
        QCOMPARE(e->Suivant->text(), QStringLiteral("Terminer"));
        QCOMPARE(e->Suivant->accessibleName(), QStringLiteral("Terminer le test"));
        QCOMPARE(e->Label8->text(), QStringLiteral("Consignation"));

        // Back and forth: the recorded answer comes back on screen.
        e->Precedent->click();
        QCOMPARE(e->Combo[0]->currentText(), QStringLiteral("2"));
        QCOMPARE(e->Combo[1]->currentText(), QStringLiteral("3"));
        QCOMPARE(e->Combo[2]->currentText(), QStringLiteral("1"));
        QCOMPARE(e->Suivant->text(), QStringLiteral(">>"));
        QCOMPARE(e->Suivant->accessibleName(), QStringLiteral("Question suivante"));
        e->Suivant->click();
        e->Check[1]->click(); // wrong
        e->Suivant->click();

        QVERIFY(e->Frame5->isVisible() && e->Frame3->isHidden());
        QVERIFY(!fx_->minuterie(e)->isEnabled());
        QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions"));
        QCOMPARE(e->Label27->text(), QStringLiteral("jean DUPONT 1A"));
        QCOMPARE(e->Label28->text(), QStringLiteral("B1V (Entrainement) du 06/12/01"));
        QCOMPARE(gui::lignes(e->List1),
                 (QStringList{QStringLiteral("Première question ?      :Oui"),
                              QStringLiteral("Remettez les étapes de la consignation dans l'ordre      :Oui"),
                              QStringLiteral("Troisième question ?      :Non")}));
        // The level and chapter texts drawn from these marks are tst_resultats' business.
        gui::photographier(e.forme, QStringLiteral("entrainement-frame5"));

        // A line of the list leads back to that question, the countdown going on; the answer changed is marked.
        gui::cliquerLigne(e->List1, 2);
        QVERIFY(e->Frame3->isVisible());
        QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 3"));
        QVERIFY(e->Check[1]->isChecked());
        QVERIFY(fx_->minuterie(e)->isEnabled());
        e->Check[1]->click();
        e->Check[0]->click();
        e->Check[2]->click();
        e->Suivant->click();
        QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 3 sur 3 questions"));
        e->Retourner->click();
        QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 1"));
        QVERIFY(!e->Precedent->isEnabled());

        // The file holds every answer and its mark.
        db::Database base =
            db::OpenDatabase(fx_->chemin(QStringLiteral("jDupont-B1V-061201.mdb")), db::OpenMode::ReadOnly);
        db::Recordset q = base.OpenRecordset(QStringLiteral("question"));
        q.setAbsolutePosition(2);
        QCOMPARE(q.Fields(21).toInt(), 2);
        QCOMPARE(q.Fields(22).toInt(), 3);
        QCOMPARE(q.Fields(23).toInt(), 1);
        QVERIFY(q.Fields(QStringLiteral("reussi")).toBool());
        db::Recordset el = base.OpenRecordset(QStringLiteral("eleves"));
        QCOMPARE(el.RecordCount(), 1);
        QCOMPARE(el.Fields(QStringLiteral("date")).toString(), QStringLiteral("06/12/01"));
        QCOMPARE(el.Fields(QStringLiteral("prenom")).toString(), QStringLiteral("jean"));
        QVERIFY(!el.Fields(QStringLiteral("examen")).toBool());
    }

    // With the keyboard too: Tab into the list, and the first arrow leads back to the first question.
    void aResultsLineLeadsBackWithTheKeyboard() {
        const ecrans::EcranTest e = jusquAuxResultats();
        choisirAuClavier(e.forme, e->List1, 0);
        QVERIFY(e->Frame3->isVisible() && e->Frame5->isHidden());
        QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 1"));
        QVERIFY(e->Check[0]->isChecked() && e->Check[2]->isChecked());
        QVERIFY(fx_->minuterie(e)->isEnabled());
    }

    // The draw at second 30 with 0.9, 0.2, 0.7 gives the stored positions 1, 0, 2; giving up counts every
    // question not answered as wrong, and in evaluation the list does not lead back.
    void anEvaluationDrawsItsOrderAndGivingUpCountsTheRestWrong() {
        fx_->services->random.values = {0.9F, 0.2F, 0.7F};
        const ecrans::EcranTest e = commencer(*fx_, true, QStringLiteral("B1V"));
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb"))));
        QCOMPARE(e->Label7->text(), QStringLiteral("B1V (Evaluation)"));
        QCOMPARE(e->Label13->text(), QStringLiteral("Temps restant avant la fin du test"));
        QCOMPARE(e->Label22->text(), QStringLiteral("Première question ?"));
        e->Check[0]->click();
        e->Check[2]->click();

        fx_->services->messages.expectMessage(kQuitter, Answer::No);
        e->AnnulerQuestion->click();
        QVERIFY(e->Frame3->isVisible());
        QVERIFY(fx_->minuterie(e)->isEnabled());

        abandonner(*fx_, e);
        QVERIFY(e->Frame5->isVisible());
        QVERIFY(!fx_->minuterie(e)->isEnabled());
        QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 3 questions"));
        QCOMPARE(e->Label28->text(), QStringLiteral("B1V (Evaluation) du 06/12/01"));
        QCOMPARE(gui::lignes(e->List1),
                 (QStringList{QStringLiteral("Première question ?      :Oui"),
                              QStringLiteral("Troisième question ?      :Non"),
                              QStringLiteral("Remettez les étapes de la consignation dans l'ordre      :Non")}));
        QVERIFY(e->Retourner == nullptr);
        gui::cliquerLigne(e->List1, 0);
        choisirAuClavier(e.forme, e->List1, 1);
        QVERIFY(e->Frame5->isVisible());
        gui::photographier(e.forme, QStringLiteral("evaluation-frame5"));
    }

    // The evaluation's order is drawn once the pass-mark box is answered: the second the clock shows then decides
    // it, whatever it showed when the candidate pressed OkNom.
    void theDrawFollowsThePassMarkBox_data() {
        QTest::addColumn<int>("avant");
        QTest::addColumn<int>("pendant");
        QTest::addColumn<QString>("premiere");
        const QString premiere = QStringLiteral("Première question ?");
        QTest::newRow("0 puis 30") << 0 << 30 << premiere;
        QTest::newRow("50 puis 30") << 50 << 30 << premiere;
        QTest::newRow("30 puis 0") << 30 << 0 << QStringLiteral("Troisième question ?");
        QTest::newRow("30 puis 50") << 30 << 50
                                    << QStringLiteral("Remettez les étapes de la consignation dans l'ordre");
    }
    void theDrawFollowsThePassMarkBox() {
        QFETCH(int, avant);
        QFETCH(int, pendant);
        QFETCH(QString, premiere);
        fx_->services->random.values = {0.9F, 0.9F, 0.9F};
        fx_->services->clock.sec = avant;
        ecrans::EcranTest e = jusquAuCandidat(*fx_, true, QStringLiteral("B1V.mdb"));
        saisir(e->Text1, kJean.nom);
        saisir(e->Text2, kJean.prenom);
        fx_->services->messages.expectMessage(annonce(70), Answer::Ok, [&] { fx_->services->clock.sec = pendant; });
        e->OkNom->click();
        QCOMPARE(e->Label22->text(), premiere);
    }

    // The next evaluation of the day takes the suffix -1 and leaves the first file alone; training has its own name.
    void aSecondSessionOnTheSameDayGetsTheNextSuffix() {
        const QString premier = fx_->chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
        QByteArray avant;
        for (const bool examen : {true, true, false}) {
            QDir::setCurrent(fx_->dossier->path());
            commencer(*fx_, examen, QStringLiteral("B1V"), {QStringLiteral("Dupont"), QStringLiteral("Jean"), {}});
            avant = avant.isEmpty() ? octets(premier) : avant;
        }
        QCOMPARE(fichiersMdb(fx_->dossier->path()),
                 (QStringList{QStringLiteral("B1V.mdb"), QStringLiteral("JDupont-B1V-061201.mdb"),
                              QStringLiteral("JDupont-B1V-Ex-061201-1.mdb"), premier.section(QLatin1Char('/'), -1)}));
        QCOMPARE(octets(premier), avant);
    }

    void aNameThatCannotBeAFileNameIsRefused_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("prenom");
        // Each forbidden character is a row of tst_fichierresultats' controlerNom; here the boxes reach the check.
        QTest::newRow("barre oblique") << QStringLiteral("Du/pont") << QString();
        QTest::newRow("caractère de contrôle") << QStringLiteral("Du\tpont") << QString();
        QTest::newRow("prénom commençant par une étoile") << QStringLiteral("Dupont") << QStringLiteral("*Jean");
    }
    void aNameThatCannotBeAFileNameIsRefused() {
        QFETCH(QString, nom);
        QFETCH(QString, prenom);
        const ecrans::EcranTest e = jusquAuCandidat(*fx_, true, QStringLiteral("B1V.mdb"));
        saisir(e->Text1, nom);
        saisir(e->Text2, prenom);
        fx_->services->messages.expectMessage({});
        e->OkNom->click();
        QVERIFY(e->Frame1->isVisible());
        QCOMPARE(fichiersMdb(fx_->dossier->path()), QStringList{QStringLiteral("B1V.mdb")});
        // Accents and blanks are fine, and so is what the file name does not take of the first name.
        saisir(e->Text1, QStringLiteral("Lefèvre du Pré"));
        saisir(e->Text2, QStringLiteral("Éloïse/Marie"));
        fx_->services->messages.expectMessage(annonce(70));
        e->OkNom->click();
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("ÉLefèvre du Pré-B1V-Ex-061201.mdb"))));
    }

    void aFailureToCreateTheFileLetsTheCandidateChooseAnotherFolder() {
        QDir(fx_->dossier->path()).mkdir(QStringLiteral("perdu"));
        const ecrans::EcranTest e = jusquAuCandidat(*fx_, true, QStringLiteral("B1V.mdb"));
        e->listerepertoire->setPath(fx_->chemin(QStringLiteral("perdu")));
        if (!QDir(fx_->chemin(QStringLiteral("perdu"))).removeRecursively()) {
            QVERIFY(QFileInfo::exists(fx_->chemin(QStringLiteral("perdu"))));
            QSKIP("this system keeps a program's current folder from being removed (Windows)");
        }
        saisir(e->Text1, QStringLiteral("Dupont"));
        fx_->services->messages.expectMessage({});
        e->OkNom->click();
        QVERIFY(fx_->services->messages.last().prompt.startsWith(QStringLiteral("Erreur")));
        QVERIFY(e->Frame1->isVisible());

        e->listerepertoire->setPath(fx_->dossier->path());
        fx_->services->messages.expectMessage(annonce(70));
        e->OkNom->click();
        QVERIFY(e->Frame3->isVisible());
        QVERIFY(QFile::exists(fx_->chemin(QStringLiteral("Dupont-B1V-Ex-061201.mdb"))));
    }

    // The time runs out while the confirmation of giving up is open: the session ends once.
    void evaluationTimeOutWhileGivingUpFinishesOnce() {
        fixtures::creerTest(fx_->chemin(QStringLiteral("court.mdb")), 1, 50, kChapitres, troisQuestions());
        const ecrans::EcranTest e = commencer(*fx_, true, QStringLiteral("court"), {}, 50);
        e->Check[0]->click();
        e->Check[2]->click();
        doubles::ManualTimer* t = fx_->minuterie(e);
        fx_->services->messages.expectMessage(kQuitter, Answer::Yes, [&] {
            fx_->services->messages.expectMessage(QStringLiteral("Le temps imparti est écoulé, le test est terminé"));
            t->fire();
        });
        e->AnnulerQuestion->click();
        QVERIFY(e->Frame5->isVisible());
        QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 3 questions"));
    }

    // A results file name too long for the header shows on one line, cut in the middle, the whole name in its tip.
    void aLongResultsFileNameIsElidedInTheHeader() {
        const Candidat long_{QStringLiteral("Lefèvre-Dupont de la Tour d'Auvergne"), QStringLiteral("Jean"), {}};
        const ecrans::EcranTest e = commencer(*fx_, false, QStringLiteral("B1V"), long_);
        const QString nom = QStringLiteral("JLefèvre-Dupont de la Tour d'Auvergne-B1V-061201.mdb");
        QVERIFY(QFile::exists(fx_->chemin(nom)));
        QLabel* l = e->Label6;
        QCOMPARE(l->toolTip(), nom);
        QVERIFY2(l->text() != nom && l->text().contains(QChar(0x2026)), qPrintable(l->text()));
        QVERIFY(l->text().startsWith(QStringLiteral("JLef")) && l->text().endsWith(QStringLiteral("061201.mdb")));
        QVERIFY(!l->wordWrap() && !l->text().contains(QLatin1Char('\n')));
        QVERIFY(l->fontMetrics().horizontalAdvance(l->text()) <= l->width());
        gui::photographier(e->Frame3, QStringLiteral("entete-nom-long"));
    }

    // 2000 questions run in both modes; every question is asked once, in an order drawn or by number.
    void aLargeTestRunsInBothModes() {
        fixtures::creerTest(fx_->chemin(QStringLiteral("grand.mdb")), 3600, 50, kChapitres,
                            fixtures::questionsSimples(2000));
        const QRegularExpression numero(QStringLiteral("^Question numéro (\\d+) \\?"));
        for (bool examen : {false, true}) {
            QDir::setCurrent(fx_->dossier->path());
            QElapsedTimer chrono;
            chrono.start();
            const ecrans::EcranTest e = commencer(*fx_, examen, QStringLiteral("grand"), {}, 50);
            const qint64 demarrage = chrono.elapsed();
            e->Check[0]->click();
            e->Suivant->click();
            QCOMPARE(e->Label31->text(), QStringLiteral("Question n° 2"));
            chrono.restart();
            abandonner(*fx_, e);
            QCOMPARE(e->Label9->text(), QStringLiteral("Nombre de Bonnes Réponses: 1 sur 2000 questions"));
            std::vector<int> vus;
            for (const QString& ligne : gui::lignes(e->List1)) {
                vus.push_back(numero.match(ligne).captured(1).toInt());
            }
            const bool parNumero = std::is_sorted(vus.begin(), vus.end());
            QCOMPARE(parNumero, !examen);
            std::sort(vus.begin(), vus.end());
            QCOMPARE(vus.size(), std::size_t{2000});
            QCOMPARE(vus.front(), 1);
            QVERIFY(std::adjacent_find(vus.begin(), vus.end(), [](int a, int b) { return b != a + 1; }) == vus.end());
            qInfo("2000 questions, %s: start %lld ms, results %lld ms", examen ? "evaluation" : "training", demarrage,
                  chrono.elapsed());
        }
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
