#pragma once

#include <QGroupBox>

class QComboBox;
class QLayout;
class QPushButton;
class QTableView;

namespace kelvane::edition {
class TestEdite;
class ModeleQuestions;
class FiltreQuestions;
} // namespace kelvane::edition

namespace kelvane::editeur {

// The questions as a table, filtered by chapter and level, with the buttons that add, duplicate, delete and move
// them. The current question is the one the form edits; it stays current while a filter hides it.
class PanneauQuestions : public QGroupBox {
    Q_OBJECT
public:
    PanneauQuestions(edition::TestEdite& test, QWidget* parent = nullptr);

    int courante() const { return courante_; }
    // Makes question `indice` current (-1: none), showing every question when a filter hides it.
    void selectionner(int indice);
    void prendreFocus();

signals:
    void questionCourante(int indice);
    void questionAjoutee(); // added or duplicated: its text is to be written

private:
    // The filters' row, the table, the buttons under it, and what each of them does.
    QLayout* creerFiltres();
    void creerTable();
    QLayout* creerBoutons();
    void relier();
    void actualiserFiltres();
    void filtrer();
    void activerBoutons();
    void choisie(int indice);

    edition::TestEdite& test_;
    edition::ModeleQuestions* modele_;
    edition::FiltreQuestions* filtre_;
    QComboBox* filtreChapitre_;
    QComboBox* filtreNiveau_;
    QTableView* vue_;
    QPushButton* ajouter_;
    QPushButton* dupliquer_;
    QPushButton* supprimer_;
    QPushButton* monter_;
    QPushButton* descendre_;
    QPushButton* renumeroter_;
    int courante_ = -1;
    bool selection_ = false;
};

} // namespace kelvane::editeur
