#include "widgets/forme.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelvane::widgets {

void Forme::Show1() {
    Form_Load();
    if (centree_) {
        centrer(this);
    }
    setWindowModality(Qt::ApplicationModal);
    exec();
}

void Forme::Unload() {
    done(QDialog::Rejected);
}

void Forme::reject() {}

void centrer(QWidget* fenetre) {
    const QScreen* ecran = fenetre->screen() != nullptr ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (ecran == nullptr) {
        return;
    }
    // The window made first: its frame (title bar, borders) is known from then on, at least on Windows, where a
    // window not yet made would be centred without it and open lower by half a title bar.
    fenetre->winId();
    QRect cadre = fenetre->frameGeometry();
    cadre.moveCenter(ecran->availableGeometry().center());
    fenetre->move(cadre.topLeft());
}

} // namespace kelvane::widgets
