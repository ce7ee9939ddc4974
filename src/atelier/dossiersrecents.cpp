#include "atelier/dossiersrecents.h"

#include <QDir>
#include <QMenu>
#include <QSettings>

namespace kelvane::atelier {

namespace {

constexpr int kRecents = 8;
const QString kCleRecents = QStringLiteral("dossiers/recents");

QStringList recents() {
    return QSettings().value(kCleRecents).toStringList();
}

} // namespace

DossiersRecents::DossiersRecents(QMenu* menu, QObject* parent) : QObject(parent), menu_(menu) {
    majMenu();
}

void DossiersRecents::retenir(const QString& dossier) {
    QStringList liste = recents();
    liste.removeAll(dossier);
    liste.prepend(dossier);
    while (liste.size() > kRecents) {
        liste.removeLast();
    }
    QSettings().setValue(kCleRecents, liste);
    majMenu();
}

QString DossiersRecents::dernier() const {
    const QStringList liste = recents();
    return liste.isEmpty() ? QString() : liste.first();
}

void DossiersRecents::majMenu() {
    menu_->clear();
    const QStringList liste = recents();
    for (int i = 0; i < liste.size(); ++i) {
        const QString dossier = liste.at(i);
        QAction* a = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators(dossier).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        connect(a, &QAction::triggered, this, [this, dossier] { emit dossierDemande(dossier); });
    }
    menu_->setEnabled(!liste.isEmpty());
}

} // namespace kelvane::atelier
