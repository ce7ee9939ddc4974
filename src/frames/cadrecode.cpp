#include "frames/cadrecode.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/parametres.h"
#include "widgets/clavier.h"
#include "widgets/colours.h"
#include "widgets/controls.h"

#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace kelvane::frames {

using namespace kelvane::widgets;

CadreCode::Disposition CadreCode::dispositionMenu() {
    return {QRect(1800, 0, 4455, 1335), QRect(240, 840, 855, 375), QRect(1200, 840, 975, 375), true,
            QStringLiteral("Mot de passe")};
}

CadreCode::Disposition CadreCode::dispositionMotPasse() {
    return {QRect(720, 720, 4455, 1335), QRect(240, 840, 1095, 375), QRect(3000, 840, 1215, 375), false,
            QStringLiteral("Mot de passe actuel")};
}

CadreCode::CadreCode(QWidget* parent, const Disposition& d, data::FichierParametres& parametres,
                     services::MessageService& messages)
    : QGroupBox(QStringLiteral("Mot de passe"), parent), parametres_(parametres), messages_(messages) {
    setObjectName(QStringLiteral("Frame4"));
    placer(this, d.cadre.x(), d.cadre.y(), d.cadre.width(), d.cadre.height());
    styliserCadre(this, kOrangeClair, kBrun);
    setPolice(this, 8.25, true);
    Text3 = creerTexte(this, QStringLiteral("Text3"), 240, 360, 3975, 375);
    setBoiteCode(Text3);
    Text3->setAccessibleName(d.nomBoite);
    OkMotdePasse = creerBouton(this, QStringLiteral("OkMotdePasse"), QStringLiteral("Ok"), d.ok.x(), d.ok.y(),
                               d.ok.width(), d.ok.height());
    AnnulerMotdePasse = creerBouton(this, QStringLiteral("AnnulerMotdePasse"), QStringLiteral("Annuler"), d.annuler.x(),
                                    d.annuler.y(), d.annuler.width(), d.annuler.height());
    if (d.changer) {
        ChangerMotPasse = creerBouton(this, QStringLiteral("ChangerMotPasse"),
                                      QStringLiteral("Changer le mot de passe"), 2280, 840, 1935, 375);
    }
    for (QWidget* w : {static_cast<QWidget*>(Text3), static_cast<QWidget*>(OkMotdePasse),
                       static_cast<QWidget*>(AnnulerMotdePasse), static_cast<QWidget*>(ChangerMotPasse)}) {
        if (w != nullptr) {
            setPolice(w, 8.25);
        }
    }
    paintButton(AnnulerMotdePasse, true);
    paintButton(OkMotdePasse, false);
    // The box first, then its buttons.
    QWidget::setTabOrder(Text3, OkMotdePasse);
    QWidget::setTabOrder(OkMotdePasse, AnnulerMotdePasse);
    if (ChangerMotPasse != nullptr) {
        QWidget::setTabOrder(AnnulerMotdePasse, ChangerMotPasse);
    }

    connect(new Clavier(Text3), &Clavier::relachee, this, [this](int touche) {
        codeSaisi_ = Text3->text();
        if (touche == Qt::Key_Return || touche == Qt::Key_Enter) {
            verifier();
            return;
        }
        paintButton(OkMotdePasse, true);
    });
    connect(OkMotdePasse, &QPushButton::clicked, this, &CadreCode::verifier);
    connect(AnnulerMotdePasse, &QPushButton::clicked, this, [this] {
        hide();
        emit annule();
    });
    if (ChangerMotPasse != nullptr) {
        connect(ChangerMotPasse, &QPushButton::clicked, this, &CadreCode::changer);
    }
}

void CadreCode::ouvrir(bool recompter, bool vider) {
    show();
    if (recompter) {
        nbEchecs_ = 0;
    }
    paintButton(OkMotdePasse, false);
    if (vider) {
        Text3->clear();
        codeSaisi_.clear();
    }
    Text3->setFocus();
}

void CadreCode::verifier() {
    bool valide = false;
    try {
        valide = data::codeValide(codeSaisi_, parametres_.code());
    } catch (const Error& e) {
        avertissements::afficherErreur(messages_, e, parametres_.chemin());
        return;
    }
    if (valide) {
        codeSaisi_.clear();
        emit accepte();
        return;
    }
    refuser();
}

void CadreCode::refuser() {
    if (nbEchecs_ < std::numeric_limits<std::int16_t>::max()) {
        nbEchecs_ = static_cast<std::int16_t>(nbEchecs_ + 1);
    }
    if (nbEchecs_ == 3) {
        avertissements::avertir(messages_,
                                QStringLiteral("Le code est faux pour la troisième fois. Le logiciel va être fermé"));
        hide();
        codeSaisi_.clear();
        Text3->clear();
        // The message announces the end of the program, and nothing is open at this point: keep its word.
        emit fermerLogiciel();
        return;
    }
    avertissements::avertir(messages_, QStringLiteral("Le code est érroné. Recommencer"));
    paintButton(OkMotdePasse, false);
    Text3->clear();
    codeSaisi_.clear();
    Text3->setFocus();
}

} // namespace kelvane::frames
