#pragma once

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

// Saves what the pupil sees beside the test binary, to be looked at.
inline void photographier(QWidget* w, const QString& nom) {
    w->grab().save(QCoreApplication::applicationDirPath() + QLatin1Char('/') + nom + QStringLiteral(".png"));
}

} // namespace gui
