#pragma once

#include "atelier/essai.h"
#include "atelier/portecode.h"
#include "platform/services/services.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QUndoGroup;

namespace kelvane::atelier {

class EditeurTest;
class FenetreClasse;
class ListeTests;

// The workbench's window: the folder's tests on the left, the chosen test's editor on the right. Its menus and
// buttons make, copy, rename, delete, import, export and try tests; it remembers its size, its splitter and the
// folders opened (QSettings).
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
    EditeurTest* editeur() const { return editeur_; }
    // The folder of the last try of a test, or the empty text.
    QString dossierEssai() const { return essai_.dossier(); }
    // The class's results window, once opened.
    FenetreClasse* fenetreClasse() const { return classe_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void creerActions();
    void creerMenus();
    QWidget* creerPanneauTests();
    void relire();
    void majActions();
    void majTitre();
    void retenirDossier(const QString& dossier);
    void majRecents();

    // The editor: the test of that file opened in a new one (false after its message when it cannot be read);
    // the current one closed, asking for unsaved changes first (false when the teacher keeps it).
    bool ouvrirTest(const QString& fichier);
    void installerEditeur(EditeurTest* editeur);
    bool fermerEditeur();
    void oublierEditeur();
    void surTestChoisi(const QString& fichier, const QString& precedent);
    void surEnregistre(const QString& chemin);

    // The actions on tests.
    void choisirDossier();
    void nouveauTest();
    void dupliquerTest();
    void renommerTestCourant();
    void supprimerTestCourant();
    void importer();
    void importerSource(const QString& source);
    void importerAccess(const QString& source);
    void importerKelvane(const QString& source);
    void exporter();
    void essayer();
    void resultatsClasse();

    // A test's file name typed by the teacher, asked again while it is wrong or taken; empty when cancelled.
    QString demanderNom(const QString& question, const QString& titre);
    QString chemin(const QString& fichier) const;
    QString testCourant() const; // the chosen test's file name, when it is on disk
    void informer(const QString& texte);
    void avertir(const QString& texte);
    bool confirmer(const QString& question);

    services::Services services_;
    QString dossier_;
    Essai essai_;

    ListeTests* liste_ = nullptr;
    QStackedWidget* droite_ = nullptr;
    QScrollArea* defilement_ = nullptr;
    QWidget* accueil_ = nullptr;
    EditeurTest* editeur_ = nullptr;
    FenetreClasse* classe_ = nullptr;
    QSplitter* separation_ = nullptr;
    QLabel* etatDossier_ = nullptr;
    QUndoGroup* annulations_ = nullptr;
    QMenu* menuRecents_ = nullptr;

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
