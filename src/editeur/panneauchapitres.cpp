#include "editeur/panneauchapitres.h"

#include "editeur/titres.h"
#include "edition/testedite.h"
#include "platform/services/messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvane::editeur {

PanneauChapitres::PanneauChapitres(edition::TestEdite& test, services::MessageService& messages, QWidget* parent)
    : QGroupBox(QStringLiteral("Cha&pitres"), parent), test_(test), messages_(messages) {
    setObjectName(QStringLiteral("chapitres"));
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("tableChapitres"));
    table_->setAccessibleName(QStringLiteral("Chapitres du test : numéro et nom"));
    table_->setHorizontalHeaderLabels({QStringLiteral("N°"), QStringLiteral("Nom")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    // Four chapters in sight: a test seldom has more.
    table_->setFixedHeight(table_->horizontalHeader()->sizeHint().height() + 4 * (table_->fontMetrics().height() + 8) +
                           2 * table_->frameWidth());
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);

    ajouter_ = new QPushButton(QStringLiteral("Nouveau chap&itre"), this);
    ajouter_->setObjectName(QStringLiteral("ajouterChapitre"));
    retirer_ = new QPushButton(QStringLiteral("Retirer le chapitr&e"), this);
    retirer_->setObjectName(QStringLiteral("retirerChapitre"));

    auto* boutons = new QHBoxLayout;
    boutons->addWidget(ajouter_);
    boutons->addWidget(retirer_);
    boutons->addStretch();
    auto* colonne = new QVBoxLayout(this);
    colonne->addWidget(table_);
    colonne->addLayout(boutons);

    connect(table_, &QTableWidget::itemChanged, this, &PanneauChapitres::cellule);
    connect(ajouter_, &QPushButton::clicked, this, &PanneauChapitres::ajouter);
    connect(retirer_, &QPushButton::clicked, this, &PanneauChapitres::retirer);
    connect(&test_, &edition::TestEdite::chapitresChanges, this, &PanneauChapitres::actualiser);
    actualiser();
}

void PanneauChapitres::actualiser() {
    actualisation_ = true;
    const int ligne = table_->currentRow();
    const auto& chapitres = test_.test().chapitres;
    table_->setRowCount(static_cast<int>(chapitres.size()));
    // Items are kept and their texts set: the one being edited may be the one that brought this change.
    auto poser = [this](int i, int colonne, const QString& texte) {
        if (QTableWidgetItem* item = table_->item(i, colonne)) {
            if (item->text() != texte) {
                item->setText(texte);
            }
            return;
        }
        auto* item = new QTableWidgetItem(texte);
        if (colonne == 0) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        table_->setItem(i, colonne, item);
    };
    for (int i = 0; i < table_->rowCount(); ++i) {
        const auto& c = chapitres[static_cast<std::size_t>(i)];
        poser(i, 0, c.numero.toString());
        poser(i, 1, c.nom.toString());
    }
    if (ligne >= 0 && ligne < table_->rowCount()) {
        table_->setCurrentCell(ligne, table_->currentColumn() < 0 ? 1 : table_->currentColumn());
    }
    retirer_->setEnabled(table_->rowCount() > 0);
    actualisation_ = false;
}

void PanneauChapitres::prendreFocus() {
    table_->setFocus(Qt::OtherFocusReason);
}

void PanneauChapitres::cellule(QTableWidgetItem* item) {
    if (actualisation_) {
        return;
    }
    const int ligne = item->row();
    if (item->column() == 1) {
        test_.renommerChapitre(ligne, item->text());
        return;
    }
    bool ok = false;
    const int numero = item->text().trimmed().toInt(&ok);
    const auto refus = ok ? test_.renumeroterChapitre(ligne, numero)
                          : std::optional<QString>(QStringLiteral("Le numéro d'un chapitre est un nombre entier."));
    if (refus) {
        messages_.MsgBox(*refus, services::Buttons::OkOnly, kTitreEditeur);
        actualiser();
    }
}

void PanneauChapitres::ajouter() {
    const int ligne = test_.ajouterChapitre();
    table_->setCurrentCell(ligne, 1);
    table_->setFocus(Qt::OtherFocusReason);
    table_->editItem(table_->item(ligne, 1));
}

void PanneauChapitres::retirer() {
    const int ligne = table_->currentRow();
    if (ligne < 0) {
        messages_.MsgBox(QStringLiteral("Choisissez d'abord le chapitre à retirer."), services::Buttons::OkOnly,
                         kTitreEditeur);
        return;
    }
    if (const auto refus = test_.supprimerChapitre(ligne)) {
        messages_.MsgBox(*refus, services::Buttons::OkOnly, kTitreEditeur);
    }
}

} // namespace kelvane::editeur
