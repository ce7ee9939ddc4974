#include "forms/motpasse.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/parametres.h"
#include "frames/cadrecode.h"
#include "widgets/clavier.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane::forms {

using namespace kelvane::widgets;

namespace {

bool estEntree(int touche) {
    return touche == Qt::Key_Return || touche == Qt::Key_Enter;
}

QLabel* legende(QWidget* parent, const QString& nom, const QString& texte, int l, int t, int w, int h) {
    QLabel* label = creerLabel(parent, nom, texte, l, t, w, h);
    setPolice(label, 8.25, true);
    setCouleurs(label, QColor(), kBrun);
    return label;
}

QLineEdit* boiteCode(QWidget* parent, const QString& nom, int l, int t, int w, int h) {
    QLineEdit* boite = creerTexte(parent, nom, l, t, w, h);
    setBoiteCode(boite);
    setPolice(boite, 8.25);
    return boite;
}

} // namespace

MotPasse::MotPasse(data::FichierParametres& parametres, services::MessageService& messages, QWidget* parent)
    : widgets::Forme(parent), parametres_(parametres), messages_(messages) {
    setObjectName(QStringLiteral("MotPasse"));
    setWindowTitle(QStringLiteral("Modification du mot de Passe"));
    setCouleurs(this, kOrangeClair);
    setFixedSize(twipsSize(5670, 2745, this));
    setPolice(this, 8.25);
    setCentree(true);

    Frame4 = new frames::CadreCode(this, frames::CadreCode::dispositionMotPasse(), parametres, messages);

    Frame1 = creerCadre(this, QStringLiteral("Frame1"), {}, 120, 0, 5415, 2655, kOrangeClair, kBrun);
    QLabel* label1 =
        legende(Frame1, QStringLiteral("Label1"), QStringLiteral("Entrer votre mot de passe"), 120, 120, 2655, 375);
    Text1 = boiteCode(Frame1, QStringLiteral("Text1"), 120, 480, 5175, 375);
    QLabel* label2 =
        legende(Frame1, QStringLiteral("Label2"), QStringLiteral("Confirmer votre mot de passe"), 120, 1080, 2655, 375);
    Text2 = boiteCode(Frame1, QStringLiteral("Text2"), 120, 1560, 5175, 375);
    nommer(label1, Text1);
    nommer(label2, Text2);
    Valider = creerBouton(Frame1, QStringLiteral("Valider"), QStringLiteral("Ok"), 360, 2160, 1215, 375);
    Annuler = creerBouton(Frame1, QStringLiteral("Annuler"), QStringLiteral("Annuler"), 3840, 2160, 1095, 375);
    for (QPushButton* b : {Valider, Annuler}) {
        setPolice(b, 8.25);
    }
    paintButton(Valider, false);
    Frame1->hide();

    // Tab order as drawn: the second step from its buttons up to the new code.
    QWidget::setTabOrder(Annuler, Valider);
    QWidget::setTabOrder(Valider, Text2);
    QWidget::setTabOrder(Text2, Text1);

    connect(Frame4, &frames::CadreCode::accepte, this, [this] {
        codeSaisi_.clear();
        codeConfirme_.clear();
        Frame1->show();
        Frame4->hide();
        Text1->setFocus();
    });
    connect(Frame4, &frames::CadreCode::annule, this, &MotPasse::Unload);
    connect(Frame4, &frames::CadreCode::fermerLogiciel, this, [this] {
        Unload();
        emit fermerLogiciel();
    });
    connect(new Clavier(Text1), &Clavier::relachee, this, [this] { codeSaisi_ = Text1->text(); });
    connect(new Clavier(Text2), &Clavier::relachee, this, [this](int touche) {
        codeConfirme_ = Text2->text();
        if (estEntree(touche)) {
            validerCode();
            return;
        }
        paintButton(Valider, true);
    });
    connect(Valider, &QPushButton::clicked, this, &MotPasse::validerCode);
    connect(Annuler, &QPushButton::clicked, this, &MotPasse::Unload);
}

void MotPasse::Form_Load() {
    paintButton(Valider, false);
    Text1->clear();
    Text2->clear();
    Frame1->hide();
    // The count of wrong codes runs for the whole run of the program: the third-time message comes once at most.
    Frame4->ouvrir(false, true);
    // The new code cannot be longer than the settings field that keeps it.
    const int longueur = parametres_.longueurCode();
    for (QLineEdit* boite : {Text1, Text2}) {
        boite->setMaxLength(longueur > 0 ? longueur : QLineEdit().maxLength());
    }
}

void MotPasse::closeEvent(QCloseEvent* event) {
    event->accept();
}

void MotPasse::validerCode() {
    if (codeConfirme_.toUpper() == codeSaisi_.toUpper()) {
        try {
            parametres_.enregistrerCode(codeConfirme_);
        } catch (const Error& e) {
            // Nothing was stored: the old code stays, and the new one can be confirmed again or the form left.
            avertissements::afficherErreur(messages_, e, parametres_.chemin());
            return;
        }
        Unload();
        return;
    }
    avertissements::avertir(
        messages_, QStringLiteral("Une erreur c'est produite lors de la confirmation, recommencez l'opération"));
    codeConfirme_.clear();
    codeSaisi_.clear();
    Text1->clear();
    Text2->clear();
    paintButton(Valider, false);
    Text1->setFocus();
}

} // namespace kelvane::forms
