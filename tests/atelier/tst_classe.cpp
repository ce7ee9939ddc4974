#include "atelier/fenetreatelier.h"
#include "classe/dialogueresultats.h"
#include "classe/fenetreclasse.h"
#include "classe/modeleclasse.h"
#include "data/test.h"
#include "graphiques/graphiquesclasse.h"
#include "session/session.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"
#include "support/gui.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace kelvane;
using doubles::ScriptedDialogs;
using services::Answer;

namespace {

// A candidate's session: 'J' the right answer ticked, 'F' a wrong one (the third answer: the tempting one), '-' none;
// a session shorter than the test is one given up.
struct Passage {
    QString nom;
    QString prenom;
    QString classe;
    bool examen = true;
    QDate jour;
    QString reponses;
};

const QDate kLundi(2026, 3, 2);

const std::vector<Passage>& promotion() {
    static const std::vector<Passage> p = {
        {"Martin", "Léa", "1ELEC", true, kLundi, "JJJJJJJJJF"},
        {"Bernard", "Hugo", "1ELEC", true, kLundi, "JJJFJJFJJJ"},
        {"Dubois", "Chloé", "1ELEC", true, kLundi, "JJFFJFJJJF"},
        {"Thomas", "Nathan", "1ELEC", true, kLundi, "JJJJJFJJJJ"},
        {"Robert", "Inès", "1ELEC", true, kLundi, "JFJFJFJFJF"},
        {"Simon", "Zoé", "1ELEC", false, kLundi.addDays(-10), "JFFJJFJFJF"},
        {"Simon", "Zoé", "1ELEC", true, kLundi, "JJJJJFJJJF"},
        {"Laurent", "Théo", "1ELEC", true, kLundi, "JJJJFFJJFJ"},
        {"Richard", "Lucas", "2ELEC", true, kLundi.addDays(1), "JJJJJJJJJJ"},
        {"Petit", "Manon", "2ELEC", true, kLundi.addDays(1), "JJJFJJJFJJ"},
        {"Durand", "Émile", "2ELEC", true, kLundi.addDays(1), "FJFJFF"},
        {"Leroy", "Jade", "2ELEC", true, kLundi.addDays(1), "JJJJJFJJFJ"},
        {"Moreau", "Louis", "2ELEC", true, kLundi.addDays(1), "JJFJJFJJJJ"},
    };
    return p;
}

// Ten questions of three answers over three chapters and the five levels; the first answer is the right one, the
// fourth question has two to tick.
std::vector<fixtures::Question> questionsB1V() {
    const QStringList textes = {"Qui délivre le titre d'habilitation ?",
                                "Que signifie la lettre V d'un symbole d'habilitation ?",
                                "Quelle est la première étape d'une consignation ?",
                                "Quels équipements protègent d'un arc électrique ?",
                                "À quelle distance commence la zone de voisinage en basse tension ?",
                                "Que faire face à une personne électrisée ?",
                                "Qui peut réarmer un disjoncteur déclenché ?",
                                "Quelle tension est dite très basse tension ?",
                                "Que vérifie-t-on avant de toucher un conducteur consigné ?",
                                "Où se range la clé du cadenas de consignation ?"};
    std::vector<fixtures::Question> qs = fixtures::questionsSimples(static_cast<int>(textes.size()));
    for (std::size_t i = 0; i < qs.size(); ++i) {
        fixtures::Question& q = qs[i];
        q.texte = textes.at(static_cast<qsizetype>(i));
        q.nbReponses = 3;
        q.reponses = {QStringLiteral("La bonne"), QStringLiteral("Une autre"), QStringLiteral("La tentante")};
        q.attendu = {1, i == 3 ? 1 : 0, 0, 0, 0};
        q.chapitre = static_cast<int>(i) / 4 + 1;
        q.niveaux = {i < 4, true, i >= 6, i % 3 == 0, i == 9};
    }
    return qs;
}

// The class folder: the test and the results files that the program's own sessions leave, one per session.
void creerPromotion(const QString& dossier, doubles::ScriptedServices& s) {
    const QString chemin = dossier + QStringLiteral("/B1V.mdb");
    const std::vector<fixtures::Question> questions = questionsB1V();
    fixtures::creerTest(
        chemin, 600, 70,
        {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Prévention"), 2}, {QStringLiteral("Consignation"), 3}},
        questions);
    const data::Test test = std::get<data::Test>(data::lireTest(chemin));
    for (const Passage& p : promotion()) {
        s.clock.date = p.jour;
        session::Session seance(p.examen ? session::modeEvaluation() : session::modeEntrainement(), s.files, s.clock,
                                s.random);
        seance.demarrer(test, {p.nom, p.prenom, p.classe}, dossier);
        seance.tirerOrdreEvaluation();
        for (int place = 0; place < p.reponses.size(); ++place) {
            const session::QuestionAffichee q = seance.question();
            const auto& modele =
                *std::find_if(questions.begin(), questions.end(), [&](const auto& m) { return m.texte == q.texte; });
            session::Reponse r;
            const QChar geste = p.reponses.at(place);
            for (std::size_t j = 0; j < 3; ++j) {
                r.cases[j] = geste == QLatin1Char('J') ? modele.attendu[j] != 0 : (geste == QLatin1Char('F') && j == 2);
            }
            seance.enregistrer(r);
            seance.avancer();
        }
        seance.tamponnerDate();
    }
    // A copy cut short: listed apart, with its reason.
    const QString entier = QDir(dossier).filePath(QStringLiteral("LMartin-B1V-Ex-020326.mdb"));
    const QString coupe = QDir(dossier).filePath(QStringLiteral("LMartin-B1V-Ex-020326 - copie.mdb"));
    QVERIFY(QFile::copy(entier, coupe));
    QVERIFY(QFile::resize(coupe, 3000));
}

} // namespace

class TestClasse : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("Kelvane"));
        QCoreApplication::setApplicationName(QStringLiteral("kelvane-classe-tests"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, reglages_.path());
        QVERIFY(QDir(dossier_.path()).mkdir(QStringLiteral("Électrotechnique 2026")));
        creerPromotion(dossier(), services_);
    }

    // From the workbench at the keyboard: the folder chosen, the lines sorted on their share, filtered by class and
    // verdict, the latest session only, a line's results opened as the viewer shows them, the CSV written. The view
    // is photographed at 1200 × 800.
    void theClassAtTheKeyboard() {
        atelier::FenetreAtelier atelier(services_.all());
        QCOMPARE(atelier.ouvrirDossier(dossier()), atelier::Acces::Ouvert);
        atelier.show();
        QVERIFY(QTest::qWaitForWindowActive(&atelier));
        services_.dialogs.expect(ScriptedDialogs::Kind::Folder, dossier());
        QTest::keyClick(&atelier, Qt::Key_R, Qt::ControlModifier);
        classe::FenetreClasse* classe = atelier.fenetreClasse();
        QVERIFY(classe != nullptr && classe->isVisible());
        QCOMPARE(services_.dialogs.shown().last().start, dossier());
        auto* table = classe->findChild<QTableView*>(QStringLiteral("tableEleves"));
        QCOMPARE(table->model()->rowCount(), 13);
        // The lines and their filter keep the rules of Qt's models through every filter, sort and reading below.
        const QAbstractItemModelTester testeurFiltre(table->model(),
                                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QAbstractItemModelTester testeurLignes(static_cast<QSortFilterProxyModel*>(table->model())->sourceModel(),
                                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
        classe->resize(1200, 800);
        // The window opened from the workbench comes in front of it.
        QTRY_COMPARE(QApplication::activeWindow(), classe);
        gui::photographier(classe, QStringLiteral("atelier-classe"), QStringLiteral("atelier-classe"));
        auto* onglets = classe->findChild<QTabWidget*>(QStringLiteral("onglets"));
        for (const auto& [cle, nom] :
             {std::pair{Qt::Key_2, "questions"}, {Qt::Key_3, "niveaux"}, {Qt::Key_4, "ignores"}}) {
            QTest::keyClick(classe, cle, Qt::ControlModifier);
            gui::photographier(classe, QStringLiteral("atelier-classe-") + QLatin1String(nom));
        }
        QCOMPARE(onglets->tabText(3), QStringLiteral("I&gnorés (1)"));
        QTest::keyClick(classe, Qt::Key_1, Qt::ControlModifier);

        const auto colonne = [&](int c) {
            QStringList out;
            for (int i = 0; i < table->model()->rowCount(); ++i) {
                out << table->model()->index(i, c).data().toString();
            }
            return out;
        };
        const auto cliquerEntete = [&](int c) {
            QHeaderView* entete = table->horizontalHeader();
            const int x = entete->sectionViewportPosition(c) + entete->sectionSize(c) / 2;
            QTest::mouseClick(entete->viewport(), Qt::LeftButton, {}, QPoint(x, entete->height() / 2));
        };
        cliquerEntete(9); // %
        QCOMPARE(colonne(0).first(), QStringLiteral("Durand"));
        QCOMPARE(table->model()->index(0, 7).data().toString(), QStringLiteral("6")); // given up after 6 questions
        QCOMPARE(table->model()->index(0, 9).data().toString(), QStringLiteral("20\u00a0%"));
        cliquerEntete(9);
        QCOMPARE(colonne(0).first(), QStringLiteral("Richard"));

        const auto touche = [&](Qt::Key cle, Qt::KeyboardModifiers mod = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : classe, cle, mod);
        };
        touche(Qt::Key_L, Qt::AltModifier); // C&lasse
        touche(Qt::Key_Down);
        QCOMPARE(table->model()->rowCount(), 8);
        touche(Qt::Key_V, Qt::AltModifier); // &Verdict
        touche(Qt::Key_Down);
        QCOMPARE(colonne(0), (QStringList{"Martin", "Thomas", "Bernard", "Simon", "Laurent"}));
        touche(Qt::Key_Up);
        touche(Qt::Key_P, Qt::AltModifier); // Dernier &passage seulement
        QTRY_VERIFY(classe->findChild<QCheckBox*>(QStringLiteral("caseDernierPassage"))->isChecked()); // a click shown
        QCOMPARE(table->model()->rowCount(), 7);
        QCOMPARE(colonne(0).count(QStringLiteral("Simon")), 1);
        QCOMPARE(colonne(4).at(colonne(0).indexOf(QStringLiteral("Simon"))), QStringLiteral("Examen"));

        // Laurent at exactly the pass mark, opened with Enter: the viewer's frame and words.
        const int laurent = colonne(0).indexOf(QStringLiteral("Laurent"));
        // One test shown: its chapters' columns, with the results screen's figures.
        QCOMPARE(table->model()->headerData(16, Qt::Horizontal).toString(), QStringLiteral("Ch. 1"));
        QCOMPARE(colonne(16).at(laurent) + colonne(17).at(laurent) + colonne(18).at(laurent),
                 QStringLiteral("100\u00a0%50\u00a0%50\u00a0%"));
        table->setFocus();
        table->setCurrentIndex(table->model()->index(laurent, 0));
        touche(Qt::Key_Return);
        classe::DialogueResultats* resultats = classe->dialogueResultats();
        QVERIFY(resultats != nullptr && resultats->isVisible());
        QCOMPARE(resultats->findChild<QLabel*>(QStringLiteral("Label10"))->text(),
                 QStringLiteral("70% de bonnes réponses, le test est réussi (>=70%)"));
        QCOMPARE(resultats->findChild<QLabel*>(QStringLiteral("Label9"))->text(),
                 QStringLiteral("Nombre de Bonnes Réponses: 7 sur 10 questions"));
        gui::photographier(resultats, QStringLiteral("atelier-classe-resultats"));
        QTest::keyClick(resultats, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::activeWindow(), classe);
        QCOMPARE(QApplication::focusWidget(), table); // back on the line

        // The questions of the lines shown, hardest first, the tempting answer counted.
        auto* questions = classe->findChild<QTableWidget*>(QStringLiteral("tableQuestionsClasse"));
        QCOMPARE(questions->rowCount(), 10);
        QCOMPARE(questions->item(0, 3)->text(), QStringLiteral("Que faire face à une personne électrisée ?"));
        QCOMPARE(questions->item(0, 8)->text(), QStringLiteral("R1 2\u00a0✓ · R2 0 · R3 5"));

        const QString csv = QDir(dossier()).filePath(QStringLiteral("bilan.csv"));
        services_.dialogs.expect(ScriptedDialogs::Kind::Save, csv);
        touche(Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(QFileInfo(csv).size() > 0); // the button's click is shown first
        // A name completed with its extension that a file already holds: the teacher is asked, and says no.
        QFile::resize(csv, 3);
        services_.dialogs.expect(ScriptedDialogs::Kind::Save, QDir(dossier()).filePath(QStringLiteral("bilan")));
        services_.messages.expectMessage(QStringLiteral("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?")
                                             .arg(QDir::toNativeSeparators(csv)),
                                         Answer::No);
        touche(Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(services_.messages.allAnswered());
        QCOMPARE(QFileInfo(csv).size(), 3);
        QVERIFY(services_.dialogs.allAnswered());
        QVERIFY(services_.messages.allAnswered());
        QFile::remove(csv);

        // The printed summary carries the view's pictures.
        touche(Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(services_.printer.documentsEnded, 1);
        QStringList imprime;
        for (const services::RecordedLine& l : services_.printer.lines) {
            imprime << l.text.trimmed();
        }
        QVERIFY2(imprime.contains(QStringLiteral("[Image : Répartition des candidats — B1V]")),
                 qPrintable(imprime.join(QLatin1Char('\n'))));

        // Read again (F5), the folder keeps its filters.
        touche(Qt::Key_F5);
        QCOMPARE(table->model()->rowCount(), 7);
    }

    // The class's columns sort by what they mean: names in French order, shares and dates by value, a level
    // without questions below every share.
    void theLinesSortByTheirValues_data() {
        QTest::addColumn<int>("colonne");
        QTest::addColumn<QStringList>("ordre");
        QTest::newRow("noms") << int(classe::ModeleClasse::Nom) << QStringList{"dubois", "Émile", "Favre", "Zoé"};
        QTest::newRow("pourcentages") << int(classe::ModeleClasse::Pourcentage)
                                      << QStringList{"Favre", "Zoé", "dubois", "Émile"};
        QTest::newRow("dates") << int(classe::ModeleClasse::Date) << QStringList{"Zoé", "Favre", "Émile", "dubois"};
        QTest::newRow("niveau") << int(classe::ModeleClasse::B0) << QStringList{"Favre", "Zoé", "Émile", "dubois"};
    }
    void theLinesSortByTheirValues() {
        QFETCH(int, colonne);
        QFETCH(QStringList, ordre);
        bilan::Classe classe;
        const auto ligne = [&](const char* nom, double part, QDate jour, std::optional<double> b0) {
            bilan::Passage& p = classe.passages.emplace_back();
            p.nom = QString::fromUtf8(nom);
            p.pourcentage = part;
            p.jour = jour;
            p.niveaux[0] = b0;
        };
        ligne("Zoé", 9.5, QDate(2026, 1, 31), 50.0);
        ligne("Émile", 100.0, QDate(2026, 3, 2), 80.0);
        ligne("dubois", 20.0, QDate(2026, 3, 12), 100.0);
        ligne("Favre", 2.0, QDate(2026, 2, 28), std::nullopt);
        classe::ModeleClasse modele;
        classe::FiltreClasse filtre(&modele);
        const QAbstractItemModelTester testeurModele(&modele, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QAbstractItemModelTester testeurFiltre(&filtre, QAbstractItemModelTester::FailureReportingMode::QtTest);
        modele.charger(&classe);
        modele.montrerChapitres(QString());
        filtre.appliquer({});
        filtre.sort(colonne, Qt::AscendingOrder);
        QStringList noms;
        for (const bilan::Passage* p : filtre.selection()) {
            noms << p->nom;
        }
        QCOMPARE(noms, ordre);
    }

    // The printout's pictures of a test: the spread and the questions, as PNG of the size asked.
    void thePicturesOfTheSummary() {
        const bilan::Classe classe = bilan::lireResultatsDuDossier(dossier());
        const std::vector<bilan::Image> images =
            graphiques::illustrationsBilan(classe, QStringLiteral("B1V"), bilan::tous(classe));
        QCOMPARE(images.size(), std::size_t{2});
        for (const bilan::Image& image : images) {
            QVERIFY(image.titre.endsWith(QStringLiteral("B1V")));
            QCOMPARE(QImage::fromData(image.png, "PNG").size(), QSize(1600, 800));
        }
    }

private:
    QString dossier() const { return dossier_.filePath(QStringLiteral("Électrotechnique 2026")); }

    QTemporaryDir reglages_;
    QTemporaryDir dossier_;
    doubles::ScriptedServices services_;
};

QTEST_MAIN(TestClasse)
#include "tst_classe.moc"
