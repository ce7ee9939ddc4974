#pragma once

#include "frames/navigation.h"

#include <QGroupBox>
#include <QStringList>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kelvane::services {
class MessageService;
}
namespace kelvane::session {
class DossierTravail;
struct ModeTest;
} // namespace kelvane::session
namespace kelvane::widgets {
class DirListBox;
class DriveListBox;
} // namespace kelvane::widgets

namespace kelvane::frames {

// The choice of a file in a folder: drive and folder lists, the files of the working folder, the chosen name and
// the OK and cancel buttons. The test forms list their tests (and, in training, the begun training files beside
// them); the viewer lists results files. A line is chosen with the mouse or the keyboard; OK is open once a
// name is chosen, and stays so when the folder changes.
class ChoixFichier : public QGroupBox {
    Q_OBJECT
public:
    // The test forms' Frame2 "Ouverture du Test".
    static ChoixFichier* pourTests(QWidget* parent, const session::ModeTest& mode, session::DossierTravail& dossier,
                                   services::MessageService& messages);
    // The viewer's Frame1 "Ouverture d'un test".
    static ChoixFichier* pourResultats(QWidget* parent, session::DossierTravail& dossier,
                                       services::MessageService& messages);
    ~ChoixFichier() override;

    // The frame as a form's load leaves it: the lists on the start folder, which becomes the working folder,
    // scanned once; no name chosen, OK closed.
    void charger(const QString& dossierInitial);
    // The name in the name box (chosen, or kept from another folder).
    QString nomChoisi() const;
    // Training: the last choice came from the list of begun tests.
    bool repriseChoisie() const { return !nouveauTest_; }
    // The file the working folder holds under the name: the name with ".mdb", or the listed file of that name
    // when the folder spells its extension otherwise (".MDB"). Empty when there is none.
    QString fichierNomme(const QString& nom) const;
    // The folder the folder list shows.
    QString dossierListe() const;

signals:
    void valide();
    void annule();

private:
    enum class Filtre { Tests, TestsEtCommences, Resultats };
    ChoixFichier(QWidget* parent, Filtre filtre, session::DossierTravail& dossier, services::MessageService& messages);
    void relier();
    void chercher();
    void choisir(const QStringList& noms, int ligne, bool nouveauTest);
    void changerLecteur();
    void changerDossier();

    Filtre filtre_;
    session::DossierTravail& dossier_;
    services::MessageService& messages_;
    std::unique_ptr<Navigation> navigation_;

    QLabel* legendeNom_ = nullptr;
    QLineEdit* nombase_ = nullptr;
    widgets::DriveListBox* lecteur_ = nullptr;
    widgets::DirListBox* dossiers_ = nullptr;
    QLabel* legendeListe_ = nullptr;
    QListWidget* liste_ = nullptr;
    QLabel* legendeCommences_ = nullptr;
    QListWidget* commences_ = nullptr; // training only
    QPushButton* ok_ = nullptr;
    QPushButton* annuler_ = nullptr;

    QStringList fichiers_; // the files of the main list, in its order, with their extension
    QStringList fichiersCommences_;
    QString nomChoisi_; // the chosen file less its extension
    bool nouveauTest_ = true;
};

} // namespace kelvane::frames
