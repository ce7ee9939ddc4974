#pragma once

#include "data/etatsession.h"
#include "widgets/forme.h"

#include <QStringList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kelvane::widgets {
class DirListBox;
}
namespace kelvane::widgets {
class DriveListBox;
}

namespace kelvane::results {
class CadreResultats;
}

namespace kelvane::viewer {

// The teachers' viewer: Frame1 picks a results file in a folder, Frame5 shows its results as the session showed
// them, questions listed by number, and prints them again. A results file is only ever read here.
class Visualisation : public widgets::Forme {
    Q_OBJECT
public:
    explicit Visualisation(QWidget* parent = nullptr);
    ~Visualisation() override;

    void Form_Load() override;

    // --- Frame1: the choice of the results file ---
    QGroupBox* Frame1;
    QLabel* Label2;
    QLineEdit* nombase;
    QLabel* Label1;
    widgets::DriveListBox* Drive1;
    widgets::DirListBox* listerepertoire;
    QListWidget* listefichier;
    QPushButton* Valider;
    QPushButton* Annuler;

    // --- Frame5: the results ---
    results::CadreResultats* Frame5;

    // --- members ---
    // RepertoireEleve, NomTest, ModeExamen, Tolerance, Ordre, NbQuestions and NbBonnes of the file shown.
    EtatSession etat;
    QStringList ListeResultats; // the results files of the folder, with ".mdb", in the order of listefichier
    int NbResultats = 0;
    QString NomChoisi;        // the chosen file less ".mdb"
    bool BaseOuverte = false; // the viewer has opened BaseEleve since it was loaded

    void Drive1_Change();
    void listerepertoire_Change();
    void ChercherResultats();
    void listefichier_Click();
    void Valider_Click();
    void AfficherResultats();
    void Fermer_Click();
    void Annuler_Click();
    void ImprimerResultat_Click();
    void List1_Click();

protected:
    // The title bar's close button leaves as Annuler does.
    void closeEvent(QCloseEvent* event) override;

private:
    void changerDossier(const QString& dossier);
    // The file that Valider opens for the name typed or chosen: the name with ".mdb", or the listed file of that
    // name when the folder spells its extension otherwise (".MDB"). Empty when the folder has no such file.
    QString fichierNomme(const QString& nom) const;
};

} // namespace kelvane::viewer
