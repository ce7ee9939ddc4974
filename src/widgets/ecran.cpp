#include "widgets/ecran.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kelvane::widgets {

namespace {

// The frame of a window not yet framed by the system (X11 frames a window once shown): the borders and title bar
// of Windows 10 and 11 at 100 %.
const QSize kCadreSuppose(16, 39);

// What the frame adds to the window's size: measured when the system knows it already, else the usual one.
QSize cadre(QWidget* fenetre) {
    // Made first: on Windows its frame is known from then on.
    fenetre->winId();
    const QSize mesure = fenetre->frameGeometry().size() - fenetre->size();
    return mesure.isEmpty() ? mesure.expandedTo(kCadreSuppose) : mesure;
}

} // namespace

QScreen* ecranDe(const QWidget* fenetre) {
    if (QScreen* sous = QGuiApplication::screenAt(fenetre->frameGeometry().center())) {
        return sous;
    }
    return fenetre->screen() != nullptr ? fenetre->screen() : QGuiApplication::primaryScreen();
}

void ouvrirDansLEcran(QWidget* fenetre, const QSize& souhaitee) {
    const QScreen* ecran = fenetre->screen() != nullptr ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (ecran == nullptr) {
        fenetre->resize(souhaitee);
        return;
    }
    const QRect zone = ecran->availableGeometry();
    const QSize bord = cadre(fenetre);
    fenetre->resize(souhaitee.boundedTo(zone.size() - bord).expandedTo(fenetre->minimumSize()));
    QRect place(QPoint(0, 0), fenetre->size() + bord);
    place.moveCenter(zone.center());
    fenetre->move(std::max(place.left(), zone.left()), std::max(place.top(), zone.top()));
}

void ramenerDansLEcran(QWidget* fenetre) {
    if ((fenetre->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0) {
        return;
    }
    const QScreen* ecran = ecranDe(fenetre);
    if (ecran == nullptr) {
        return;
    }
    const QRect zone = ecran->availableGeometry();
    const QSize bord = cadre(fenetre);
    if (!zone.contains(fenetre->frameGeometry())) {
        fenetre->resize(fenetre->size().boundedTo(zone.size() - bord).expandedTo(fenetre->minimumSize()));
        const QSize total = fenetre->size() + bord;
        const QPoint coin = fenetre->frameGeometry().topLeft();
        fenetre->move(std::clamp(coin.x(), zone.left(), std::max(zone.left(), zone.right() + 1 - total.width())),
                      std::clamp(coin.y(), zone.top(), std::max(zone.top(), zone.bottom() + 1 - total.height())));
    }
}

} // namespace kelvane::widgets
