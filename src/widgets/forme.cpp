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
    QRect cadre = fenetre->frameGeometry();
    cadre.moveCenter(ecran->availableGeometry().center());
    fenetre->move(cadre.topLeft());
}

} // namespace kelvane::widgets
