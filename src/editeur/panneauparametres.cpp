#include "editeur/panneauparametres.h"

#include "edition/testedite.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace kelvane::editeur {

namespace {
QSpinBox* boite(QWidget* parent, const QString& nom, const QString& accessible, int maxi, const QString& suffixe) {
    auto* b = new QSpinBox(parent);
    b->setObjectName(nom);
    b->setAccessibleName(accessible);
    b->setRange(0, maxi);
    b->setSuffix(suffixe);
    b->setKeyboardTracking(true);
    return b;
}
} // namespace

PanneauParametres::PanneauParametres(edition::TestEdite& test, QWidget* parent)
    : QGroupBox(QStringLiteral("Paramètres du test"), parent), test_(test) {
    setObjectName(QStringLiteral("parametres"));
    // 32767 s at most: 546 min 7 s.
    minutes_ = boite(this, QStringLiteral("tempsMinutes"), QStringLiteral("Temps accordé, minutes"), 546,
                     QStringLiteral(" min"));
    secondes_ = boite(this, QStringLiteral("tempsSecondes"), QStringLiteral("Temps accordé, secondes"), 59,
                      QStringLiteral(" s"));
    tolerance_ = boite(this, QStringLiteral("tolerance"), QStringLiteral("Tolérance, pourcentage de bonnes réponses"),
                       100, QStringLiteral(" %"));
    auto* libelleTemps = new QLabel(QStringLiteral("&Temps accordé"), this);
    libelleTemps->setBuddy(minutes_);
    auto* libelleTolerance = new QLabel(QStringLiteral("Tolé&rance"), this);
    libelleTolerance->setBuddy(tolerance_);

    auto* ligne = new QHBoxLayout(this);
    ligne->addWidget(libelleTemps);
    ligne->addWidget(minutes_);
    ligne->addWidget(secondes_);
    ligne->addSpacing(24);
    ligne->addWidget(libelleTolerance);
    ligne->addWidget(tolerance_);
    ligne->addStretch();

    connect(minutes_, &QSpinBox::valueChanged, this, &PanneauParametres::tempsSaisi);
    connect(secondes_, &QSpinBox::valueChanged, this, &PanneauParametres::tempsSaisi);
    connect(tolerance_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!actualisation_) {
            test_.changerTolerance(v);
        }
    });
    for (QSpinBox* b : {minutes_, secondes_, tolerance_}) {
        connect(b, &QSpinBox::editingFinished, &test_, &edition::TestEdite::terminerSaisie);
    }
    connect(&test_, &edition::TestEdite::parametresChanges, this, &PanneauParametres::actualiser);
    actualiser();
}

void PanneauParametres::tempsSaisi() {
    if (!actualisation_) {
        test_.changerTemps(minutes_->value() * 60 + secondes_->value());
    }
}

void PanneauParametres::actualiser() {
    actualisation_ = true;
    const int temps = test_.tempsTest();
    minutes_->setValue(temps / 60);
    secondes_->setValue(temps % 60);
    tolerance_->setValue(test_.tolerance());
    actualisation_ = false;
}

void PanneauParametres::prendreFocus() {
    minutes_->setFocus(Qt::OtherFocusReason);
}

} // namespace kelvane::editeur
