#include "app/motpasse.h"

#include "app/avertissements.h"
#include "app/cadrecode.h"
#include "app/codesecret.h"
#include "app/commun.h"
#include "app/erreurs.h"
#include "platform/services/services.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace kelvane::app {

using namespace kelvane::services;
using namespace kelvane::widgets;

namespace {

bool estEntree(int keyCode) {
    return keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter;
}

QLabel* legende(QWidget* parent, const QString& nom, const QString& texte, int l, int t, int w, int h) {
    QLabel* label = creerLabel(parent, nom, texte, l, t, w, h);
    setPolice(label, 8.25, true);
    setCouleurs(label, QColor(), kBrun);
    return label;
}

QLineEdit* boiteCode(QWidget* parent, const QString& nom, int l, int t, int w, int h) {
    QLineEdit* boite = creerTexte(parent, nom, l, t, w, h);
    boite->setEchoMode(QLineEdit::Password);
    setPolice(boite, 8.25);
    return boite;
}

} // namespace

MotPasse::MotPasse(QWidget* parent) : widgets::Forme(parent) {
    setObjectName(QStringLiteral("MotPasse"));
    setWindowTitle(QStringLiteral("Modification du mot de Passe"));
    setCouleurs(this, kOrangeClair);
    setFixedSize(twipsSize(5670, 2745, this));
    setPolice(this, 8.25);

    Frame4 = creerCadre(this, QStringLiteral("Frame4"), QStringLiteral("Mot de passe"), 720, 720, 4455, 1335,
                        kOrangeClair, kBrun);
    setPolice(Frame4, 8.25, true);
    Text3 = boiteCode(Frame4, QStringLiteral("Text3"), 240, 360, 3975, 375);
    Text3->setAccessibleName(QStringLiteral("Mot de passe actuel"));
    OkMotdePasse = creerBouton(Frame4, QStringLiteral("OkMotdePasse"), QStringLiteral("Ok"), 240, 840, 1095, 375);
    AnnulerMotdePasse =
        creerBouton(Frame4, QStringLiteral("AnnulerMotdePasse"), QStringLiteral("Annuler"), 3000, 840, 1215, 375);

    Frame1 = creerCadre(this, QStringLiteral("Frame1"), {}, 120, 0, 5415, 2655, kOrangeClair, kBrun);
    Label1 =
        legende(Frame1, QStringLiteral("Label1"), QStringLiteral("Entrer votre mot de passe"), 120, 120, 2655, 375);
    Text1 = boiteCode(Frame1, QStringLiteral("Text1"), 120, 480, 5175, 375);
    Label2 =
        legende(Frame1, QStringLiteral("Label2"), QStringLiteral("Confirmer votre mot de passe"), 120, 1080, 2655, 375);
    Text2 = boiteCode(Frame1, QStringLiteral("Text2"), 120, 1560, 5175, 375);
    nommer(Label1, Text1);
    nommer(Label2, Text2);
    Valider = creerBouton(Frame1, QStringLiteral("Valider"), QStringLiteral("Ok"), 360, 2160, 1215, 375);
    Annuler = creerBouton(Frame1, QStringLiteral("Annuler"), QStringLiteral("Annuler"), 3840, 2160, 1095, 375);
    for (QPushButton* b : {OkMotdePasse, AnnulerMotdePasse, Valider, Annuler}) {
        setPolice(b, 8.25);
    }
    paintButton(AnnulerMotdePasse, true);
    paintButton(OkMotdePasse, false);
    paintButton(Valider, false);
    Frame1->hide();

    // Tab order as drawn: the code frame, then the second step from its buttons up to the new code.
    QWidget::setTabOrder(Text3, OkMotdePasse);
    QWidget::setTabOrder(OkMotdePasse, AnnulerMotdePasse);
    QWidget::setTabOrder(AnnulerMotdePasse, Annuler);
    QWidget::setTabOrder(Annuler, Valider);
    QWidget::setTabOrder(Valider, Text2);
    QWidget::setTabOrder(Text2, Text1);

    for (QLineEdit* boite : {Text3, Text1, Text2}) {
        boite->installEventFilter(this);
    }
    connect(OkMotdePasse, &QPushButton::clicked, this, &MotPasse::OkMotdePasse_Click);
    connect(AnnulerMotdePasse, &QPushButton::clicked, this, &MotPasse::AnnulerMotdePasse_Click);
    connect(Valider, &QPushButton::clicked, this, &MotPasse::Valider_Click);
    connect(Annuler, &QPushButton::clicked, this, &MotPasse::Annuler_Click);
}

void MotPasse::Form_Load() {
    paintButton(Valider, false);
    paintButton(OkMotdePasse, false);
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Frame1->hide();
    Frame4->show();
    Text3->setFocus();
    limiterLongueur();
}

void MotPasse::limiterLongueur() {
    int longueur = QLineEdit().maxLength();
    try {
        const db::TableDef table = Commun::BaseHabilitation.TableDefs().Item(QStringLiteral("habilitation"));
        if (table.Fields().Count() > 0) {
            const db::Field& champ = table.Fields()[0];
            if (champ.Type() == db::FieldType::Text && champ.Size() > 0) {
                longueur = champ.Size();
            }
        }
    } catch (const kelvane::Error&) {
        // The field cannot be read back: the boxes take any length, and the engine refuses what does not fit.
    }
    Text1->setMaxLength(longueur);
    Text2->setMaxLength(longueur);
}

void MotPasse::OkMotdePasse_Click() {
    verifierCode();
}

void MotPasse::AnnulerMotdePasse_Click() {
    Unload();
}

void MotPasse::Valider_Click() {
    validerCode();
}

void MotPasse::Annuler_Click() {
    Unload();
}

void MotPasse::Text3_KeyUp(int keyCode) {
    CodeSaisi = Text3->text();
    if (estEntree(keyCode)) {
        verifierCode();
        return;
    }
    paintButton(OkMotdePasse, true);
}

void MotPasse::Text1_KeyUp(int /*keyCode*/) {
    CodeSaisi = Text1->text();
}

void MotPasse::Text2_KeyUp(int keyCode) {
    CodeConfirme = Text2->text();
    if (estEntree(keyCode)) {
        validerCode();
        return;
    }
    paintButton(Valider, true);
}

bool MotPasse::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (watched == Text3) {
                Text3_KeyUp(key->key());
            } else if (watched == Text1) {
                Text1_KeyUp(key->key());
            } else if (watched == Text2) {
                Text2_KeyUp(key->key());
            }
        }
    }
    return widgets::Forme::eventFilter(watched, event);
}

void MotPasse::closeEvent(QCloseEvent* event) {
    event->accept();
}

void MotPasse::verifierCode() {
    bool valide = false;
    try {
        valide = codeValide(CodeSaisi);
    } catch (const kelvane::Error& e) {
        afficherErreur(e, Commun::BaseHabilitation.path());
        return;
    }
    if (valide) {
        CodeSaisi.clear();
        CodeConfirme.clear();
        Frame1->show();
        Frame4->hide();
        Text1->setFocus();
        return;
    }
    refuserCode(NbEchecs, CodeSaisi, {Frame4, Text3, OkMotdePasse}, fermerLogiciel);
}

void MotPasse::validerCode() {
    if (CodeConfirme.toUpper() == CodeSaisi.toUpper()) {
        db::Recordset& rs = Commun::RsHabilitation;
        try {
            rs.setAbsolutePosition(0);
            rs.Edit();
            try {
                rs.SetField(0, CodeConfirme.toUpper());
                rs.Update();
            } catch (...) {
                try {
                    rs.CancelUpdate();
                } catch (const kelvane::Error&) {
                    // The first failure is the one to show.
                }
                throw;
            }
        } catch (const kelvane::Error& e) {
            // Nothing was stored: the old code stays, and the new one can be confirmed again or the form left.
            afficherErreur(e, Commun::BaseHabilitation.path());
            return;
        }
        Unload();
        return;
    }
    services::installed().messages->MsgBox(
        QStringLiteral("Une erreur c'est produite lors de la confirmation, recommencez l'opération"),
        services::Buttons::OkOnly, app::kAvertissement);
    CodeConfirme.clear();
    CodeSaisi.clear();
    Text1->clear();
    Text2->clear();
    paintButton(Valider, false);
    Text1->setFocus();
}

} // namespace kelvane::app
