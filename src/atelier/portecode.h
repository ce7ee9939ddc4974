#pragma once

#include <QDialog>

namespace kelvane::data {
class FichierParametres;
}
namespace kelvane::services {
class MessageService;
}

namespace kelvane::atelier {

// What the teacher code of a folder allows.
enum class Acces {
    Ouvert, // no code is set (or no settings file), or the code was given
    Annule, // the teacher gave up, or the settings file cannot be read (after a message)
    Ferme,  // the third wrong code: the workbench ends, as the message said
};

// The teacher code asked by the student program's own code frame, with its own check: the stored code or the
// master code, letter case aside; the third wrong code ends the workbench. Escape or Annuler give up.
class PorteCode : public QDialog {
    Q_OBJECT
public:
    PorteCode(const QString& dossier, data::FichierParametres& parametres, services::MessageService& messages,
              QWidget* parent = nullptr);

    Acces acces() const { return acces_; }

private:
    Acces acces_ = Acces::Annule;
};

// Asks the code of the folder when its habilitation.mdb holds one (anything but the empty text; a null lets the
// master code alone in). A folder without habilitation.mdb opens freely.
Acces demanderCode(const QString& dossier, services::MessageService& messages, QWidget* parent = nullptr);

} // namespace kelvane::atelier
