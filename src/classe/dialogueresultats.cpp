#include "classe/dialogueresultats.h"

#include "avertissements/erreurs.h"
#include "data/fichierresultats.h"
#include "frames/cadreresultats.h"
#include "results/impression.h"
#include "session/seancefichier.h"
#include "widgets/colours.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QFileInfo>
#include <QVBoxLayout>

namespace kelvane::classe {

DialogueResultats* DialogueResultats::ouvrir(const services::Services& services, const QString& chemin,
                                             QWidget* parent) {
    results::TextesResultats textes;
    results::Rapport rapport;
    try {
        std::optional<data::FichierResultats> fichier = data::FichierResultats::ouvrir(chemin, db::OpenMode::ReadOnly);
        if (!fichier) {
            throw Error(errc::UnrecognizedFormat, QStringLiteral("Format de base de données non reconnu"));
        }
        const results::Seance seance = session::seanceDuFichier(*fichier);
        textes = session::resultatsDuFichier(*fichier);
        rapport = results::lireRapport(fichier->eleve(), fichier->bilan(), seance.nomTest, textes.nbBonnes,
                                       seance.tolerance, services.clock->today());
    } catch (const Error& e) {
        avertissements::afficherErreur(*services.messages, e, chemin);
        return nullptr;
    }
    auto* dialogue = new DialogueResultats(services, chemin, parent);
    dialogue->rapport_ = std::move(rapport);
    dialogue->cadre_->afficher(textes);
    return dialogue;
}

DialogueResultats::DialogueResultats(const services::Services& services, QString chemin, QWidget* parent)
    : QDialog(parent), services_(services), chemin_(std::move(chemin)) {
    setObjectName(QStringLiteral("dialogueResultats"));
    setWindowTitle(QStringLiteral("Résultats — %1").arg(QFileInfo(chemin_).fileName()));
    setAttribute(Qt::WA_DeleteOnClose);
    widgets::setCouleurs(this, widgets::kBleuClair);
    widgets::setPolice(this, 8.25);
    cadre_ = new frames::CadreResultats(this, {.retourner = false, .gaucheCandidat = 240});
    cadre_->setFixedSize(widgets::twipsSize(10575, 6975, cadre_));
    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(6, 6, 6, 6);
    disposition->addWidget(cadre_);
    disposition->setSizeConstraint(QLayout::SetFixedSize);
    connect(cadre_, &frames::CadreResultats::fermer, this, &QDialog::accept);
    connect(cadre_, &frames::CadreResultats::imprimer, this, &DialogueResultats::imprimer);
}

void DialogueResultats::imprimer() {
    results::imprimerResultats(services_, rapport_, chemin_);
}

} // namespace kelvane::classe
