#pragma once

#include "data/fichierresultats.h"
#include "forms/lieux.h"
#include "platform/services/services.h"
#include "session/dossiertravail.h"
#include "widgets/forme.h"

#include <optional>
#include <vector>

namespace kelvane::frames {
class CadreResultats;
class ChoixFichier;
} // namespace kelvane::frames

namespace kelvane::forms {

// The teachers' viewer: Frame1 picks a results file in a folder, Frame5 shows its results as the session showed
// them, questions listed by number, and prints them again. A results file is only ever read here.
class Visualisation : public widgets::Forme {
    Q_OBJECT
public:
    Visualisation(const services::Services& services, const Lieux& lieux, QWidget* parent = nullptr);
    ~Visualisation() override;

    void Form_Load() override;

protected:
    // The title bar's close button leaves as Annuler does.
    void closeEvent(QCloseEvent* event) override;

private:
    void Valider_Click();
    void AfficherResultats();
    void ImprimerResultat_Click();
    void fermerFichier();

    services::Services services_;
    Lieux lieux_;
    session::DossierTravail dossier_;
    frames::ChoixFichier* Frame1;
    frames::CadreResultats* Frame5;

    // The file shown, opened read-only, and what its results screen counted.
    std::optional<data::FichierResultats> fichier_;
    QString nomTest_;
    QString libelleMode_;
    std::int16_t tolerance_ = 0;
    int nbQuestions_ = 0;
    std::vector<int> ordre_;
    int nbBonnes_ = 0;
};

} // namespace kelvane::forms
