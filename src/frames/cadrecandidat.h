#pragma once

#include "frames/navigation.h"
#include "session/session.h"

#include <QGroupBox>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane::frames {

// The candidate's details and the save folder (Frame1 "Données de sauvegarde"): surname, first name and class,
// the drive and folder where the results file is written, a new folder, OK and cancel. OK opens at a key going
// down in a surname box that already holds text.
class CadreCandidat : public QGroupBox {
    Q_OBJECT
public:
    CadreCandidat(QWidget* parent, session::DossierTravail& dossier, services::MessageService& messages);
    ~CadreCandidat() override;

    // At the form's load: the folder list shows the folder current at that moment, the boxes are emptied.
    void charger();
    // When the frame comes up: OK closed, the surname box ready to type in.
    void preparer();
    session::Candidat candidat() const;
    // The parts of the name that go into the file name can be used; otherwise the candidate is told why and the
    // box concerned takes the focus.
    bool nomsAcceptables();

signals:
    void valide();
    void annule();

private:
    void nouveauDossier();

    session::DossierTravail& dossier_;
    services::MessageService& messages_;
    std::unique_ptr<Navigation> navigation_;

    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    widgets::DriveListBox* Drive1;
    QPushButton* newrepertoire;
    widgets::DirListBox* listerepertoire;
    QPushButton* OkNom;
    QPushButton* AnnulerNom;
};

} // namespace kelvane::frames
