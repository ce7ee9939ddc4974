#include "editeur/choiximage.h"

#include "widgets/lectureimage.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QToolButton>

namespace kelvane::editeur {

namespace {

// The one local file a drop carries, or the empty text.
QString fichierDepose(const QMimeData* donnees) {
    const QList<QUrl> adresses = donnees->urls();
    return adresses.size() == 1 && adresses.front().isLocalFile() ? adresses.front().toLocalFile() : QString();
}

} // namespace

ChoixImage::ChoixImage(const QString& nom, const QString& quoi, QWidget* parent)
    : QWidget(parent), choix_(new QToolButton(this)), retrait_(new QToolButton(this)), quoi_(quoi) {
    choix_->setObjectName(QStringLiteral("choixImage") + nom);
    choix_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    choix_->setIconSize(QSize(32, 24));
    retrait_->setObjectName(QStringLiteral("retirerImage") + nom);
    retrait_->setText(QStringLiteral("×"));
    retrait_->setToolTip(QStringLiteral("Retirer l'image"));
    retrait_->setAccessibleName(QStringLiteral("Retirer l'image %1").arg(quoi));
    auto* ligne = new QHBoxLayout(this);
    ligne->setContentsMargins(0, 0, 0, 0);
    ligne->setSpacing(2);
    ligne->addWidget(choix_);
    ligne->addWidget(retrait_);
    setAcceptDrops(true);
    connect(choix_, &QToolButton::clicked, this, &ChoixImage::choisir);
    connect(retrait_, &QToolButton::clicked, this, &ChoixImage::retirer);
    montrer(std::nullopt);
}

void ChoixImage::montrer(const std::optional<data::Image>& image) {
    retrait_->setVisible(image.has_value());
    if (!image) {
        octets_.clear();
        choix_->setIcon({});
        choix_->setText(QStringLiteral("Image…"));
        choix_->setToolTip(QStringLiteral("Choisir une image PNG ou JPEG (ou en déposer une ici)"));
        choix_->setAccessibleName(QStringLiteral("Ajouter une image %1").arg(quoi_));
        return;
    }
    choix_->setToolTip(QStringLiteral("%1 : cliquer pour la remplacer").arg(image->nom));
    choix_->setAccessibleName(QStringLiteral("Remplacer l'image %1, %2").arg(quoi_, image->nom));
    if (image->octets == octets_ && !octets_.isEmpty()) {
        return;
    }
    octets_ = image->octets;
    const widgets::ImageLue lue = widgets::lireImage(octets_);
    if (lue.ok()) {
        choix_->setIcon(QPixmap::fromImage(
            lue.image.scaled(choix_->iconSize() * devicePixelRatioF(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        choix_->setText(QString());
    } else {
        choix_->setIcon({});
        choix_->setText(widgets::kImageIllisible);
    }
}

QWidget* ChoixImage::ordonnerApres(QWidget* precedent) {
    setTabOrder(precedent, choix_);
    setTabOrder(choix_, retrait_);
    return retrait_;
}

void ChoixImage::dragEnterEvent(QDragEnterEvent* event) {
    if (isEnabled() && !fichierDepose(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void ChoixImage::dropEvent(QDropEvent* event) {
    const QString chemin = fichierDepose(event->mimeData());
    if (!chemin.isEmpty()) {
        event->acceptProposedAction();
        emit deposer(chemin);
    }
}

} // namespace kelvane::editeur
