#pragma once

#include "bilan/bilan.h"

#include <QWidget>

class QChartView;
class QLabel;
class QTableWidget;
class QTreeWidget;

namespace kelvane::classe {

// The candidates' tab under the class's table: the spread of the shares of the test shown, with its pass mark.
class PanneauRepartition : public QWidget {
    Q_OBJECT
public:
    explicit PanneauRepartition(QWidget* parent = nullptr);
    void montrer(const QString& test, const bilan::Selection& selection);

private:
    QChartView* graphique_;
};

// One test's questions over the lines shown, hardest first: number, chapter, levels, wording, candidates, answers,
// right answers, share, and for a question to tick how often each answer was ticked (the right ones marked ✓); then
// the questions' shares as bars.
class PanneauQuestionsClasse : public QWidget {
    Q_OBJECT
public:
    explicit PanneauQuestionsClasse(QWidget* parent = nullptr);
    void montrer(const bilan::Classe& classe, const QString& test, const bilan::Selection& selection);

private:
    QLabel* titre_;
    QTableWidget* table_;
    QChartView* graphique_;
};

// One test's levels × chapters over the lines shown: the class's share in each cell, each chapter's and each level's
// share in the margins.
class PanneauNiveauxClasse : public QWidget {
    Q_OBJECT
public:
    explicit PanneauNiveauxClasse(QWidget* parent = nullptr);
    void montrer(const bilan::Classe& classe, const QString& test, const bilan::Selection& selection);

private:
    QLabel* titre_;
    QTableWidget* grille_;
};

// The files left aside: a session holds them (en cours), or they are damaged, with the reason.
class PanneauIgnores : public QWidget {
    Q_OBJECT
public:
    explicit PanneauIgnores(QWidget* parent = nullptr);
    void montrer(const bilan::Classe& classe);

private:
    QLabel* titre_;
    QTreeWidget* liste_;
};

// "Test « B1V » : 12 passages", or what to choose when there is no test to show.
QString titreTest(const QString& test, const bilan::Selection& selection);

} // namespace kelvane::classe
