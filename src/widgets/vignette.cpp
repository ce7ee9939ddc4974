#include "widgets/vignette.h"

#include "widgets/lectureimage.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvane::widgets {

Vignette::Vignette(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(1, 1);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    hide();
}

void Vignette::montrer(const QByteArray& octets, const QString& titre) {
    if (octets.isEmpty()) {
        octets_.clear();
        image_ = QImage();
        clear();
        hide();
        return;
    }
    if (octets != octets_) {
        octets_ = octets;
        image_ = lireImage(octets).image;
    }
    titre_ = titre;
    setCursor(image_.isNull() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    setToolTip(image_.isNull() ? QString() : QStringLiteral("Cliquer pour agrandir"));
    setAccessibleName(image_.isNull() ? kImageIllisible : QStringLiteral("Image : %1").arg(titre));
    ajuster();
    show();
}

void Vignette::ajuster() {
    if (image_.isNull()) {
        setPixmap({});
        setText(kImageIllisible);
        return;
    }
    const QSize cadre = contentsRect().size();
    if (cadre.isEmpty()) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize place = cadre * ratio;
    const bool tient = image_.width() <= place.width() && image_.height() <= place.height();
    const QImage reduite = tient ? image_ : image_.scaled(place, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(reduite);
    pixmap.setDevicePixelRatio(ratio);
    setPixmap(pixmap);
}

void Vignette::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ajuster();
}

void Vignette::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        agrandir();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void Vignette::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        agrandir();
        return;
    }
    QLabel::keyPressEvent(event);
}

void Vignette::agrandir() {
    if (image_.isNull()) {
        return;
    }
    QDialog fenetre(window());
    fenetre.setObjectName(QStringLiteral("agrandissementImage"));
    fenetre.setWindowTitle(titre_);
    auto* disposition = new QVBoxLayout(&fenetre);
    auto* grande = new QLabel(&fenetre);
    grande->setObjectName(QStringLiteral("imageAgrandie"));
    grande->setAlignment(Qt::AlignCenter);
    // As large as the screen allows, never beyond the picture's own size.
    const QScreen* ecran = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QSize place = ecran != nullptr ? ecran->availableGeometry().size() * 9 / 10 : QSize(800, 600);
    const QImage montree = image_.width() > place.width() || image_.height() > place.height()
                               ? image_.scaled(place, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                               : image_;
    grande->setPixmap(QPixmap::fromImage(montree));
    disposition->addWidget(grande);
    fenetre.exec();
}

} // namespace kelvane::widgets
