#include "forms/menu.h"

#include "frames/cadrecode.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QPushButton>

namespace kelvane::forms {

using namespace kelvane::widgets;

Menu::Menu(data::FichierParametres& parametres, services::MessageService& messages, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Menu"));
    setWindowTitle(QStringLiteral("Kelvane - Habilitation électrique"));
    setCouleurs(this, kBleuClair);
    setFixedSize(twipsSize(8220, 1455, this));
    setPolice(this, 8.25);

    QLabel* banniere = creerLabel(this, QStringLiteral("Label1"), QStringLiteral("KELVANE"), 360, 120, 5895, 495);
    setPolice(banniere, 20.25, true, true);
    setCouleurs(banniere, QColor(), kMarine);

    Quitter = creerBouton(this, QStringLiteral("Quitter"), QStringLiteral("Quitter"), 4200, 720, 1575, 495);
    Entrainement =
        creerBouton(this, QStringLiteral("Entrainement"), QStringLiteral("Entrainement"), 120, 720, 1575, 495);
    Interro = creerBouton(this, QStringLiteral("Interro"), QStringLiteral("Evaluation"), 2160, 720, 1575, 495);
    Resultats =
        creerBouton(this, QStringLiteral("Résultats"), QStringLiteral("Résultats des tests"), 6240, 720, 1815, 495);
    Resultats->setToolTip(QStringLiteral("Permet de visualiser les résultats des élèves"));

    Frame4 = new frames::CadreCode(this, frames::CadreCode::dispositionMenu(), parametres, messages);
    Frame4->hide();

    // Tab order as drawn: Quitter, Entrainement, Evaluation, Résultats, then the code frame.
    QWidget::setTabOrder(Quitter, Entrainement);
    QWidget::setTabOrder(Entrainement, Interro);
    QWidget::setTabOrder(Interro, Resultats);

    connect(Quitter, &QPushButton::clicked, this, &QWidget::close);
    connect(Entrainement, &QPushButton::clicked, this, &Menu::entrainement);
    connect(Interro, &QPushButton::clicked, this, &Menu::evaluation);
    // The count of wrong codes starts again each time the frame is opened; a code left in the box stays.
    connect(Resultats, &QPushButton::clicked, this, [this] { Frame4->ouvrir(true, false); });
    connect(Frame4, &frames::CadreCode::accepte, this, &Menu::visualisation);
    connect(Frame4, &frames::CadreCode::changer, this, &Menu::changerCode);
    connect(Frame4, &frames::CadreCode::fermerLogiciel, this, &Menu::fermerLogiciel);
}

} // namespace kelvane::forms
