#include "app/menu.h"

#include "app/avertissements.h"
#include "app/cadrecode.h"
#include "app/codesecret.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "platform/services/services.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane::app {

using namespace kelvane::services;
using namespace kelvane::widgets;

namespace {}

Menu::Menu(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Menu"));
    setWindowTitle(QStringLiteral("Kelvane - Habilitation électrique"));
    setCouleurs(this, kBleuClair);
    setFixedSize(twipsSize(8220, 1455, this));
    setPolice(this, 8.25);

    Label1 = creerLabel(this, QStringLiteral("Label1"), QStringLiteral("KELVANE"), 360, 120, 5895, 495);
    setPolice(Label1, 20.25, true, true);
    setCouleurs(Label1, QColor(), kMarine);

    Quitter = creerBouton(this, QStringLiteral("Quitter"), QStringLiteral("Quitter"), 4200, 720, 1575, 495);
    Entrainement =
        creerBouton(this, QStringLiteral("Entrainement"), QStringLiteral("Entrainement"), 120, 720, 1575, 495);
    Interro = creerBouton(this, QStringLiteral("Interro"), QStringLiteral("Evaluation"), 2160, 720, 1575, 495);
    Resultats =
        creerBouton(this, QStringLiteral("Résultats"), QStringLiteral("Résultats des tests"), 6240, 720, 1815, 495);
    Resultats->setToolTip(QStringLiteral("Permet de visualiser les résultats des élèves"));

    Frame4 = creerCadre(this, QStringLiteral("Frame4"), QStringLiteral("Mot de passe"), 1800, 0, 4455, 1335,
                        kOrangeClair, kBrun);
    setPolice(Frame4, 8.25, true);
    AnnulerMotdePasse =
        creerBouton(Frame4, QStringLiteral("AnnulerMotdePasse"), QStringLiteral("Annuler"), 1200, 840, 975, 375);
    OkMotdePasse = creerBouton(Frame4, QStringLiteral("OkMotdePasse"), QStringLiteral("Ok"), 240, 840, 855, 375);
    Text3 = creerTexte(Frame4, QStringLiteral("Text3"), 240, 360, 3975, 375);
    Text3->setEchoMode(QLineEdit::Password);
    Text3->setAccessibleName(QStringLiteral("Mot de passe"));
    Text3->installEventFilter(this);
    ChangerMotPasse = creerBouton(Frame4, QStringLiteral("ChangerMotPasse"), QStringLiteral("Changer le mot de passe"),
                                  2280, 840, 1935, 375);
    for (QWidget* w : {static_cast<QWidget*>(AnnulerMotdePasse), static_cast<QWidget*>(OkMotdePasse),
                       static_cast<QWidget*>(Text3), static_cast<QWidget*>(ChangerMotPasse)}) {
        setPolice(w, 8.25);
    }
    paintButton(AnnulerMotdePasse, true);
    Frame4->hide();

    // Tab order as drawn: the banner first, then Quitter, Entrainement, Evaluation, Résultats and the code frame.
    QWidget::setTabOrder(Quitter, Entrainement);
    QWidget::setTabOrder(Entrainement, Interro);
    QWidget::setTabOrder(Interro, Resultats);
    QWidget::setTabOrder(Resultats, AnnulerMotdePasse);
    QWidget::setTabOrder(AnnulerMotdePasse, OkMotdePasse);
    QWidget::setTabOrder(OkMotdePasse, Text3);
    QWidget::setTabOrder(Text3, ChangerMotPasse);

    connect(Quitter, &QPushButton::clicked, this, &Menu::Quitter_Click);
    connect(Entrainement, &QPushButton::clicked, this, &Menu::Entrainement_Click);
    connect(Interro, &QPushButton::clicked, this, &Menu::Interro_Click);
    connect(Resultats, &QPushButton::clicked, this, &Menu::Resultats_Click);
    connect(OkMotdePasse, &QPushButton::clicked, this, &Menu::OkMotdePasse_Click);
    connect(AnnulerMotdePasse, &QPushButton::clicked, this, &Menu::AnnulerMotdePasse_Click);
    connect(ChangerMotPasse, &QPushButton::clicked, this, &Menu::ChangerMotPasse_Click);
}

bool Menu::Form_Load() {
    Commun::RepertoireInitial = services::installed().files->currentFolder();
    Commun::RepertoireAppli = Commun::RepertoireInitial;
    const QString chemin = joinPath(Commun::RepertoireAppli, QStringLiteral("habilitation.mdb"));
    try {
        Commun::BaseHabilitation = db::OpenDatabase(chemin);
        Commun::RsHabilitation = Commun::BaseHabilitation.OpenRecordset(QStringLiteral("habilitation"), 2);
        const QVariant code = Commun::RsHabilitation.Fields(0);
        if (!code.isNull() && code.toString().isEmpty()) {
            services::installed().messages->MsgBox(QStringLiteral("Aucun Code secret est valide") + QChar(13) +
                                                       QStringLiteral("Créer votre propre code"),
                                                   services::Buttons::OkOnly, app::kAvertissement);
            Commun::RsHabilitation.setAbsolutePosition(0);
        }
        Commun::RsHabilitation.setAbsolutePosition(0);
    } catch (const kelvane::Error& e) {
        afficherErreur(e, chemin);
        Commun::RsHabilitation = {};
        Commun::BaseHabilitation.Close();
        return false;
    }
    Frame4->hide();
    return true;
}

void Menu::Quitter_Click() {
    close();
}

void Menu::Entrainement_Click() {
    if (afficherEssayerTest) {
        afficherEssayerTest();
    }
}

void Menu::Interro_Click() {
    if (afficherEvaluation) {
        afficherEvaluation();
    }
}

void Menu::Resultats_Click() {
    Frame4->show();
    NbEchecs = 0;
    paintButton(OkMotdePasse, false);
}

void Menu::OkMotdePasse_Click() {
    verifierCode();
}

void Menu::AnnulerMotdePasse_Click() {
    Frame4->hide();
}

void Menu::ChangerMotPasse_Click() {
    if (afficherMotPasse) {
        afficherMotPasse();
    }
}

void Menu::Text3_KeyUp(int keyCode) {
    CodeSaisi = Text3->text();
    if (keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter) {
        verifierCode();
        return;
    }
    paintButton(OkMotdePasse, true);
}

bool Menu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text3 && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            Text3_KeyUp(key->key());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Menu::verifierCode() {
    bool valide = false;
    try {
        valide = codeValide(CodeSaisi);
    } catch (const kelvane::Error& e) {
        afficherErreur(e, Commun::BaseHabilitation.path());
        return;
    }
    if (valide) {
        if (afficherVisualisation) {
            afficherVisualisation();
        }
        return;
    }
    refuserCode(NbEchecs, CodeSaisi, {Frame4, Text3, OkMotdePasse}, fermerLogiciel);
}

} // namespace kelvane::app
