#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace kelvane::edition {

class TestEdite;

// The questions of the test under edit as a table, one row per question in stored order: number, chapter,
// levels, kind and text. It follows every change of the test.
class ModeleQuestions : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Colonne { Numero, Chapitre, Niveaux, Genre, Texte, NbColonnes };

    explicit ModeleQuestions(TestEdite& test, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const TestEdite& test() const { return test_; }

private:
    TestEdite& test_;
};

// The rows of one chapter and one level, or all of them, in the table's order (TestEdite::ordre): by number, then
// by stored place, whatever the order the file stores them in.
class FiltreQuestions : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit FiltreQuestions(ModeleQuestions& modele, QObject* parent = nullptr);

    void setChapitre(int numero); // 0: every chapter
    void setNiveau(int niveau);   // 0 (B0) to 4 (BC); -1: every level

protected:
    bool filterAcceptsRow(int ligne, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& gauche, const QModelIndex& droite) const override;

private:
    ModeleQuestions& modele_;
    int chapitre_ = 0;
    int niveau_ = -1;
};

} // namespace kelvane::edition
