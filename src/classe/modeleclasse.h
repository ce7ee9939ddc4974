#pragma once

#include "bilan/bilan.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QSortFilterProxyModel>
#include <vector>

namespace kelvane::classe {

// The class's lines, one per results file: the candidate, the test, the mode, the date, the counts, the share and
// the verdict, then the share per level and per chapter of one test. Display texts cut the shares as the results
// screen does; the sort role gives numbers as numbers, dates as dates.
class ModeleClasse : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RoleTri = Qt::UserRole + 1;
    enum Colonne { Nom, Prenom, Classe, Test, Mode, Date, Bonnes, Repondues, Questions, Pourcentage, Verdict, B0 };
    static constexpr int NbColonnesFixes = B0 + bilan::NbNiveaux;

    explicit ModeleClasse(QObject* parent = nullptr);

    // The lines of that class (which must outlive the model, or be replaced before it goes); none for nullptr.
    void charger(const bilan::Classe* classe);
    // The chapters of that test as the last columns; none for the empty text.
    void montrerChapitres(const QString& test);

    const bilan::Classe* classe() const { return classe_; }
    const bilan::Passage& passage(int ligne) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant valeur(const bilan::Passage& p, int colonne, bool pourTri) const;

    const bilan::Classe* classe_ = nullptr;
    QString testChapitres_;
    std::vector<bilan::PourcentageChapitre> chapitres_;
};

// The lines that the filter lets through (the class's own rules, the latest-only switch included), sorted on any
// column: texts in French order, numbers and dates by value, a missing share below every other.
class FiltreClasse : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit FiltreClasse(ModeleClasse* source, QObject* parent = nullptr);

    void appliquer(const bilan::Filtre& filtre);
    const bilan::Filtre& filtre() const { return filtre_; }
    // The lines shown, in the order shown.
    bilan::Selection selection() const;

protected:
    bool filterAcceptsRow(int ligne, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& gauche, const QModelIndex& droite) const override;

private:
    void recalculer();

    ModeleClasse* source_;
    bilan::Filtre filtre_;
    std::vector<bool> acceptees_;
    QCollator collation_;
};

// A share as the results screen writes it: its whole part, then " %"; "—" when there is none.
QString texteCoupe(const std::optional<double>& pourcentage);

} // namespace kelvane::classe
