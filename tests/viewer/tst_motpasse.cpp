#include "app/codesecret.h"
#include "app/commun.h"
#include "app/formes.h"
#include "app/menu.h"
#include "app/motpasse.h"
#include "support/doubles/scriptedservices.h"
#include "support/fixtures.h"
#include "support/gui.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {
const QString kAvertissement = QStringLiteral(" Avertissement");
const QString kErrone = QStringLiteral("Le code est érroné. Recommencer");
const QString kTroisieme = QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé");
const QString kConfirmation =
    QStringLiteral("Une erreur c'est produite lors de la confirmation, recommencez l'opération");
const QString kPasDeCode = QStringLiteral("Aucun Code secret est valide\rCréer votre propre code");

// What is stored now, read from the file as the next start would read it.
QVariant codeStocke(const QString& chemin) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    db::Recordset rs = base.OpenRecordset(QStringLiteral("habilitation"));
    rs.setAbsolutePosition(0);
    return rs.Fields(0);
}
} // namespace

class TestMotPasse : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<doubles::ScriptedServices> s_;
    std::unique_ptr<app::Formes> formes_;
    std::unique_ptr<app::Menu> menu_;
    QString ancien_;
    int fins_ = 0;

    QString reglages() const { return dir_->filePath(QStringLiteral("habilitation.mdb")); }

    // The program started on a settings database holding this code, with the menu and its forms wired as the
    // application wires them, except that the end of the program is only counted.
    void demarrer(const QVariant& code) {
        fixtures::creerHabilitation(reglages(), code);
        menu_ = std::make_unique<app::Menu>();
        formes_ = std::make_unique<app::Formes>();
        formes_->brancher(*menu_);
        if (!code.isNull() && code.toString().isEmpty()) {
            s_->messages.expectMessage(kPasDeCode);
        }
        QVERIFY(menu_->Form_Load());
        menu_->fermerLogiciel = [this] { ++fins_; };
        menu_->show();
    }

    // The form as the menu's button shows it (without waiting for it to close).
    app::MotPasse* ouvrir() {
        auto* f = dynamic_cast<app::MotPasse*>(&formes_->motPasse());
        if (f != nullptr) {
            f->Form_Load();
            f->show();
        }
        return f;
    }

    // Letters outside ASCII cannot be typed key by key here: they are put in the box, then a key is released.
    static void taper(QLineEdit* boite, const QString& texte, bool entree) {
        boite->setFocus();
        bool ascii = true;
        for (const QChar c : texte) {
            ascii = ascii && c.unicode() < 128;
        }
        if (ascii) {
            QTest::keyClicks(boite, texte);
        } else {
            boite->insert(texte);
            QTest::keyClick(boite, Qt::Key_End);
        }
        if (entree) {
            QTest::keyClick(boite, Qt::Key_Return);
        }
    }

    // The first step passed with the master code.
    app::MotPasse* deuxiemeEtape() {
        app::MotPasse* f = ouvrir();
        taper(f->Text3, QStringLiteral("trivolk"), true);
        return f;
    }

private slots:
    void init() {
        ancien_ = QDir::currentPath();
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        s_ = std::make_unique<doubles::ScriptedServices>();
        fins_ = 0;
    }

    void cleanup() {
        QCOMPARE(s_->messages.pending(), 0);
        menu_.reset();
        formes_.reset();
        Commun::reinitialiser();
        s_.reset();
        QDir::setCurrent(ancien_);
        dir_.reset();
    }

    void opensOnTheFirstStep() {
        demarrer(QStringLiteral("PROF"));
        menu_->Resultats->click();
        QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
        gui::photographier(menu_.get(), QStringLiteral("menu-cadre-code"));

        app::MotPasse* f = ouvrir();
        QVERIFY(f != nullptr);
        QVERIFY(f->Frame4->isVisible() && f->Frame1->isHidden());
        QVERIFY(!f->OkMotdePasse->isEnabled() && !f->Valider->isEnabled());
        QVERIFY(QTest::qWaitForWindowExposed(f));
        const QImage image = f->grab().toImage();
        image.save(QCoreApplication::applicationDirPath() + QStringLiteral("/motpasse-frame4.png"));
        QCOMPARE(image.pixelColor(3, image.height() - 3), QColor(255, 224, 192));

        taper(f->Text3, QStringLiteral("p"), false);
        QVERIFY(f->OkMotdePasse->isEnabled());
        QTest::keyClicks(f->Text3, QStringLiteral("rof"));
        f->OkMotdePasse->click();
        QVERIFY(f->Frame1->isVisible() && f->Frame4->isHidden());
        QCOMPARE(f->focusWidget(), f->Text1);
        gui::photographier(f, QStringLiteral("motpasse-frame1"));

        // Closed, then opened again: back on the first step with empty boxes.
        f->Annuler->click();
        QVERIFY(!f->isVisible());
        f = ouvrir();
        QVERIFY(f->Frame4->isVisible() && f->Frame1->isHidden());
        QVERIFY(f->Text3->text().isEmpty());
    }

    // Each row: the stored code, the codes given in the first step, the messages expected, and whether the
    // second step is reached.
    void firstStepChecksTheCode_data() {
        QTest::addColumn<QVariant>("stocke");
        QTest::addColumn<QStringList>("saisies");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("acces");
        const QVariant prof(QStringLiteral("PROF"));
        QTest::newRow("code stocké en minuscules") << prof << QStringList{"prof"} << QStringList{} << true;
        QTest::newRow("code oublié: le maître ouvre") << QVariant() << QStringList{"TriVolk"} << QStringList{} << true;
        QTest::newRow("faux puis bon") << prof << QStringList{"x", "prof"} << QStringList{kErrone} << true;
        QTest::newRow("deux faux") << prof << QStringList{"x", ""} << QStringList{kErrone, kErrone} << false;
    }

    void firstStepChecksTheCode() {
        QFETCH(QVariant, stocke);
        QFETCH(QStringList, saisies);
        QFETCH(QStringList, messages);
        QFETCH(bool, acces);
        demarrer(stocke);
        app::MotPasse* f = ouvrir();
        for (const QString& m : messages) {
            s_->messages.expectMessage(m);
        }
        for (const QString& saisie : saisies) {
            taper(f->Text3, saisie, true);
        }
        QCOMPARE(f->Frame1->isVisible(), acces);
        QCOMPARE(f->Frame4->isVisible(), !acces);
        for (const auto& vu : s_->messages.shown()) {
            QCOMPARE(vu.title, kAvertissement);
        }
        if (!acces) {
            QVERIFY(f->Text3->text().isEmpty());
            QVERIFY(f->CodeSaisi.isEmpty());
            QVERIFY(!f->OkMotdePasse->isEnabled());
        }
        QCOMPARE(fins_, 0);
    }

    // Each row: the new code, its confirmation, whether Enter in the confirmation box validates (otherwise Ok
    // is clicked), and what is stored afterwards (the old code when the two differ).
    void secondStepStoresInCapitals_data() {
        QTest::addColumn<QString>("nouveau");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<bool>("entree");
        QTest::addColumn<QString>("stocke");
        QTest::newRow("minuscules, Entrée") << "neuf"
                                            << "neuf" << true << "NEUF";
        QTest::newRow("casse différente, Ok") << "Neuf"
                                              << "nEUF" << false << "NEUF";
        QTest::newRow("accents") << "élève"
                                 << "ÉLÈVE" << true << "ÉLÈVE";
        QTest::newRow("différente") << "neuf"
                                    << "nuef" << true << "PROF";
        QTest::newRow("plus courte") << "neuf"
                                     << "neu" << false << "PROF";
    }

    void secondStepStoresInCapitals() {
        QFETCH(QString, nouveau);
        QFETCH(QString, confirmation);
        QFETCH(bool, entree);
        QFETCH(QString, stocke);
        demarrer(QStringLiteral("PROF"));
        app::MotPasse* f = deuxiemeEtape();
        const bool accepte = stocke != QStringLiteral("PROF");
        if (!accepte) {
            s_->messages.expectMessage(kConfirmation);
        }
        taper(f->Text1, nouveau, false);
        taper(f->Text2, confirmation, entree);
        if (!entree) {
            f->Valider->click();
        }
        QCOMPARE(codeStocke(reglages()).toString(), stocke);
        QCOMPARE(f->isVisible(), !accepte);
        if (accepte) {
            // At once for the gate, in any case.
            QVERIFY(app::codeValide(nouveau.toLower()));
            QVERIFY(!app::codeValide(QStringLiteral("PROF")));
        } else {
            QCOMPARE(s_->messages.last().title, kAvertissement);
            QVERIFY(f->Text1->text().isEmpty() && f->Text2->text().isEmpty());
            QVERIFY(f->CodeSaisi.isEmpty() && f->CodeConfirme.isEmpty());
            QVERIFY(!f->Valider->isEnabled());
            QVERIFY(f->Frame1->isVisible());
            QCOMPARE(f->focusWidget(), f->Text1);
        }
    }

    void enterInTheNewCodeBoxOnlyCopies() {
        demarrer(QStringLiteral("PROF"));
        app::MotPasse* f = deuxiemeEtape();
        taper(f->Text1, QStringLiteral("abc"), true);
        QCOMPARE(f->CodeSaisi, QStringLiteral("abc"));
        QVERIFY(f->isVisible() && f->Frame1->isVisible());
        QVERIFY(!f->Valider->isEnabled());
        QCOMPARE(codeStocke(reglages()).toString(), QStringLiteral("PROF"));
    }

    void newCodeLongerThanTheFieldCannotBeTyped() {
        demarrer(QStringLiteral("PROF"));
        app::MotPasse* f = deuxiemeEtape();
        const QString long25 = QStringLiteral("abcdefghijklmnopqrstuvwxy");
        taper(f->Text1, long25, false);
        taper(f->Text2, long25, true);
        QCOMPARE(codeStocke(reglages()).toString(), long25.left(20).toUpper());
        QVERIFY(!f->isVisible());
    }

    // Typing a character in the confirmation and erasing it, the new code box empty, stores the empty code: the
    // next start warns again, and an empty entry then opens the gate.
    void emptyCodeBringsBackTheStartupWarning() {
        demarrer(QStringLiteral("PROF"));
        app::MotPasse* f = deuxiemeEtape();
        taper(f->Text2, QStringLiteral("x"), false);
        QTest::keyClick(f->Text2, Qt::Key_Backspace);
        QVERIFY(f->Valider->isEnabled());
        f->Valider->click();
        QVERIFY(!f->isVisible());
        QCOMPARE(codeStocke(reglages()), QVariant(QString()));

        menu_.reset();
        formes_.reset();
        Commun::reinitialiser();
        auto menu = std::make_unique<app::Menu>();
        s_->messages.expectMessage(kPasDeCode);
        QVERIFY(menu->Form_Load());
        int vues = 0;
        menu->afficherVisualisation = [&] { ++vues; };
        menu->Resultats->click();
        QTest::keyClick(menu->Text3, Qt::Key_Return);
        QCOMPARE(vues, 1);
    }

    // The third wrong code ends the program as the menu does; if the program goes on all the same, the count
    // goes on too, and later wrong codes get the ordinary message.
    void thirdWrongCodeEndsTheProgram() {
        demarrer(QStringLiteral("PROF"));
        app::MotPasse* f = ouvrir();
        s_->messages.expectMessage(kErrone);
        s_->messages.expectMessage(kErrone);
        s_->messages.expectMessage(kTroisieme);
        for (const char* code : {"a", "b", "c"}) {
            taper(f->Text3, QString::fromLatin1(code), true);
        }
        QCOMPARE(fins_, 1);
        QVERIFY(!f->isVisible());
        QVERIFY(f->Frame4->isHidden() && f->Frame1->isHidden());
        QVERIFY(f->Text3->text().isEmpty() && f->CodeSaisi.isEmpty());

        f = ouvrir();
        s_->messages.expectMessage(kErrone);
        s_->messages.expectMessage(kErrone);
        taper(f->Text3, QStringLiteral("d"), true);
        taper(f->Text3, QStringLiteral("e"), false);
        f->OkMotdePasse->click();
        QCOMPARE(f->NbEchecs, 5);
        QCOMPARE(fins_, 1);
        taper(f->Text3, QStringLiteral("prof"), true);
        QVERIFY(f->Frame1->isVisible());
    }

    void storingFailureLeavesTheFormOpen() {
        demarrer(QStringLiteral("PROF"));
        // The settings file can be read but not written.
        Commun::RsHabilitation = {};
        Commun::BaseHabilitation = db::OpenDatabase(reglages(), db::OpenMode::ReadOnly);
        Commun::RsHabilitation = Commun::BaseHabilitation.OpenRecordset(QStringLiteral("habilitation"));
        app::MotPasse* f = deuxiemeEtape();
        taper(f->Text1, QStringLiteral("neuf"), false);
        s_->messages.expectMessage({});
        taper(f->Text2, QStringLiteral("neuf"), true);
        QVERIFY2(s_->messages.last().prompt.startsWith(QStringLiteral("Erreur")),
                 qPrintable(s_->messages.last().prompt));
        QVERIFY(f->isVisible() && f->Frame1->isVisible());
        QCOMPARE(codeStocke(reglages()).toString(), QStringLiteral("PROF"));
        QVERIFY(app::codeValide(QStringLiteral("prof")));
        f->Annuler->click();
        QVERIFY(!f->isVisible());
    }
};

QTEST_MAIN(TestMotPasse)
#include "tst_motpasse.moc"
