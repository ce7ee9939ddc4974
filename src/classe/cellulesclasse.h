#pragma once

#include <QString>
#include <QTableWidgetItem>
#include <optional>

namespace kelvane::classe {

// The cells of the class's tables: read-only, sorted by the value they show (numbers as numbers, a missing share
// below every other), shares cut as the results screen cuts them.
QTableWidgetItem* celluleTexte(const QString& texte);
QTableWidgetItem* celluleNombre(int nombre);
QTableWidgetItem* cellulePart(const std::optional<double>& pourcentage);
// A share's cell tinted from red (0 %) through yellow to green (100 %), to be read at a glance.
QTableWidgetItem* cellulePartTeintee(const std::optional<double>& pourcentage);

} // namespace kelvane::classe
