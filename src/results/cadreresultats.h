#pragma once

#include <QGroupBox>
#include <array>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace kelvane {
struct TextesResultats;
}

namespace kelvane::results {

// The results frame "Résultats": the candidate, the count, the verdict, the five levels and the chapters, with
// the question list. The same frame serves the two test forms (with "Retourner au questionnaire" in training)
// and the results viewer.
class CadreResultats : public QGroupBox {
    Q_OBJECT
public:
    struct Options {
        bool retourner = false; // training: the way back to the questions
        int label27Left = 360;
    };

    CadreResultats(QWidget* parent, Options options);

    // Shows the texts that the scoring computed.
    void afficher(const TextesResultats& textes);

    QLabel* Label27;
    QLabel* Label28;
    QFrame* Line5;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label25;
    QLabel* Label26;
    QLabel* Label11; // B0
    QLabel* Label12; // B1
    QLabel* Label14; // B2
    QLabel* Label23; // BR
    QLabel* Label24; // BC
    QListWidget* List2;
    QListWidget* List1;
    QPushButton* Fermer;
    QPushButton* ImprimerResultat;
    QPushButton* Retourner = nullptr;

    // The five level labels in the order B0, B1, B2, BR, BC.
    std::array<QLabel*, 5> niveaux() const { return {Label11, Label12, Label14, Label23, Label24}; }
};

} // namespace kelvane::results
