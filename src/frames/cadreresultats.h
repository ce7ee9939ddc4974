#pragma once

#include <QGroupBox>
#include <array>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace kelvane::results {
struct TextesResultats;
}

namespace kelvane::frames {

// The results frame "Résultats" (Frame5): the candidate, the count, the verdict, the five levels and the
// chapters, with the question list. The same frame serves the two test forms (with "Retourner au questionnaire"
// in training) and the results viewer.
class CadreResultats : public QGroupBox {
    Q_OBJECT
public:
    struct Options {
        bool retourner = false; // training: the way back to the questions
        int gaucheCandidat = 360;
    };

    CadreResultats(QWidget* parent, Options options);

    // Shows the texts that the scoring computed.
    void afficher(const results::TextesResultats& textes);

signals:
    void fermer();
    void imprimer();
    void retourner();
    // A question line chosen with the mouse or the keyboard: its row, which is its place in the session.
    void questionChoisie(int ligne);

private:
    QLabel* Label27;
    QLabel* Label28;
    QFrame* Line5;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label25;
    QLabel* Label26;
    std::array<QLabel*, 5> niveaux_{}; // Label11, Label12, Label14, Label23, Label24: B0, B1, B2, BR, BC
    QListWidget* List2;
    QListWidget* List1;
    QPushButton* Fermer;
    QPushButton* ImprimerResultat;
    QPushButton* Retourner = nullptr;
};

} // namespace kelvane::frames
