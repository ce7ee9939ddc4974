#include "widgets/listes.h"

#include <QCollator>
#include <QListWidget>
#include <algorithm>

namespace kelvane::widgets {

void suivreChoix(QListWidget* liste, const std::function<void(int)>& choix) {
    QObject::connect(liste, &QListWidget::itemClicked, liste,
                     [liste, choix](QListWidgetItem* item) { choix(liste->row(item)); });
    QObject::connect(liste, &QListWidget::itemSelectionChanged, liste, [liste, choix] {
        const QList<QListWidgetItem*> choisis = liste->selectedItems();
        if (!choisis.isEmpty()) {
            choix(liste->row(choisis.first()));
        }
    });
}

void trierNoms(QStringList& noms) {
    QCollator ordre(QLocale(QLocale::French, QLocale::France));
    ordre.setCaseSensitivity(Qt::CaseInsensitive);
    ordre.setNumericMode(true);
    std::stable_sort(noms.begin(), noms.end(),
                     [&ordre](const QString& a, const QString& b) { return ordre.compare(a, b) < 0; });
}

} // namespace kelvane::widgets
