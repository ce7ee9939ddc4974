#include "forms/motpasse.h"
#include "platform/db/database.h"
#include "support/programme.h"

using namespace kelvane;

namespace {
const QString kAvertissement = QStringLiteral(" Avertissement");
const QString kErrone = QStringLiteral("Le code est érroné. Recommencer");
const QString kTroisieme = QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé");
const QString kConfirmation =
    QStringLiteral("Une erreur c'est produite lors de la confirmation, recommencez l'opération");

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

    std::unique_ptr<Programme> p_;

    kelvane::doubles::ScriptedMessages& messages() { return p_->fx.services->messages; }

    // The program started on this code, the menu shown.
    void demarrer(const QVariant& code) { p_ = std::make_unique<Programme>(code); }

    // The form loaded and shown as the menu shows it, without waiting for it to close.
    ecrans::EcranCode ouvrir() {
        forms::MotPasse& f = p_->formes->motPasse();
        f.Form_Load();
        f.show();
        return ecrans::EcranCode(&f);
    }

    // The first step passed with the master code.
    ecrans::EcranCode deuxiemeEtape() {
        const ecrans::EcranCode f = ouvrir();
        taper(f.Text3, QStringLiteral("trivolk"), true);
        return f;
    }

    // The gate of the next start: whether this code, typed in the menu's frame, opens the viewer.
    bool ouvreLeMenu(const QString& code) {
        Modales modales;
        const ecrans::EcranCode m = p_->menu();
        m.Resultats->click();
        taper(m.Text3, code, true);
        return modales.ouvertes.contains(QStringLiteral("Visualisation"));
    }

private slots:
    void cleanup() {
        QVERIFY(messages().allAnswered());
        p_.reset();
    }

    void opensOnTheFirstStep() {
        demarrer(QStringLiteral("PROF"));
        ecrans::EcranCode f = ouvrir();
        QVERIFY(f.Frame4->isVisible() && f.Frame1->isHidden());
        QVERIFY(!f.OkMotdePasse->isEnabled() && !f.Valider->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(f.fenetre));
        QCOMPARE(QApplication::focusWidget(), f.Text3);
        const QImage image = f.fenetre->grab().toImage();
        QCOMPARE(image.pixelColor(3, image.height() - 3), QColor(255, 224, 192));
        gui::photographier(f.fenetre, QStringLiteral("motpasse-frame4"));

        taper(f.Text3, QStringLiteral("p"));
        QVERIFY(f.OkMotdePasse->isEnabled());
        taper(f.Text3, QStringLiteral("rof"));
        QCOMPARE(f.Text3->displayText(), QStringLiteral("****"));
        f.OkMotdePasse->click();
        QVERIFY(f.Frame1->isVisible() && f.Frame4->isHidden());
        QCOMPARE(QApplication::focusWidget(), f.Text1);
        taper(f.Text1, QStringLiteral("neuf"));
        taper(f.Text2, QStringLiteral("ne"));
        QCOMPARE(f.Text1->displayText(), QStringLiteral("****"));
        QCOMPARE(f.Text2->displayText(), QStringLiteral("**"));
        gui::photographier(f.fenetre, QStringLiteral("motpasse-frame1"));

        // Closed, then opened again: back on the first step with empty boxes.
        f.Annuler->click();
        QVERIFY(!f.fenetre->isVisible());
        f = ouvrir();
        QVERIFY(f.Frame4->isVisible() && f.Frame1->isHidden());
        QVERIFY(f.Text1->text().isEmpty() && f.Text2->text().isEmpty() && f.Text3->text().isEmpty());
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
        const ecrans::EcranCode f = ouvrir();
        for (const QString& m : messages) {
            this->messages().expectMessage(m);
        }
        for (const QString& saisie : saisies) {
            taper(f.Text3, saisie, true);
        }
        QCOMPARE(f.Frame1->isVisible(), acces);
        QCOMPARE(f.Frame4->isVisible(), !acces);
        for (const auto& vu : this->messages().shown()) {
            QCOMPARE(vu.title, kAvertissement);
        }
        if (!acces) {
            QVERIFY(f.Text3->text().isEmpty());
            QVERIFY(!f.OkMotdePasse->isEnabled());
        }
        QVERIFY(p_->menu().fenetre->isVisible());
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
        QTest::newRow("plus longue que le champ") << "abcdefghijklmnopqrstuvwxy"
                                                  << "abcdefghijklmnopqrstuvwxy" << true << "ABCDEFGHIJKLMNOPQRST";
    }

    void secondStepStoresInCapitals() {
        QFETCH(QString, nouveau);
        QFETCH(QString, confirmation);
        QFETCH(bool, entree);
        QFETCH(QString, stocke);
        demarrer(QStringLiteral("PROF"));
        const ecrans::EcranCode f = deuxiemeEtape();
        const bool accepte = stocke != QStringLiteral("PROF");
        taper(f.Text1, nouveau);
        taper(f.Text2, confirmation);
        if (accepte) {
            entree ? QTest::keyClick(f.Text2, Qt::Key_Return) : f.Valider->click();
        } else if (entree) {
            // The Enter that dismisses the message comes back to the new code box, where the focus is.
            entreeAvecMessage(messages(), f.Text2, kConfirmation, f.Text1);
        } else {
            messages().expectMessage(kConfirmation);
            f.Valider->click();
        }
        QCOMPARE(codeStocke(p_->reglages()).toString(), stocke);
        QCOMPARE(f.fenetre->isVisible(), !accepte);
        if (!accepte) {
            QCOMPARE(messages().shown().size(), 1);
            QCOMPARE(messages().last().title, kAvertissement);
            QVERIFY(f.Text1->text().isEmpty() && f.Text2->text().isEmpty());
            QVERIFY(!f.Valider->isEnabled());
            QVERIFY(f.Frame1->isVisible());
            QCOMPARE(f.fenetre->focusWidget(), f.Text1);
            // The new code copied before the message is gone: the confirmation alone matches nothing.
            messages().expectMessage(kConfirmation);
            taper(f.Text2, nouveau, true);
            QCOMPARE(codeStocke(p_->reglages()).toString(), QStringLiteral("PROF"));
            return;
        }
        // At once for the gate, in any case.
        QVERIFY(ouvreLeMenu(stocke.toLower()));
    }

    void enterInTheNewCodeBoxOnlyCopies() {
        demarrer(QStringLiteral("PROF"));
        const ecrans::EcranCode f = deuxiemeEtape();
        taper(f.Text1, QStringLiteral("abc"), true);
        QVERIFY(f.fenetre->isVisible() && f.Frame1->isVisible());
        QVERIFY(!f.Valider->isEnabled());
        QCOMPARE(codeStocke(p_->reglages()).toString(), QStringLiteral("PROF"));
        // What Enter copied is the code that the confirmation must match.
        taper(f.Text2, QStringLiteral("ABC"), true);
        QCOMPARE(codeStocke(p_->reglages()).toString(), QStringLiteral("ABC"));
    }

    // Typing a character in the confirmation and erasing it, the new code box empty, stores the empty code: the
    // next start warns again, and an empty entry then opens the gate.
    void emptyCodeBringsBackTheStartupWarning() {
        demarrer(QStringLiteral("PROF"));
        const ecrans::EcranCode f = deuxiemeEtape();
        taper(f.Text2, QStringLiteral("x"));
        QTest::keyClick(f.Text2, Qt::Key_Backspace);
        QVERIFY(f.Valider->isEnabled());
        f.Valider->click();
        QVERIFY(!f.fenetre->isVisible());
        QCOMPARE(codeStocke(p_->reglages()), QVariant(QString()));
        QVERIFY(p_->parametres->sansCode());
        QVERIFY(ouvreLeMenu(QString()));
    }

    // The third wrong code ends the program as the menu does; if the program goes on all the same, the count
    // goes on too, and later wrong codes get the ordinary message.
    void thirdWrongCodeEndsTheProgram() {
        demarrer(QStringLiteral("PROF"));
        ecrans::EcranCode f = ouvrir();
        for (const QString& m : {kErrone, kErrone, kTroisieme}) {
            messages().expectMessage(m);
        }
        for (const char* code : {"a", "b", "c"}) {
            taper(f.Text3, QString::fromLatin1(code), true);
        }
        QVERIFY(!p_->menu().fenetre->isVisible());
        QVERIFY(!f.fenetre->isVisible());
        QVERIFY(f.Frame4->isHidden() && f.Frame1->isHidden());
        QVERIFY(f.Text3->text().isEmpty());

        p_->formes->menu().show();
        f = ouvrir();
        messages().expectMessage(kErrone);
        messages().expectMessage(kErrone);
        taper(f.Text3, QStringLiteral("d"), true);
        taper(f.Text3, QStringLiteral("e"));
        f.OkMotdePasse->click();
        QVERIFY(p_->menu().fenetre->isVisible());
        taper(f.Text3, QStringLiteral("prof"), true);
        QVERIFY(f.Frame1->isVisible());
    }

    // The Enter that dismisses "érroné" comes back released in the code box: it is no new try.
    void theEnterThatClosesTheMessageIsNoNewTry() {
        demarrer(QStringLiteral("PROF"));
        const ecrans::EcranCode f = ouvrir();
        for (const char* code : {"a", "b"}) {
            taper(f.Text3, QString::fromLatin1(code));
            entreeAvecMessage(messages(), f.Text3, kErrone);
        }
        QCOMPARE(messages().shown().size(), 2);
        QVERIFY(f.fenetre->isVisible() && f.Frame4->isVisible());
        QVERIFY(p_->menu().fenetre->isVisible());
    }

    // The settings file is held by another writer: the code cannot be stored, the error is shown once (the Enter
    // that dismisses it does not store again), and the form stays open on the old code.
    void storingFailureLeavesTheFormOpen() {
        demarrer(QStringLiteral("PROF"));
        const ecrans::EcranCode f = deuxiemeEtape();
        db::Database autre = db::OpenDatabase(p_->reglages());
        autre.BeginTrans();
        db::Recordset rs = autre.OpenRecordset(QStringLiteral("habilitation"));
        rs.Edit();
        rs.SetField(0, QStringLiteral("AUTRE"));
        rs.Update();
        taper(f.Text1, QStringLiteral("neuf"));
        taper(f.Text2, QStringLiteral("neuf"));
        entreeAvecMessage(messages(), f.Text2, {});
        QCOMPARE(messages().shown().size(), 1);
        QVERIFY2(messages().last().prompt.startsWith(QStringLiteral("Erreur")), qPrintable(messages().last().prompt));
        autre.Rollback();
        autre.Close();
        QVERIFY(f.fenetre->isVisible() && f.Frame1->isVisible());
        QCOMPARE(codeStocke(p_->reglages()).toString(), QStringLiteral("PROF"));
        QVERIFY(ouvreLeMenu(QStringLiteral("prof")));
        f.Annuler->click();
        QVERIFY(!f.fenetre->isVisible());
    }
};

QTEST_MAIN(TestMotPasse)
#include "tst_motpasse.moc"
