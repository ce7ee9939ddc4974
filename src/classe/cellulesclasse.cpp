#include "classe/cellulesclasse.h"

#include "classe/modeleclasse.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace kelvane::classe {

namespace {

constexpr int RoleValeur = Qt::UserRole + 1;

// Sorted by its value when it has one; a cell without a value sorts below every other.
class Cellule : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& autre) const override {
        const QVariant a = data(RoleValeur);
        const QVariant b = autre.data(RoleValeur);
        if (a.isValid() || b.isValid()) {
            return !a.isValid() || (b.isValid() && a.toDouble() < b.toDouble());
        }
        return QTableWidgetItem::operator<(autre);
    }
};

QTableWidgetItem* nouvelle(const QString& texte, Qt::Alignment alignement) {
    auto* cellule = new Cellule(texte);
    cellule->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    cellule->setTextAlignment(alignement | Qt::AlignVCenter);
    return cellule;
}

} // namespace

QTableWidgetItem* celluleTexte(const QString& texte) {
    QTableWidgetItem* cellule = nouvelle(texte, Qt::AlignLeft);
    cellule->setToolTip(texte);
    return cellule;
}

QTableWidgetItem* celluleNombre(int nombre) {
    QTableWidgetItem* cellule = nouvelle(QString::number(nombre), Qt::AlignRight);
    cellule->setData(RoleValeur, nombre);
    return cellule;
}

QTableWidgetItem* cellulePart(const std::optional<double>& pourcentage) {
    QTableWidgetItem* cellule = nouvelle(texteCoupe(pourcentage), Qt::AlignRight);
    if (pourcentage) {
        cellule->setData(RoleValeur, *pourcentage);
    }
    return cellule;
}

QTableWidgetItem* cellulePartTeintee(const std::optional<double>& pourcentage) {
    QTableWidgetItem* cellule = cellulePart(pourcentage);
    cellule->setTextAlignment(Qt::AlignCenter);
    if (pourcentage) {
        // Hue 0 (red) to 120 (green), pale enough for black text.
        const int teinte = static_cast<int>(std::clamp(*pourcentage, 0.0, 100.0) * 1.2);
        cellule->setBackground(QBrush(QColor::fromHsv(teinte, 70, 250)));
    }
    return cellule;
}

} // namespace kelvane::classe
