#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QString>
#include <QTest>

// Small gestures of a pupil at the screen, for the GUI tests.
namespace gui {

// A click on line `row` of a list box, as the mouse gives it.
inline void cliquerLigne(QListWidget* liste, int row) {
    QListWidgetItem* item = liste->item(row);
    QVERIFY(item != nullptr);
    liste->scrollToItem(item);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualItemRect(item).center());
}

// The line of a list box that reads `texte`, or -1.
inline int ligne(const QListWidget* liste, const QString& texte) {
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->item(i)->text() == texte) {
            return i;
        }
    }
    return -1;
}

inline QStringList lignes(const QListWidget* liste) {
    QStringList out;
    for (int i = 0; i < liste->count(); ++i) {
        out << liste->item(i)->text();
    }
    return out;
}

// Saves a picture beside the test binary as `nom`.png, to be looked at. A picture of the documentation also
// carries its name there (`illustration`, e.g. "menu"): when the environment variable KELVANE_PHOTOS names a
// folder, it is saved into it as `illustration`.png too (scripts/photos.sh refreshes docs/images so).
inline void garderImage(const QImage& image, const QString& nom, const QString& illustration = {}) {
    image.save(QCoreApplication::applicationDirPath() + QLatin1Char('/') + nom + QStringLiteral(".png"));
    const QString photos = qEnvironmentVariable("KELVANE_PHOTOS");
    if (illustration.isEmpty() || photos.isEmpty()) {
        return;
    }
    const QString chemin = QDir(photos).filePath(illustration + QStringLiteral(".png"));
    QVERIFY2(QDir().mkpath(photos) && image.save(chemin), qPrintable(chemin));
}

// Keeps a copy of a file the test made (a printed report, a results file) in the folder named by KELVANE_PHOTOS,
// when it names one: the Windows smoke run reads them on Linux.
inline void garderFichier(const QString& fichier) {
    const QString photos = qEnvironmentVariable("KELVANE_PHOTOS");
    if (photos.isEmpty()) {
        return;
    }
    const QString copie = QDir(photos).filePath(QFileInfo(fichier).fileName());
    QFile::remove(copie);
    QVERIFY2(QDir().mkpath(photos) && QFile::copy(fichier, copie), qPrintable(copie));
}

// Saves what the pupil sees, as garderImage does.
inline void photographier(QWidget* w, const QString& nom, const QString& illustration = {}) {
    garderImage(w->grab().toImage(), nom, illustration);
}

} // namespace gui
