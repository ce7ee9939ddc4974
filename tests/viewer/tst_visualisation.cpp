#include "app/commun.h"
#include "data/fichierresultats.h"
#include "platform/services/printerrecording.h"
#include "results/cadreresultats.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"
#include "support/gui.h"
#include "viewer/visualisation.h"
#include "widgets/dirlistbox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {

const QColor kRose(255, 192, 192);
const QColor kGris(192, 192, 192);

struct QuestionFaite {
    QString texte;
    int numero = 1;
    bool reussi = false;
    std::array<bool, 5> niveaux{};
    int chapitre = 1;
};

struct Resultats {
    bool examen = false;
    int tolerance = 70;
    QString date = QStringLiteral("06/12/01");
    std::vector<fixtures::Chapitre> chapitres{{QStringLiteral("Généralités"), 1}};
    std::vector<QuestionFaite> questions;
};

// A results file as a session leaves it: the candidate, the test's settings and the questions in stored order.
void creerResultats(const QString& chemin, const Resultats& r) {
    db::Database base = creerFichierResultats(chemin);
    base.BeginTrans();
    db::Recordset eleves = base.OpenRecordset(QStringLiteral("eleves"));
    eleves.AddNew();
    eleves.SetField(QStringLiteral("prenom"), QStringLiteral("Jean"));
    eleves.SetField(QStringLiteral("nom"), QStringLiteral("Dupont"));
    eleves.SetField(QStringLiteral("classe"), QStringLiteral("1EL"));
    eleves.SetField(QStringLiteral("test"), QStringLiteral("B1V"));
    eleves.SetField(QStringLiteral("date"), r.date);
    eleves.SetField(QStringLiteral("examen"), r.examen);
    eleves.SetField(QStringLiteral("temps"), 600);
    eleves.SetField(QStringLiteral("tolerance"), r.tolerance);
    eleves.Update();
    db::Recordset chapitres = base.OpenRecordset(QStringLiteral("chapitre"));
    for (const auto& c : r.chapitres) {
        chapitres.AddNew();
        chapitres.SetField(QStringLiteral("nom"), c.nom);
        chapitres.SetField(QStringLiteral("numero"), c.numero);
        chapitres.Update();
    }
    db::Recordset questions = base.OpenRecordset(QStringLiteral("question"));
    for (const QuestionFaite& q : r.questions) {
        questions.AddNew();
        for (int j = 0; j < 5; ++j) {
            questions.SetField(champ::B0 + j, q.niveaux[static_cast<std::size_t>(j)]);
        }
        questions.SetField(champ::Question, q.texte);
        questions.SetField(champ::Chapitre, q.chapitre);
        questions.SetField(champ::Numero, q.numero);
        questions.SetField(champ::Reussi, q.reussi);
        questions.Update();
    }
    base.CommitTrans();
    base.Close();
}

// Questions "Q1", "Q2"... carrying the given numbers in stored order, the right ones marked.
std::vector<QuestionFaite> numerotees(const QList<int>& numeros, const QList<bool>& justes = {}) {
    std::vector<QuestionFaite> qs;
    for (int i = 0; i < numeros.size(); ++i) {
        QuestionFaite q;
        q.texte = QStringLiteral("Q%1").arg(i + 1);
        q.numero = numeros.at(i);
        q.reussi = i < justes.size() && justes.at(i);
        qs.push_back(q);
    }
    return qs;
}

QByteArray empreinte(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QColor fond(QPushButton* b) {
    return b->grab().toImage().pixelColor(b->width() / 2, 3);
}

// Everything the results frame shows, to compare two showings.
QStringList ecran(const results::CadreResultats* f) {
    QStringList textes{f->Label27->text(), f->Label28->text(), f->Label9->text(), f->Label10->text()};
    for (const QLabel* l : f->niveaux()) {
        textes << l->text();
    }
    return textes + gui::lignes(f->List1) + QStringList{QStringLiteral("--")} + gui::lignes(f->List2);
}

} // namespace

class TestVisualisation : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<doubles::ScriptedServices> s_;
    std::unique_ptr<viewer::Visualisation> v_;
    QString ancien_;

    QString chemin(const QString& nom) const { return dir_->filePath(nom); }

    // The viewer as the gate shows it: loaded in the start folder.
    viewer::Visualisation* ouvrir() {
        v_ = std::make_unique<viewer::Visualisation>();
        v_->Form_Load();
        v_->show();
        return v_.get();
    }

    // Picks the file of that name in the list and presses Valider.
    void choisir(viewer::Visualisation* v, const QString& fichier) {
        const int ligne = static_cast<int>(v->ListeResultats.indexOf(fichier));
        QVERIFY2(ligne >= 0, qPrintable(fichier));
        gui::cliquerLigne(v->listefichier, ligne);
        v->Valider->click();
    }

private slots:
    void init() {
        ancien_ = QDir::currentPath();
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        s_ = std::make_unique<doubles::ScriptedServices>();
        s_->clock.date = QDate(2002, 3, 14);
        Commun::RepertoireAppli = dir_->path();
        Commun::RepertoireInitial = dir_->path();
        // The settings database lies in the start folder, the first one the viewer lists.
        fixtures::creerHabilitation(chemin(QStringLiteral("habilitation.mdb")), QStringLiteral("PROF"));
    }

    void cleanup() {
        QCOMPARE(s_->messages.pending(), 0);
        v_.reset();
        Commun::reinitialiser();
        services::installed().printer = nullptr;
        s_.reset();
        QDir::setCurrent(ancien_);
        dir_.reset();
    }

    void listsResultsFilesWithTheirMode() {
        creerResultats(chemin(QStringLiteral("JDupont-B1V-Ex-061201.mdb")), {.examen = true, .questions = {}});
        creerResultats(chemin(QStringLiteral("JDupont-B1V-061201.mdb")), {.examen = false, .questions = {}});
        fixtures::creerTest(chemin(QStringLiteral("B1V.mdb")), 600, 70, {{QStringLiteral("C"), 1}},
                            fixtures::questionsSimples(2));
        QFile abime(chemin(QStringLiteral("abime.mdb")));
        QVERIFY(abime.open(QIODevice::WriteOnly));
        abime.write(QByteArray("SQLite format 3\0tronqué", 23));
        abime.close();
        db::Database autre = db::CreateDatabase(chemin(QStringLiteral("inventaire.mdb")));
        db::TableDef t = autre.CreateTableDef(QStringLiteral("outils"));
        t.Fields().Append(t.CreateField(QStringLiteral("nom"), db::FieldType::Text, 50));
        autre.TableDefs().Append(t);
        autre.Close();

        viewer::Visualisation* v = ouvrir();
        QStringList lignes = gui::lignes(v->listefichier);
        lignes.sort();
        QCOMPARE(lignes, (QStringList{QStringLiteral("JDupont-B1V-061201.mdb (Entrainement)"),
                                      QStringLiteral("JDupont-B1V-Ex-061201.mdb (Examen)")}));
        QCOMPARE(v->NbResultats, 2);
        // The names kept follow the lines, without the mode.
        for (int i = 0; i < v->NbResultats; ++i) {
            QVERIFY(v->listefichier->item(i)->text().startsWith(v->ListeResultats.at(i) + QStringLiteral(" (")));
        }
        QVERIFY(v->Frame1->isVisible() && v->Frame5->isHidden());
        QVERIFY(!v->Valider->isEnabled());
        QCOMPARE(fond(v->Valider), kGris);
        QVERIFY(v->nombase->text().isEmpty());
        QCOMPARE(QDir(v->listerepertoire->path()), QDir(dir_->path()));
        QCOMPARE(QDir(v->etat.RepertoireEleve), QDir(dir_->path()));

        QVERIFY(QTest::qWaitForWindowExposed(v));
        gui::photographier(v, QStringLiteral("visualisation-frame1"));

        gui::cliquerLigne(v->listefichier,
                          gui::ligne(v->listefichier, QStringLiteral("JDupont-B1V-Ex-061201.mdb (Examen)")));
        QCOMPARE(v->nombase->text(), QStringLiteral("JDupont-B1V-Ex-061201"));
        QCOMPARE(v->NomChoisi, v->nombase->text());
        QVERIFY(v->Valider->isEnabled());
        QCOMPARE(fond(v->Valider), kRose);
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
        QTest::newRow("tirage d'une évaluation remis par numéro")
            << QList<int>{3, 1, 2} << QList<bool>{true, false, true} << 67 << QStringList{non(2), oui(3), oui(1)}
            << QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions")
            << QStringLiteral("66% de bonnes réponses, le test n'est pas réussi (<67%)");
        QTest::newRow("seuil atteint sans arrondi")
            << QList<int>{1, 2, 3} << QList<bool>{true, true, false} << 66 << QStringList{oui(1), oui(2), non(3)}
            << QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions")
            << QStringLiteral("66% de bonnes réponses, le test est réussi (>=66%)");
        // Number 3 is missing: its place stands for the first record; the record numbered 4 is not listed.
        QTest::newRow("numéro manquant") << QList<int>{1, 2, 4} << QList<bool>{true, false, true} << 50
                                         << QStringList{oui(1), non(2), oui(1)}
                                         << QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions")
                                         << QStringLiteral("66% de bonnes réponses, le test est réussi (>=50%)");
        // Two records numbered 2: the later one takes the place; nothing carries 3.
        QTest::newRow("numéro en double")
            << QList<int>{1, 2, 2} << QList<bool>{false, false, true} << 50 << QStringList{non(1), oui(3), non(1)}
            << QStringLiteral("Nombre de Bonnes Réponses: 1 sur 3 questions")
            << QStringLiteral("33% de bonnes réponses, le test n'est pas réussi (<50%)");
        QTest::newRow("aucune question") << QList<int>{} << QList<bool>{} << 50 << QStringList{}
                                         << QStringLiteral("Nombre de Bonnes Réponses: 0 sur 0 questions")
                                         << QStringLiteral("0% de bonnes réponses, le test n'est pas réussi (<50%)");
        QTest::newRow("aucune question, seuil nul")
            << QList<int>{} << QList<bool>{} << 0 << QStringList{}
            << QStringLiteral("Nombre de Bonnes Réponses: 0 sur 0 questions")
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
        viewer::Visualisation* v = ouvrir();
        choisir(v, QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
        QVERIFY(v->Frame1->isHidden() && v->Frame5->isVisible());
        QVERIFY(v->BaseOuverte);
        QCOMPARE(Commun::FichierEleve, QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
        QCOMPARE(v->etat.NbQuestions, numeros.size());
        QCOMPARE(gui::lignes(v->Frame5->List1), list1);
        QCOMPARE(v->Frame5->Label9->text(), label9);
        QCOMPARE(v->Frame5->Label10->text(), label10);
        const auto oui = std::count_if(list1.begin(), list1.end(),
                                       [](const QString& l) { return l.endsWith(QStringLiteral(":Oui")); });
        QCOMPARE(v->etat.NbBonnes, static_cast<int>(oui));
        QCOMPARE(v->Frame5->Label27->text(), QStringLiteral("Jean DUPONT 1EL"));
        // The date is the one the file holds, not today's: the viewer stamps nothing.
        QCOMPARE(v->Frame5->Label28->text(), QStringLiteral("B1V (Evaluation) du 06/12/01"));
    }

    // The same file shows the same screen each time, whatever was opened in between, and viewing and printing
    // never write to it.
    void viewingNeverChangesTheFile() {
        const QString a = chemin(QStringLiteral("a.mdb"));
        const QString b = chemin(QStringLiteral("b.mdb"));
        creerResultats(a, {.questions = numerotees({2, 1, 4}, {true, false, true})}); // 3 missing
        creerResultats(b, {.examen = true, .questions = numerotees({4, 3, 2, 1}, {false, true, true, true})});
        const QByteArray avantA = empreinte(a);
        const QByteArray avantB = empreinte(b);
        services::RecordingPrinter imprimante;
        services::installed().printer = &imprimante;

        viewer::Visualisation* v = ouvrir();
        choisir(v, QStringLiteral("a.mdb"));
        const QStringList premier = ecran(v->Frame5);
        QVERIFY(QTest::qWaitForWindowExposed(v));
        gui::photographier(v, QStringLiteral("visualisation-frame5"));
        QCOMPARE(v->Frame5->List1->item(2)->text(), QStringLiteral("Q1      :Oui")); // the first record
        v->Frame5->ImprimerResultat->click();
        QCOMPARE(imprimante.documentsEnded, 1);
        QVERIFY(imprimante.texts().join(QLatin1Char('\n')).contains(QStringLiteral("B1V")));
        v->Frame5->Fermer->click();
        QVERIFY(v->Frame1->isVisible() && v->Frame5->isHidden());
        QVERIFY(v->BaseOuverte);
        QVERIFY(Commun::BaseEleve.isOpen());

        choisir(v, QStringLiteral("b.mdb"));
        const QStringList autre = ecran(v->Frame5);
        QVERIFY(autre != premier);
        v->Frame5->Fermer->click();
        choisir(v, QStringLiteral("a.mdb"));
        QCOMPARE(ecran(v->Frame5), premier);
        v->Frame5->Fermer->click();
        choisir(v, QStringLiteral("a.mdb"));
        QCOMPARE(ecran(v->Frame5), premier);
        v->Frame5->ImprimerResultat->click();
        QCOMPARE(imprimante.documentsEnded, 2);

        v->Frame5->Fermer->click();
        v->Annuler->click();
        QVERIFY(!v->isVisible());
        QVERIFY(!Commun::BaseEleve.isOpen());
        QVERIFY(!Commun::RsQuestion.isOpen());
        QCOMPARE(empreinte(a), avantA);
        QCOMPARE(empreinte(b), avantB);
        const QStringList restes =
            QDir(dir_->path()).entryList({QStringLiteral("*-journal"), QStringLiteral("*-wal")}, QDir::Files);
        QVERIFY2(restes.isEmpty(), qPrintable(restes.join(QLatin1Char(' '))));
    }

    // A change of folder keeps the name chosen and Valider ready; the name then refers to no file of the folder.
    void theChoiceSurvivesAFolderChange() {
        creerResultats(chemin(QStringLiteral("pierre.mdb")), {.questions = numerotees({1})});
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("vide")));
        viewer::Visualisation* v = ouvrir();
        choisir(v, QStringLiteral("pierre.mdb"));
        v->Frame5->Fermer->click();

        v->listerepertoire->setPath(chemin(QStringLiteral("vide")));
        QCOMPARE(QDir(v->etat.RepertoireEleve), QDir(chemin(QStringLiteral("vide"))));
        QCOMPARE(QDir(QDir::currentPath()), QDir(chemin(QStringLiteral("vide"))));
        QCOMPARE(v->listefichier->count(), 0);
        QCOMPARE(v->NbResultats, 0);
        QCOMPARE(v->nombase->text(), QStringLiteral("pierre"));
        QCOMPARE(v->NomChoisi, QStringLiteral("pierre"));
        QVERIFY(v->Valider->isEnabled());

        s_->messages.expectMessage({});
        v->Valider->click();
        QCOMPARE(s_->messages.last().title, QStringLiteral(" Avertissement"));
        QVERIFY(s_->messages.last().prompt.contains(QStringLiteral("pierre.mdb")));
        QVERIFY(v->Frame1->isVisible());

        v->listerepertoire->setPath(dir_->path());
        QCOMPARE(v->nombase->text(), QStringLiteral("pierre"));
        v->Valider->click();
        QVERIFY(v->Frame5->isVisible());
        QCOMPARE(v->Frame5->List1->count(), 1);
    }

    // Valider on a name the list does not offer: a message, the choice is open again and nothing else moves,
    // not even the file shown before.
    void validerRefusesWhatIsNotAResultsFile_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("titre");
        QTest::newRow("absent du dossier") << QStringLiteral("personne") << QStringLiteral(" Avertissement");
        QTest::newRow("un test") << QStringLiteral("B1V") << QStringLiteral("Mauvais type de base de données");
        QTest::newRow("les réglages") << QStringLiteral("habilitation")
                                      << QStringLiteral("Mauvais type de base de données");
        QTest::newRow("fichier abîmé") << QStringLiteral("abime") << QStringLiteral("Mauvais type de base de données");
        QTest::newRow("nom vide") << QString() << QStringLiteral(" Avertissement");
    }

    void validerRefusesWhatIsNotAResultsFile() {
        QFETCH(QString, nom);
        QFETCH(QString, titre);
        creerResultats(chemin(QStringLiteral("vu.mdb")), {.questions = numerotees({1, 2})});
        fixtures::creerTest(chemin(QStringLiteral("B1V.mdb")), 600, 70, {{QStringLiteral("C"), 1}},
                            fixtures::questionsSimples(2));
        QFile abime(chemin(QStringLiteral("abime.mdb")));
        QVERIFY(abime.open(QIODevice::WriteOnly));
        abime.write("pas une base");
        abime.close();

        viewer::Visualisation* v = ouvrir();
        choisir(v, QStringLiteral("vu.mdb"));
        v->Frame5->Fermer->click();
        const QStringList vu = ecran(v->Frame5);

        v->nombase->setText(nom);
        s_->messages.expectMessage({});
        v->Valider->click();
        QCOMPARE(s_->messages.last().title, titre);
        QVERIFY2(s_->messages.last().prompt.contains(nom + QStringLiteral(".mdb")),
                 qPrintable(s_->messages.last().prompt));
        QVERIFY(v->Frame1->isVisible() && v->Frame5->isHidden());
        QVERIFY(v->Valider->isEnabled());
        QCOMPARE(v->nombase->text(), nom);
        QCOMPARE(Commun::FichierEleve, QStringLiteral("vu.mdb"));
        QVERIFY(Commun::BaseEleve.isOpen());
        QCOMPARE(Commun::RsQuestion.RecordCount(), 2);
        QCOMPARE(ecran(v->Frame5), vu);

        // The choice can be made again.
        choisir(v, QStringLiteral("vu.mdb"));
        QVERIFY(v->Frame5->isVisible());
    }

    // Annuler closes only what the viewer opened: a session's results file left open stays open.
    void annulerClosesOnlyWhatTheViewerOpened() {
        creerResultats(chemin(QStringLiteral("session.mdb")), {.questions = numerotees({1})});
        Commun::BaseEleve = db::OpenDatabase(chemin(QStringLiteral("session.mdb")));
        viewer::Visualisation* v = ouvrir();
        QVERIFY(!v->BaseOuverte);
        v->Annuler->click();
        QVERIFY(!v->isVisible());
        QVERIFY(Commun::BaseEleve.isOpen());

        // Loaded afresh: the file choice, nothing chosen.
        v->nombase->setText(QStringLiteral("reste"));
        v->Form_Load();
        v->show();
        QVERIFY(v->nombase->text().isEmpty());
        QVERIFY(!v->Valider->isEnabled());
        choisir(v, QStringLiteral("session.mdb"));
        v->close();
        QVERIFY(!v->isVisible());
        QVERIFY(!Commun::BaseEleve.isOpen());
    }
};

QTEST_MAIN(TestVisualisation)
#include "tst_visualisation.moc"
