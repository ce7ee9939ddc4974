#include "widgets/controls.h"

#include "widgets/twips.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace kelvane::widgets {

void placer(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsRect(left, top, width, height, w));
}

void setPolice(QWidget* w, double points, bool bold, bool italic, const QString& family) {
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    w->setFont(f);
}

void setCouleurs(QWidget* w, const QColor& back, const QColor& fore) {
    QPalette p = w->palette();
    if (back.isValid()) {
        p.setColor(QPalette::Window, back);
        w->setAutoFillBackground(true);
    }
    if (fore.isValid()) {
        p.setColor(QPalette::WindowText, fore);
    }
    w->setPalette(p);
}

QLabel* creerLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                   int height) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placer(l, left, top, width, height);
    return l;
}

QLabel* creerLegende(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                     int height, double points) {
    QLabel* label = creerLabel(parent, name, text, left, top, width, height);
    setPolice(label, points, true);
    setCouleurs(label, QColor(), kMarine);
    return label;
}

QPushButton* creerBouton(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                         int height) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    placer(b, left, top, width, height);
    return b;
}

QLineEdit* creerTexte(QWidget* parent, const QString& name, int left, int top, int width, int height) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    placer(t, left, top, width, height);
    return t;
}

QGroupBox* creerCadre(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                      int height, const QColor& back, const QColor& fore) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    styliserCadre(g, back, fore);
    placer(g, left, top, width, height);
    return g;
}

void styliserCadre(QGroupBox* cadre, const QColor& back, const QColor& fore) {
    // Painted by a style sheet so that the frame shows exactly its colour whatever the
    // style draws inside group boxes.
    cadre->setStyleSheet(QStringLiteral("QGroupBox#%1 { background-color: %2; border: 1px solid rgb(128, 128, 128);"
                                        " margin-top: 7px; }"
                                        " QGroupBox#%1::title { subcontrol-origin: margin; left: 8px; padding: 0 2px;"
                                        " color: %3; }")
                             .arg(cadre->objectName(), back.name(), fore.name()));
    setCouleurs(cadre, back, fore);
}

QListWidget* creerListe(QWidget* parent, const QString& name, int left, int top, int width, int height) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    placer(l, left, top, width, height);
    return l;
}

void setFondGris(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, kGrisClair);
    w->setPalette(p);
}

void nommer(QLabel* label, QWidget* buddy) {
    label->setBuddy(buddy);
    QString nom = label->text();
    nom.remove(QLatin1Char('&'));
    if (nom.endsWith(QLatin1Char(':'))) {
        nom.chop(1);
    }
    buddy->setAccessibleName(nom.trimmed());
}

} // namespace kelvane::widgets

namespace kelvane::widgets {

void setBoiteCode(QLineEdit* boite) {
    boite->setEchoMode(QLineEdit::Password);
    boite->setStyleSheet(boite->styleSheet() + QStringLiteral(" QLineEdit { lineedit-password-character: 42; }"));
    // Inside a frame that has a style sheet of its own, the box keeps the character it read when it was made:
    // its style forgets what it knew of the box, and the box reads the character again.
    boite->style()->unpolish(boite);
    boite->style()->polish(boite);
    QEvent changement(QEvent::StyleChange);
    QCoreApplication::sendEvent(boite, &changement);
}

} // namespace kelvane::widgets
