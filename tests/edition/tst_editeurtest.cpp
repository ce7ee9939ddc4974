#include "data/ecriture.h"
#include "data/fichierresultats.h"
#include "editeur/editeurtest.h"
#include "images.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"
#include "support/gui.h"
#include "support/imagesessai.h"
#include "widgets/vignette.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace kelvane;
using kelvane::doubles::ScriptedDialogs;
using kelvane::editeur::EditeurTest;
using kelvane::services::Answer;

namespace {

// A folder of tests, the editor shown alone at its usual size, and its controls as the keyboard reaches them.
struct Banc {
    QTemporaryDir dossier;
    doubles::ScriptedServices scripte;
    services::Services services = scripte.all();
    EditeurTest editeur{services};

    Banc() {
        editeur.resize(1200, 800);
        editeur.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editeur));
        editeur.activateWindow(); // the keys go to the active window, which a desktop without a manager never picks
        QVERIFY(QTest::qWaitForWindowActive(&editeur));
    }
    ~Banc() { QVERIFY2(scripte.messages.allAnswered(), "a message box expected was not shown"); }

    QString chemin(const QString& nom) const { return dossier.filePath(nom); }
    template <typename T> T* controle(const QString& nom) const {
        T* c = editeur.findChild<T*>(nom);
        if (c == nullptr) {
            qFatal("no control %s", qPrintable(nom));
        }
        return c;
    }
    // Alt+key, as a teacher reaches a control by its underlined letter.
    void alt(Qt::Key touche) { QTest::keyClick(QApplication::focusWidget(), touche, Qt::AltModifier); }
    // Typed key by key; a letter beyond ASCII comes as the text of its key, as a French keyboard gives it.
    void taper(const QString& texte) {
        for (const QChar c : texte) {
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                                c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown, QString(c), {});
        }
    }
    void touche(Qt::Key t, Qt::KeyboardModifiers m = {}) { QTest::keyClick(QApplication::focusWidget(), t, m); }
    QStringList problemes() const { return gui::lignes(controle<QListWidget>(QStringLiteral("problemes"))); }
};

data::Test lire(const QString& chemin) {
    return std::get<data::Test>(data::lireTest(chemin));
}

QString texte(const data::Test& t, int i, int champ) {
    return t.questions[static_cast<std::size_t>(i)][static_cast<std::size_t>(champ)].toString();
}

int entier(const data::Test& t, int i, int champ) {
    return t.questions[static_cast<std::size_t>(i)][static_cast<std::size_t>(champ)].toInt();
}

// A question to tick, then one to put in order of three answers ranked 1, 2, 3.
QString testDeDeux(const QString& chemin) {
    std::vector<fixtures::Question> qs = fixtures::questionsSimples(2);
    qs[1].texte = QStringLiteral("Dans quel ordre consigner ?");
    qs[1].qcm = false;
    qs[1].nbReponses = 3;
    qs[1].reponses = {QStringLiteral("Séparer"), QStringLiteral("Condamner"), QStringLiteral("Vérifier"), {}, {}};
    qs[1].attendu = {1, 2, 3, 0, 0};
    fixtures::creerTest(chemin, 600, 70, {{QStringLiteral("Généralités"), 1}}, qs);
    return chemin;
}

} // namespace

Q_DECLARE_METATYPE(kelvane::services::Answer)

class TestEditeurTest : public QObject {
    Q_OBJECT

private slots:
    // From nothing to a saved test of two questions, with the keyboard only; undo and redo on the usual keys.
    void ecrireUnTestDeDeuxQuestionsAuClavier() {
        Banc b;
        const QString chemin = b.chemin(QStringLiteral("B2V.mdb"));
        b.editeur.nouveau(chemin);
        b.controle<QWidget>(QStringLiteral("ajouterQuestion"))->setFocus();

        b.alt(Qt::Key_A); // Ajouter: the focus goes to the new question's text
        QTRY_COMPARE(QApplication::focusWidget(), b.controle<QWidget>(QStringLiteral("texteQuestion")));
        b.taper(QStringLiteral("Quelle est la tension du secteur ?"));
        QCOMPARE(b.controle<QLabel>(QStringLiteral("caracteresRestants"))->text(),
                 QStringLiteral("166 caractères restants"));
        QTest::keySequence(QApplication::focusWidget(), QKeySequence::Undo); // the whole typing is one step
        QCOMPARE(b.controle<QPlainTextEdit>(QStringLiteral("texteQuestion"))->toPlainText(), QString());
        QTest::keySequence(QApplication::focusWidget(), QKeySequence::Redo);
        QCOMPARE(b.controle<QPlainTextEdit>(QStringLiteral("texteQuestion"))->toPlainText(),
                 QStringLiteral("Quelle est la tension du secteur ?"));
        b.alt(Qt::Key_1);
        b.taper(QStringLiteral("230 V"));
        b.touche(Qt::Key_Tab); // its tick
        b.touche(Qt::Key_Space);
        b.alt(Qt::Key_2);
        b.taper(QStringLiteral("12 V"));
        b.alt(Qt::Key_V); // the levels: B0 first
        b.touche(Qt::Key_Space);
        QVERIFY(b.problemes().isEmpty());

        b.alt(Qt::Key_A); // the second question, in the first one's chapter and levels
        QTRY_COMPARE(b.editeur.pileAnnulation()->count(), 7);
        b.taper(QStringLiteral("Remettez la consignation dans l'ordre"));
        b.alt(Qt::Key_O);
        QTRY_VERIFY(b.controle<QRadioButton>(QStringLiteral("genreOrdre"))->isChecked());
        b.alt(Qt::Key_B);
        b.touche(Qt::Key_Up); // three answers
        for (const auto& [touche, reponse] :
             {std::pair{Qt::Key_1, "Séparer"}, std::pair{Qt::Key_2, "Condamner"}, std::pair{Qt::Key_3, "Vérifier"}}) {
            b.alt(touche);
            b.taper(QString::fromUtf8(reponse));
        }
        QVERIFY2(b.problemes().isEmpty(), qPrintable(b.problemes().join(QLatin1Char('\n'))));
        QVERIFY(b.editeur.estModifie());

        QVERIFY(b.editeur.enregistrer());
        QVERIFY(!b.editeur.estModifie());
        const data::Test t = lire(chemin);
        QCOMPARE(t.questions.size(), std::size_t(2));
        QCOMPARE(texte(t, 0, data::champ::Question), QStringLiteral("Quelle est la tension du secteur ?"));
        QCOMPARE(texte(t, 0, data::champ::R1), QStringLiteral("230 V"));
        QCOMPARE(entier(t, 0, data::champ::S1), 1);
        QCOMPARE(entier(t, 0, data::champ::S1 + 1), 0);
        QVERIFY(t.questions[0][data::champ::Qcm].toBool());
        QVERIFY(!t.questions[1][data::champ::Qcm].toBool());
        QCOMPARE(entier(t, 1, data::champ::NbreReponse), 3);
        QCOMPARE(texte(t, 1, data::champ::R1 + 2), QStringLiteral("Vérifier"));
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(entier(t, 1, data::champ::S1 + j), j + 1);
        }
        QCOMPARE(entier(t, 1, data::champ::Numero), 2);
        QVERIFY(t.questions[1][data::champ::B0].toBool());
        QVERIFY(b.editeur.fermer()); // nothing left to save: no box
    }

    // A rank given twice is shown in the panel; activating the problem brings the question to the form; fixed,
    // the test saves.
    void unRangEnDoubleSeVoitSeCorrigeEtSEnregistre() {
        Banc b;
        const QString chemin = testDeDeux(b.chemin(QStringLiteral("B1V.mdb")));
        QVERIFY(b.editeur.ouvrir(chemin));
        QVERIFY(b.problemes().isEmpty());
        b.controle<QWidget>(QStringLiteral("tableQuestions"))->setFocus();
        b.touche(Qt::Key_Down);
        auto* rang2 = b.controle<QSpinBox>(QStringLiteral("rang2"));
        QCOMPARE(rang2->value(), 2);
        rang2->setFocus();
        b.touche(Qt::Key_Down); // rank 1, given already to the first answer
        QCOMPARE(b.problemes(),
                 QStringList{QStringLiteral("Question 2 : question à remettre dans l'ordre : chaque rang de 1 à 3 "
                                            "doit être donné une fois")});

        b.scripte.messages.expectMessage(
            QStringLiteral("Le test « B1V » n'est pas enregistré : 1 problème à corriger, listé dans le panneau "
                           "Problèmes."));
        QVERIFY(!b.editeur.enregistrer());
        QCOMPARE(QApplication::focusWidget(), b.controle<QWidget>(QStringLiteral("problemes")));

        b.controle<QWidget>(QStringLiteral("tableQuestions"))->setFocus();
        b.touche(Qt::Key_Up); // another question chosen meanwhile
        b.controle<QWidget>(QStringLiteral("problemes"))->setFocus();
        b.touche(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), b.controle<QWidget>(QStringLiteral("texteQuestion")));
        QCOMPARE(b.controle<QGroupBox>(QStringLiteral("formulaire"))->title(), QStringLiteral("Question n° 2"));
        rang2->setFocus();
        b.touche(Qt::Key_Up);
        QVERIFY(b.problemes().isEmpty());
        QVERIFY(b.editeur.enregistrer());
        QCOMPARE(entier(lire(chemin), 1, data::champ::S1 + 1), 2);
    }

    // A colleague saved the file meanwhile: the editor asks; No keeps the colleague's file, Yes replaces it.
    void unFichierChangeSurLeDisqueDemandeAvantDEtreRemplace() {
        Banc b;
        const QString chemin = testDeDeux(b.chemin(QStringLiteral("B1V.mdb")));
        QVERIFY(b.editeur.ouvrir(chemin));
        b.controle<QSpinBox>(QStringLiteral("tolerance"))->setValue(80);
        data::Test collegue = lire(chemin);
        collegue.temps = 1200;
        data::ecrireTest(collegue, chemin);

        const QString question =
            QStringLiteral("Le fichier %1 a été modifié sur le disque depuis son ouverture. Le remplacer ?")
                .arg(QDir::toNativeSeparators(chemin));
        b.scripte.messages.expectMessage(question, Answer::No);
        QVERIFY(!b.editeur.enregistrer());
        QCOMPARE(lire(chemin).temps.toInt(), 1200);
        QVERIFY(b.editeur.estModifie());

        b.scripte.messages.expectMessage(question, Answer::Yes);
        QVERIFY(b.editeur.enregistrer());
        QCOMPARE(lire(chemin).temps.toInt(), 600);
        QCOMPARE(lire(chemin).tolerance.toInt(), 80);
    }

    // A chapter that still holds questions stays, and the teacher is told why.
    void unChapitreUtiliseNeSeRetirePas() {
        Banc b;
        QVERIFY(b.editeur.ouvrir(testDeDeux(b.chemin(QStringLiteral("B1V.mdb")))));
        b.controle<QWidget>(QStringLiteral("tableChapitres"))->setFocus();
        b.touche(Qt::Key_Down);
        b.scripte.messages.expectMessage(
            QStringLiteral("Le chapitre « Généralités » ne peut pas être supprimé : 2 questions y sont encore."));
        b.alt(Qt::Key_E);
        QTRY_VERIFY(b.scripte.messages.allAnswered());
        QVERIFY(!b.editeur.estModifie());
    }

    // Closing with changes asks; No leaves the file as it was, Yes saves, Annuler keeps the editor open.
    void fermerAvecDesModificationsDemande_data() {
        QTest::addColumn<Answer>("reponse");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<bool>("ferme");
        QTest::newRow("non") << Answer::No << 70 << true;
        QTest::newRow("oui") << Answer::Yes << 85 << true;
        QTest::newRow("annuler") << Answer::Cancel << 70 << false;
    }
    void fermerAvecDesModificationsDemande() {
        QFETCH(Answer, reponse);
        QFETCH(int, tolerance);
        QFETCH(bool, ferme);
        Banc b;
        const QString chemin = testDeDeux(b.chemin(QStringLiteral("B1V.mdb")));
        QVERIFY(b.editeur.ouvrir(chemin));
        b.controle<QSpinBox>(QStringLiteral("tolerance"))->setValue(85);
        b.scripte.messages.expectMessage(
            QStringLiteral("Le test « B1V » a été modifié. Enregistrer les modifications avant de le fermer ?"),
            reponse);
        QCOMPARE(b.editeur.fermer(), ferme);
        QCOMPARE(lire(chemin).tolerance.toInt(), tolerance);
        QVERIFY(ferme || b.editeur.estModifie()); // Annuler keeps the changes in the editor
    }

    // Tab visits every control once, panel after panel (the first question current: Monter is disabled), and each has a
    // name for tests and for screen readers.
    void leClavierParcourtChaqueControleNomme() {
        Banc b;
        QVERIFY(b.editeur.ouvrir(testDeDeux(b.chemin(QStringLiteral("B1V.mdb")))));
        b.controle<QWidget>(QStringLiteral("tempsMinutes"))->setFocus();
        QStringList vus;
        for (QWidget* w = QApplication::focusWidget(); !vus.contains(w->objectName());
             w = QApplication::focusWidget()) {
            QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
            const auto* bouton = qobject_cast<QAbstractButton*>(w);
            QVERIFY2(!w->accessibleName().isEmpty() || (bouton && !bouton->text().isEmpty()),
                     qPrintable(w->objectName()));
            vus << w->objectName();
            b.touche(Qt::Key_Tab);
        }
        const QStringList attendus =
            QStringLiteral("tempsMinutes tempsSecondes tolerance tableChapitres ajouterChapitre retirerChapitre "
                           "filtreChapitre filtreNiveau tableQuestions ajouterQuestion dupliquerQuestion "
                           "supprimerQuestion descendreQuestion renumeroter problemes texteQuestion choixImageQuestion "
                           "genreCases nombreReponses reponse1 coche1 choixImageReponse1 reponse2 coche2 "
                           "choixImageReponse2 niveauB0 niveauB1 niveauB2 niveauBR "
                           "niveauBC chapitreQuestion tempsQuestion")
                .split(QLatin1Char(' '));
        QCOMPARE(vus, attendus);
    }

    // A converted test stores its questions in the order of the Access file: the table shows them by number, the
    // first one current; a change saved leaves the records in their stored order. The table's models keep the rules
    // of Qt's models while the test loads and the filter changes.
    void unTestConvertiSeMontreParNumero() {
        Banc b;
        const QString chemin = b.chemin(QStringLiteral("B1V.mdb"));
        std::vector<fixtures::Question> qs = fixtures::questionsSimples(3);
        for (const auto& [i, numero] : {std::pair{0, 3}, {1, 1}, {2, 2}}) {
            qs[static_cast<std::size_t>(i)].numero = numero;
            qs[static_cast<std::size_t>(i)].texte = QStringLiteral("Question numérotée %1 ?").arg(numero);
            qs[static_cast<std::size_t>(i)].chapitre = numero == 2 ? 2 : 1;
        }
        fixtures::creerTest(chemin, 600, 70, {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Consignation"), 2}},
                            qs);
        auto* table = b.controle<QTableView>(QStringLiteral("tableQuestions"));
        const QAbstractItemModelTester testeurFiltre(table->model(),
                                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QAbstractItemModelTester testeurModele(static_cast<QSortFilterProxyModel*>(table->model())->sourceModel(),
                                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(b.editeur.ouvrir(chemin));
        const auto numeros = [table] {
            QStringList n;
            for (int i = 0; i < table->model()->rowCount(); ++i) {
                n << table->model()->index(i, 0).data().toString();
            }
            return n;
        };
        QCOMPARE(numeros(), (QStringList{"1", "2", "3"}));
        QCOMPARE(b.controle<QGroupBox>(QStringLiteral("formulaire"))->title(), QStringLiteral("Question n° 1"));
        QVERIFY(!b.controle<QWidget>(QStringLiteral("monterQuestion"))->isEnabled()); // first of the table
        b.controle<QComboBox>(QStringLiteral("filtreChapitre"))->setCurrentIndex(1);
        QCOMPARE(numeros(), (QStringList{"1", "3"}));
        b.controle<QComboBox>(QStringLiteral("filtreChapitre"))->setCurrentIndex(0);

        b.controle<QWidget>(QStringLiteral("texteQuestion"))->setFocus();
        b.touche(Qt::Key_End);
        b.taper(QStringLiteral(" Oui"));
        QVERIFY(b.editeur.enregistrer());
        const data::Test relu = lire(chemin);
        QStringList enregistres;
        for (std::size_t i = 0; i < relu.questions.size(); ++i) {
            enregistres << QStringLiteral("%1:%2")
                               .arg(entier(relu, static_cast<int>(i), data::champ::Numero))
                               .arg(texte(relu, static_cast<int>(i), data::champ::Question));
        }
        QCOMPARE(enregistres,
                 (QStringList{"3:Question numérotée 3 ?", "1:Question numérotée 1 ? Oui", "2:Question numérotée 2 ?"}));

        // The last row of the table moved up goes above its neighbour in the table, and stays current.
        table->setFocus();
        b.touche(Qt::Key_End, Qt::ControlModifier);
        b.controle<QPushButton>(QStringLiteral("monterQuestion"))->click();
        const auto textes = [table] {
            QStringList t;
            for (int i = 0; i < table->model()->rowCount(); ++i) {
                t << table->model()->index(i, 4).data().toString().section(QLatin1Char(' '), 2);
            }
            return t;
        };
        QCOMPARE(textes(), (QStringList{"1 ? Oui", "3 ?", "2 ?"}));
        QCOMPARE(numeros(), (QStringList{"1", "2", "3"}));
        QCOMPARE(b.controle<QGroupBox>(QStringLiteral("formulaire"))->title(), QStringLiteral("Question n° 2"));
        b.editeur.pileAnnulation()->undo();
        QCOMPARE(textes(), (QStringList{"1 ? Oui", "2 ?", "3 ?"}));
        b.controle<QPushButton>(QStringLiteral("ajouterQuestion"))->click();
        QCOMPARE(textes(), (QStringList{"1 ? Oui", "2 ?", "3 ?", ""}));
    }

    // A picture comes from the chooser or a drop, is replaced and removed, each step undone; what the test cannot
    // hold is refused with a message, and what it holds but cannot show, or has lost its answer, is a problem.
    void lesImagesSeChoisissentSeDeposentEtSAnnulent() {
        Banc b;
        const QString chemin = testDeDeux(b.chemin(QStringLiteral("B1V.mdb")));
        {
            db::Database base = db::OpenDatabase(chemin);
            data::ImagesTest abimees;
            abimees[2].question = data::Image{QStringLiteral("abîmé.png"), imagesessai::image(50, 50).left(60)};
            data::ecrireImages(base, abimees);
        }
        QVERIFY(b.editeur.ouvrir(chemin));
        QCOMPARE(b.problemes(), QStringList{QStringLiteral("Question 2 : l'image de la question (« abîmé.png ») est "
                                                           "illisible : taille illisible")});
        auto ecrire = [&b](const QString& nom, const QByteArray& octets) {
            QFile f(b.chemin(nom));
            f.open(QIODevice::WriteOnly);
            f.write(octets);
            return f.fileName();
        };
        const QString disjoncteur = ecrire(QStringLiteral("disjoncteur.png"), imagesessai::image(120, 80));
        const QString gant = ecrire(QStringLiteral("gant.jpg"), imagesessai::image(60, 60, Qt::red, "JPEG"));
        const QString plan = ecrire(QStringLiteral("plan.gif"), "GIF89a");
        // The preview's frame lives in its scene, not among the editor's children.
        QWidget* cadre = nullptr;
        for (QGraphicsItem* item : b.controle<QGraphicsView>(QStringLiteral("apercu"))->scene()->items()) {
            if (auto* proxy = qgraphicsitem_cast<QGraphicsProxyWidget*>(item); proxy && !cadre) {
                cadre = proxy->widget();
            }
        }
        QVERIFY(cadre != nullptr);
        auto vignette = [cadre](const char* nom) { return cadre->findChild<widgets::Vignette*>(QLatin1String(nom)); };
        auto image = [&b](int place) {
            return b.editeur.findChild<QAbstractButton*>(place == 0 ? QStringLiteral("choixImageQuestion")
                                                                    : QStringLiteral("choixImageReponse%1").arg(place));
        };

        b.scripte.dialogs.expect(ScriptedDialogs::Kind::Open, disjoncteur);
        image(0)->click();
        QCOMPARE(b.scripte.dialogs.shown().last().start, b.dossier.path());
        QVERIFY(vignette("ImageQuestion")->isVisible() && vignette("ImageQuestion")->estLisible());
        QVERIFY(image(0)->text().isEmpty() && !image(0)->icon().isNull());

        QMimeData depot;
        depot.setUrls({QUrl::fromLocalFile(gant)});
        QDragEnterEvent entree(QPoint(2, 2), Qt::CopyAction, &depot, Qt::LeftButton, {});
        QApplication::sendEvent(image(2)->parentWidget(), &entree);
        QVERIFY(entree.isAccepted());
        QDropEvent depose(QPointF(2, 2), Qt::CopyAction, &depot, Qt::LeftButton, {});
        QApplication::sendEvent(image(2)->parentWidget(), &depose);
        QVERIFY(vignette("ImageReponse2")->isVisible());
        gui::photographier(&b.editeur, QStringLiteral("editeur_images"));

        b.scripte.dialogs.expect(ScriptedDialogs::Kind::Open, plan);
        b.scripte.messages.expectMessage(
            QStringLiteral("L'image n'est pas ajoutée : « plan.gif » n'est ni un PNG ni un JPEG."));
        image(0)->click();
        b.scripte.dialogs.expect(ScriptedDialogs::Kind::Open, gant);
        image(0)->click();
        QCOMPARE(b.editeur.pileAnnulation()->text(b.editeur.pileAnnulation()->index() - 1),
                 QStringLiteral("Remplacer l'image de la question 1"));

        b.controle<QSpinBox>(QStringLiteral("nombreReponses"))->setValue(1);
        QVERIFY(b.problemes().contains(QStringLiteral(
            "Question 1 : l'image de la réponse 2 n'a plus de réponse (la question en a 1) : retirez-la")));
        b.controle<QAbstractButton>(QStringLiteral("retirerImageReponse2"))->click();
        QCOMPARE(b.problemes().size(), 1);

        QUndoStack* pile = b.editeur.pileAnnulation();
        pile->undo(); // the answer's picture is back
        pile->undo(); // two answers again
        pile->undo(); // the question's first picture
        b.controle<QWidget>(QStringLiteral("tableQuestions"))->setFocus();
        b.touche(Qt::Key_Down);
        b.controle<QAbstractButton>(QStringLiteral("retirerImageQuestion"))->click();
        QVERIFY(b.editeur.enregistrer());
        const data::Test lu = lire(chemin);
        QCOMPARE(lu.images.size(), 1U);
        QCOMPARE(lu.images.at(1).question->nom, QStringLiteral("disjoncteur.png"));
        QCOMPARE(lu.images.at(1).reponses[1]->octets, imagesessai::image(60, 60, Qt::red, "JPEG"));
    }

    // The editor as a teacher sees it, with the class II question and its three pictures in the preview.
    void photographie() {
        Banc b;
        QVERIFY(mktest::writeImages(b.chemin(QStringLiteral("Images"))).isEmpty());
        std::vector<fixtures::Question> qs = fixtures::questionsSimples(12);
        qs[2].texte = QStringLiteral("A quel sigle se reconnait un outil électrique de classe II?");
        qs[2].nbReponses = 3;
        qs[2].reponses = {
            QStringLiteral("Le premier"), QStringLiteral("Le deuxième"), QStringLiteral("Le troisième"), {}, {}};
        qs[2].attendu = {0, 0, 1, 0, 0};
        qs[5].chapitre = 2;
        qs[7].reponses[1].clear();
        fixtures::creerTest(b.chemin(QStringLiteral("B1V.mdb")), 900, 70,
                            {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Consignation"), 2}}, qs);
        QVERIFY(b.editeur.ouvrir(b.chemin(QStringLiteral("B1V.mdb"))));
        b.controle<QWidget>(QStringLiteral("tableQuestions"))->setFocus();
        b.touche(Qt::Key_Down);
        b.touche(Qt::Key_Down);
        QCOMPARE(b.controle<QLabel>(QStringLiteral("indicationClasseII"))->text(),
                 QStringLiteral("Ce texte montre les trois images : le condensateur, la terre et le double carré, à "
                                "côté des réponses 1 à 3."));
        QCOMPARE(b.problemes().size(), 1);
        gui::photographier(&b.editeur, QStringLiteral("editeur_test"));
    }
};

QTEST_MAIN(TestEditeurTest)
#include "tst_editeurtest.moc"
