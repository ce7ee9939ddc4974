#include "widgets/listes.h"

#include <QCollator>
#include <QKeyEvent>
#include <QListWidget>
#include <algorithm>

namespace kelvane::widgets {

namespace {
// A list entered with Tab has a current line that is not chosen (and may be its only line): the first arrow key
// chooses that line rather than moving past it.
class PremiereFleche final : public QObject {
public:
    explicit PremiereFleche(QListWidget* liste) : QObject(liste), liste_(liste) { liste->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != liste_ || event->type() != QEvent::KeyPress) {
            return false;
        }
        const int touche = static_cast<QKeyEvent*>(event)->key();
        if ((touche != Qt::Key_Down && touche != Qt::Key_Up) || !liste_->selectedItems().isEmpty() ||
            liste_->currentItem() == nullptr) {
            return false;
        }
        liste_->currentItem()->setSelected(true);
        return true;
    }

private:
    QListWidget* liste_;
};
} // namespace

void suivreChoix(QListWidget* liste, const std::function<void(int)>& choix) {
    new PremiereFleche(liste);
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
