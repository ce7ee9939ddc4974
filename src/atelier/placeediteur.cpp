#include "atelier/placeediteur.h"

#include "editeur/editeurtest.h"

#include <QFileInfo>
#include <QLabel>
#include <QStackedWidget>
#include <QUndoGroup>

namespace kelvane::atelier {

namespace {

bool memeFichier(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

PlaceEditeur::PlaceEditeur(services::Services& services, QUndoGroup& annulations, QWidget* parent)
    : QScrollArea(parent), services_(services), annulations_(annulations) {
    setObjectName(QStringLiteral("defilementEditeur"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    pile_ = new QStackedWidget;
    pile_->setObjectName(QStringLiteral("droite"));
    auto* accueil = new QLabel(QStringLiteral("Choisissez un test dans la liste pour le modifier,\nou créez-en un : "
                                              "Fichier, Nouveau test (Ctrl+N)."),
                               pile_);
    accueil->setObjectName(QStringLiteral("accueil"));
    accueil->setAlignment(Qt::AlignCenter);
    accueil->setEnabled(false);
    accueil_ = accueil;
    pile_->addWidget(accueil_);
    setWidget(pile_);
}

bool PlaceEditeur::montre(const QString& chemin) const {
    return editeur_ != nullptr && memeFichier(editeur_->chemin(), chemin);
}

bool PlaceEditeur::estModifieSur(const QString& chemin) const {
    return montre(chemin) && editeur_->estModifie();
}

bool PlaceEditeur::ouvrir(const QString& chemin) {
    auto* editeur = new editeur::EditeurTest(services_, pile_);
    if (!editeur->ouvrir(chemin)) {
        delete editeur;
        return false;
    }
    installer(editeur);
    return true;
}

void PlaceEditeur::nouveau(const QString& chemin) {
    auto* editeur = new editeur::EditeurTest(services_, pile_);
    editeur->nouveau(chemin);
    installer(editeur);
}

void PlaceEditeur::installer(editeur::EditeurTest* editeur) {
    editeur_ = editeur;
    pile_->addWidget(editeur_);
    pile_->setCurrentWidget(editeur_);
    setWidgetResizable(true); // takes the new editor's smallest size into account
    annulations_.addStack(editeur_->pileAnnulation());
    annulations_.setActiveStack(editeur_->pileAnnulation());
    connect(editeur_, &editeur::EditeurTest::modificationChangee, this, &PlaceEditeur::modificationChangee);
    connect(editeur_, &editeur::EditeurTest::enregistre, this, &PlaceEditeur::enregistre);
    emit editeurChange();
}

bool PlaceEditeur::fermer() {
    if (editeur_ == nullptr) {
        return true;
    }
    if (!editeur_->fermer()) {
        return false;
    }
    oublier();
    return true;
}

void PlaceEditeur::oublier() {
    if (editeur_ == nullptr) {
        return;
    }
    const bool nouveau = !QFileInfo::exists(editeur_->chemin());
    annulations_.removeStack(editeur_->pileAnnulation());
    pile_->removeWidget(editeur_);
    editeur_->hide();
    editeur_->deleteLater();
    editeur_ = nullptr;
    pile_->setCurrentWidget(accueil_);
    if (nouveau) {
        emit nouveauOublie();
    }
    emit editeurChange();
}

} // namespace kelvane::atelier
