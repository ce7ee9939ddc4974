#pragma once

#include "platform/services/services.h"
#include "results/rapport.h"

#include <QDialog>

namespace kelvane::frames {
class CadreResultats;
}

namespace kelvane::classe {

// One results file's results as the viewer shows them, in the results frame: its candidate, count, verdict, levels,
// chapters and questions, and its print button. The file is read once, read-only, and closed before the box shows.
class DialogueResultats : public QDialog {
    Q_OBJECT
public:
    // The box of that file, or nullptr after the error's box when the file cannot be read.
    static DialogueResultats* ouvrir(const services::Services& services, const QString& chemin, QWidget* parent);

    frames::CadreResultats* cadre() const { return cadre_; }

private:
    DialogueResultats(const services::Services& services, QString chemin, QWidget* parent);
    void imprimer();

    services::Services services_;
    QString chemin_;
    results::Rapport rapport_;
    frames::CadreResultats* cadre_ = nullptr;
};

} // namespace kelvane::classe
