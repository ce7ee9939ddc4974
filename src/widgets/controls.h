#pragma once

#include <QColor>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace kelvane::widgets {

// Controls placed the way the forms were drawn: positions and sizes in twips, relative to the parent, and each
// control named after the form's own name for it so that tests and screen readers find it.

inline const QColor kBleuClair{192, 192, 255};
inline const QColor kOrangeClair{255, 224, 192};
inline const QColor kGrisClair{224, 224, 224};
inline const QColor kMarine{0, 0, 128};
inline const QColor kBrun{128, 64, 0};

void placer(QWidget* w, int left, int top, int width, int height);
void setPolice(QWidget* w, double points, bool bold = false, bool italic = false, const QString& family = "Arial");
void setCouleurs(QWidget* w, const QColor& back, const QColor& fore = QColor());

QLabel* creerLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height);
QPushButton* creerBouton(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                         int height);
QLineEdit* creerTexte(QWidget* parent, const QString& name, int left, int top, int width, int height);
QGroupBox* creerCadre(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                      int height, const QColor& back, const QColor& fore = kMarine);
// A frame's back colour and caption colour.
void styliserCadre(QGroupBox* cadre, const QColor& back, const QColor& fore = kMarine);
QListWidget* creerListe(QWidget* parent, const QString& name, int left, int top, int width, int height);

// A caption in the forms' navy, bold.
QLabel* creerLegende(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                     int height, double points = 8.25);

// A control made by the caller, named, placed and given the forms' font.
template <typename T> T* nommerControle(T* w, const QString& name, int left, int top, int width, int height) {
    w->setObjectName(name);
    placer(w, left, top, width, height);
    setPolice(w, 8.25);
    return w;
}

// The light grey of the boxes where a name is chosen, so that what can be typed or picked stands out on the blue.
void setFondGris(QWidget* w);

// A label names the box that follows it, for screen readers and for its keyboard shortcut.
void nommer(QLabel* label, QWidget* buddy);

} // namespace kelvane::widgets

namespace kelvane::widgets {

// A box for a code: what is typed shows as one "*" a character.
void setBoiteCode(QLineEdit* boite);

} // namespace kelvane::widgets
