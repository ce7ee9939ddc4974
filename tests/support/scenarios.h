#pragma once

#include "support/formefixture.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

// What a pupil does at a test form, step by step, for the three session suites.
namespace scenario {

using kelvane::services::Answer;

inline const QString kQuitter = QStringLiteral("Etes vous sûr de vouloir quitter le test?");
inline const QColor kRose(255, 192, 192);
inline const QColor kGris(192, 192, 192);

inline QString annonce(int tolerance) {
    return QStringLiteral("Pour réussir ce test il faut %1% de bonnes réponses").arg(tolerance);
}

// The colour a button is painted with, read from the screen.
inline QColor fond(QPushButton* b) {
    return b->grab().toImage().pixelColor(b->width() / 2, 3);
}

// Whether the process holds the file open: on Linux one of its descriptors points to it; on Windows, where an open
// database cannot be renamed, a rename away and back fails.
inline bool tenuOuvert(const QString& chemin) {
    const QString cible = QFileInfo(chemin).canonicalFilePath();
    if (cible.isEmpty()) {
        return false;
    }
#ifdef Q_OS_WIN
    const QString ailleurs = cible + QStringLiteral(".tenu");
    if (!QFile::rename(cible, ailleurs)) {
        return true;
    }
    QFile::rename(ailleurs, cible);
    return false;
#else
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == cible) {
            return true;
        }
    }
    return false;
#endif
}

inline QByteArray octets(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QStringList fichiersMdb(const QString& dossier) {
    return QDir(dossier).entryList({QStringLiteral("*.mdb")}, QDir::Files);
}

// Types into a box as the pupil does: the text, then one key going down in it (which OK follows).
inline void saisir(QLineEdit* boite, const QString& texte) {
    boite->setText(texte);
    QTest::keyClick(boite, Qt::Key_End);
}

// The window becomes the active one, so that the keyboard reaches it.
inline bool activer(QWidget* fenetre) {
    fenetre->activateWindow();
    return QTest::qWaitForWindowActive(fenetre);
}

// Tab from control to control until `cible` has the focus.
inline bool tabulerJusqua(QWidget* fenetre, QWidget* cible) {
    for (int i = 0; i < 40 && QApplication::focusWidget() != cible; ++i) {
        QWidget* w = QApplication::focusWidget();
        QTest::keyClick(w != nullptr ? w : fenetre, Qt::Key_Tab);
    }
    return QApplication::focusWidget() == cible;
}

// Keyboard only: Tab into the list, then the down arrow until line `ligne` is the selected one.
inline void choisirAuClavier(QWidget* fenetre, QListWidget* liste, int ligne) {
    QVERIFY(activer(fenetre));
    QVERIFY(tabulerJusqua(fenetre, liste));
    for (int i = 0; i < liste->count() && !(liste->currentRow() == ligne && liste->item(ligne)->isSelected()); ++i) {
        QTest::keyClick(liste, Qt::Key_Down);
    }
    QCOMPARE(liste->currentRow(), ligne);
}

enum class Geste { Souris, Clavier };

// A click, or with the keyboard only: Tab to the button, then the space bar.
inline void presser(QWidget* fenetre, QPushButton* bouton, Geste geste) {
    if (geste == Geste::Souris) {
        bouton->click();
        return;
    }
    QVERIFY(activer(fenetre));
    QVERIFY(tabulerJusqua(fenetre, bouton));
    QTest::keyClick(bouton, Qt::Key_Space);
}

inline void choisir(const ecrans::EcranTest& e, QListWidget* liste, const QString& ligne, Geste geste = Geste::Souris) {
    const int row = gui::ligne(liste, ligne);
    QVERIFY2(row >= 0, qPrintable(ligne));
    if (geste == Geste::Souris) {
        gui::cliquerLigne(liste, row);
    } else {
        choisirAuClavier(e.forme, liste, row);
    }
}

struct Candidat {
    QString nom = QStringLiteral("Dupont");
    QString prenom = QStringLiteral("Jean");
    QString classe = QStringLiteral("1A");
};

// From the test list to the candidate frame.
inline ecrans::EcranTest jusquAuCandidat(FormeFixture& fx, bool examen, const QString& fichierTest) {
    ecrans::EcranTest e = fx.ouvrir(examen);
    choisir(e, e->listefichier, fichierTest);
    e->OkTest->click();
    return e;
}

// From the test list to the first question, as a pupil does it.
inline ecrans::EcranTest commencer(FormeFixture& fx, bool examen, const QString& test, const Candidat& c = {},
                                   int tolerance = 70) {
    ecrans::EcranTest e = jusquAuCandidat(fx, examen, test + QStringLiteral(".mdb"));
    saisir(e->Text1, c.nom);
    saisir(e->Text2, c.prenom);
    saisir(e->Text3, c.classe);
    fx.services->messages.expectMessage(annonce(tolerance));
    e->OkNom->click();
    return e;
}

inline void tic(FormeFixture& fx, const ecrans::EcranTest& e, int fois) {
    for (int i = 0; i < fois; ++i) {
        fx.minuterie(e)->fire();
    }
}

// Gives up at once (confirmed), which shows the results.
inline void abandonner(FormeFixture& fx, const ecrans::EcranTest& e) {
    fx.services->messages.expectMessage(kQuitter, Answer::Yes);
    e->AnnulerQuestion->click();
}

} // namespace scenario
