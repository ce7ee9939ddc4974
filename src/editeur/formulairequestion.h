#pragma once

#include "edition/question.h"

#include <QGroupBox>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

namespace kelvane::edition {
class TestEdite;
}
namespace kelvane::services {
struct Services;
}

namespace kelvane::editeur {

class ChoixImage;

// The form of one question: its text with the characters left and its picture, its kind (ticks or order), one to
// five answers with their value and picture, its levels, its chapter and its time. Every change goes to the test
// under edit at once.
class FormulaireQuestion : public QGroupBox {
    Q_OBJECT
public:
    // The services give the file chooser and the messages of the pictures.
    FormulaireQuestion(edition::TestEdite& test, services::Services& services, QWidget* parent = nullptr);

    // Shows question `indice` (-1: none, the form disabled).
    void afficher(int indice);
    int indice() const { return indice_; }
    void prendreFocus();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // The pieces of the form, in the order of the keyboard: the text with its count and hint, the kind and the
    // number of answers, the answers, then the levels, the chapter and the time; then the tab order and the
    // changes sent to the test, and the test's changes shown.
    void construireTexte(QVBoxLayout* colonne);
    QLayout* construireGenre();
    void construireClassement(QGridLayout* grille);
    void ordonnerTabulations();
    void relierChamps();
    void suivreLeTest();
    void construireReponses(QGridLayout* grille);
    void actualiserChapitres();
    void actualiserTexte(const data::QuestionTest& q);
    void modifier(const std::function<void(data::QuestionTest&)>& changement, int saisie = 0);
    ChoixImage* creerChoixImage(int place);
    // The picture of that place (0: the question, 1 to 5: an answer) from a file, after a message when it cannot
    // be kept.
    void poserImage(int place, const QString& chemin);

    edition::TestEdite& test_;
    services::Services& services_;
    QString dossierImages_; // where the file chooser opens: the folder of the last picture taken
    int indice_ = -1;
    bool actualisation_ = false;

    QPlainTextEdit* texte_;
    QLabel* restants_;
    QLabel* indication_;
    QRadioButton* cases_;
    QRadioButton* ordre_;
    QSpinBox* nombre_;
    std::array<QLabel*, 5> libelles_{};
    std::array<QLineEdit*, 5> reponses_{};
    std::array<QCheckBox*, 5> coches_{};
    std::array<QSpinBox*, 5> rangs_{};
    std::array<QCheckBox*, 5> niveaux_{};
    QComboBox* chapitre_;
    QSpinBox* temps_;
    std::array<ChoixImage*, 6> images_{}; // the question's, then answers 1 to 5
};

} // namespace kelvane::editeur
