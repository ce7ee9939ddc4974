#include "atelier/portecode.h"

#include "avertissements/erreurs.h"
#include "data/parametres.h"
#include "frames/cadrecode.h"
#include "platform/services/files.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace kelvane::atelier {

using namespace kelvane::widgets;

PorteCode::PorteCode(const QString& dossier, data::FichierParametres& parametres, services::MessageService& messages,
                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PorteCode"));
    setWindowTitle(QStringLiteral("Kelvane — Atelier — code de l'enseignant"));
    setCouleurs(this, kOrangeClair);
    setFixedSize(twipsSize(4695, 2295, this));
    setPolice(this, 8.25);

    QLabel* legende = creerLabel(this, QStringLiteral("Dossier"),
                                 QStringLiteral("Le dossier « %1 » est protégé par le code de l'enseignant.")
                                     .arg(QDir::toNativeSeparators(dossier)),
                                 120, 60, 4455, 735);
    legende->setWordWrap(true);
    legende->setTextFormat(Qt::PlainText);
    setPolice(legende, 8.25);
    setCouleurs(legende, QColor(), kBrun);

    frames::CadreCode::Disposition disposition = frames::CadreCode::dispositionMotPasse();
    disposition.cadre.moveTo(120, 840);
    disposition.nomBoite = QStringLiteral("Code de l'enseignant");
    auto* cadre = new frames::CadreCode(this, disposition, parametres, messages);
    // Enter belongs to the code box, as in the student program: no button of the dialog takes it.
    for (QPushButton* bouton : cadre->findChildren<QPushButton*>()) {
        bouton->setAutoDefault(false);
        bouton->setDefault(false);
    }
    connect(cadre, &frames::CadreCode::accepte, this, [this] {
        acces_ = Acces::Ouvert;
        accept();
    });
    connect(cadre, &frames::CadreCode::annule, this, [this] {
        acces_ = Acces::Annule;
        reject();
    });
    connect(cadre, &frames::CadreCode::fermerLogiciel, this, [this] {
        acces_ = Acces::Ferme;
        reject();
    });
    cadre->ouvrir(true, true);
}

Acces demanderCode(const QString& dossier, services::MessageService& messages, QWidget* parent) {
    const QString chemin = services::joinPath(dossier, data::kFichierParametres);
    if (!QFileInfo::exists(chemin)) {
        return Acces::Ouvert;
    }
    try {
        data::FichierParametres parametres = data::FichierParametres::ouvrir(dossier);
        if (parametres.sansCode()) {
            return Acces::Ouvert;
        }
        PorteCode porte(dossier, parametres, messages, parent);
        porte.exec();
        return porte.acces();
    } catch (const Error& e) {
        avertissements::afficherErreur(messages, e, chemin);
        return Acces::Annule;
    }
}

} // namespace kelvane::atelier
