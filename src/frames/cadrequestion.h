#pragma once

#include "session/session.h"

#include <QGroupBox>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane::widgets {
class Vignette;
}

namespace kelvane::frames {

// The question frame (Frame3): the candidate, the test and the results file on top, the question with its
// chapter, one to five answers to tick or to rank, the pictures of the question and of its answers in a column on
// the right (or the three symbols beside the class II question of a test without pictures), the countdown and the
// moves. It shows a question and gives back what the candidate answered; it knows nothing of files.
class CadreQuestion : public QGroupBox {
    Q_OBJECT
public:
    CadreQuestion(QWidget* parent, const QString& libelleTemps);

    // Loads the three symbols from the application's folder Images; a missing picture leaves its box empty.
    void chargerImages(const QString& dossierAppli);
    // The frame as a form's load leaves it: every text empty.
    void vider();
    // The header: candidate, test and mode, results file, each on one line and shortened when too long.
    void afficherEntete(const QString& candidat, const QString& test, const QString& fichier);
    void montrer(const session::QuestionAffichee& question, bool premiere, bool derniere);
    session::Reponse reponse() const;
    void afficherTemps(const QString& texte);

signals:
    void suivant();
    void precedent();
    void abandon();

private:
    void preparerReponses(int nbReponses, bool qcm);
    void creerVignettes();
    // Shows the question's pictures; false when it has none.
    bool montrerImages(const session::QuestionAffichee& question);

    QLabel* Label5;
    QLabel* Label7;
    QLabel* Label6;
    QLabel* Label31;
    QLabel* Label8;
    QLabel* Label22;
    QLabel* Label21;
    std::array<QLabel*, 5> libelles_{}; // Label20, Label19, Label18, Label17, Label16
    std::array<QCheckBox*, 5> cases_{}; // Check1 .. Check5
    std::array<QComboBox*, 5> rangs_{}; // Combo1 .. Combo5
    std::array<QLabel*, 3> symboles_{}; // Condo, Terre, ClasseII
    // ImageQuestion, ImageReponse1 .. ImageReponse5: made last, so that they follow the candidate's controls in the
    // Tab order.
    std::array<widgets::Vignette*, 6> vignettes_{};
    QLineEdit* Text4;
    QPushButton* Suivant;
    QPushButton* Precedent;
    QPushButton* AnnulerQuestion;
};

} // namespace kelvane::frames
