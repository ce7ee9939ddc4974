#pragma once

#include "atelier/portecode.h"
#include "platform/services/services.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QUndoGroup;

namespace kelvane::editeur {
class EditeurTest;
}
namespace kelvane::classe {
class FenetreClasse;
}

namespace kelvane::atelier {

class ActionsTests;
class DossiersRecents;
class ListeTests;
class PlaceEditeur;

// The workbench's window: the folder's tests on the left, the chosen test's editor on the right (PlaceEditeur).
// Its menus and buttons call the file actions (ActionsTests) and open the class's results (FenetreClasse); it
// remembers its size, its splitter (QSettings) and the folders opened (DossiersRecents).
class FenetreAtelier : public QMainWindow {
    Q_OBJECT
public:
    explicit FenetreAtelier(const services::Services& services, QWidget* parent = nullptr);
    ~FenetreAtelier() override;

    // Opens an application folder, after its teacher code when it holds one. Ouvert when the folder is shown;
    // Annule leaves the window as it was (the editor closed if the teacher agreed to it); Ferme when the third
    // wrong code ends the workbench.
    Acces ouvrirDossier(const QString& dossier);

    QString dossier() const { return dossier_; }
    editeur::EditeurTest* editeur() const;
    // The folder of the last try of a test, or the empty text.
    QString dossierEssai() const;
    // The class's results window, once opened.
    classe::FenetreClasse* fenetreClasse() const { return classe_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void creerActions();
    void relierActions();
    void creerMenus();
    QWidget* creerPanneauTests();
    void relire();
    void majActions();
    void majTitre();

    void choisirDossier();
    void ouvrirDossierEtFermerSiRefuse(const QString& dossier);
    void surTestChoisi(const QString& fichier, const QString& precedent);
    void surEnregistre(const QString& chemin);
    void surNouveauOublie();
    void resultatsClasse();
    void avertir(const QString& texte);
    QString testCourant() const; // the chosen test's file name, when it is on disk

    services::Services services_;
    QString dossier_;

    ListeTests* liste_ = nullptr;
    PlaceEditeur* place_ = nullptr;
    ActionsTests* actions_ = nullptr;
    DossiersRecents* recents_ = nullptr;
    classe::FenetreClasse* classe_ = nullptr;
    QSplitter* separation_ = nullptr;
    QLabel* etatDossier_ = nullptr;
    QUndoGroup* annulations_ = nullptr;

    QAction* actOuvrirDossier_ = nullptr;
    QAction* actNouveau_ = nullptr;
    QAction* actDupliquer_ = nullptr;
    QAction* actRenommer_ = nullptr;
    QAction* actSupprimer_ = nullptr;
    QAction* actImporter_ = nullptr;
    QAction* actExporter_ = nullptr;
    QAction* actEssayer_ = nullptr;
    QAction* actEnregistrer_ = nullptr;
    QAction* actAnnuler_ = nullptr;
    QAction* actRetablir_ = nullptr;
    QAction* actQuitter_ = nullptr;
    QAction* actClasse_ = nullptr;
};

} // namespace kelvane::atelier
