#include "forms/visualisation.h"

#include "avertissements/avertissements.h"
#include "avertissements/erreurs.h"
#include "data/format.h"
#include "data/reglesfichiers.h"
#include "frames/cadreresultats.h"
#include "frames/choixfichier.h"
#include "results/impression.h"
#include "results/resultats.h"
#include "session/seancefichier.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

#include <QCloseEvent>

namespace kelvane::forms {

using namespace kelvane::widgets;

Visualisation::Visualisation(const services::Services& services, const Lieux& lieux, QWidget* parent)
    : widgets::Forme(parent), services_(services), lieux_(lieux), dossier_(*services.files) {
    setObjectName(QStringLiteral("Visualisation"));
    setWindowTitle(QStringLiteral("Visualisation"));
    setCouleurs(this, kBleuClair);
    setFixedSize(twipsSize(10680, 7050, this));
    setPolice(this, 8.25);
    setCentree(true);

    Frame1 = frames::ChoixFichier::pourResultats(this, dossier_, *services.messages);
    Frame5 = new frames::CadreResultats(this, {.retourner = false, .gaucheCandidat = 240});
    placer(Frame5, 0, 0, 10575, 6975);
    Frame5->hide();

    connect(Frame1, &frames::ChoixFichier::valide, this, &Visualisation::Valider_Click);
    connect(Frame1, &frames::ChoixFichier::annule, this, [this] {
        fermerFichier();
        Unload();
    });
    connect(Frame5, &frames::CadreResultats::fermer, this, [this] {
        Frame1->show();
        Frame5->hide();
    });
    connect(Frame5, &frames::CadreResultats::imprimer, this, &Visualisation::ImprimerResultat_Click);
    // The viewer only shows: a question line leads nowhere.
}

Visualisation::~Visualisation() = default;

void Visualisation::Form_Load() {
    Frame1->show();
    Frame5->hide();
    fermerFichier();
    Frame1->charger(lieux_.initial);
}

void Visualisation::fermerFichier() {
    fichier_.reset();
    // A fresh start: a question number that no record of the next file carries stands for its first record.
    ordre_.clear();
}

void Visualisation::Valider_Click() {
    services::MessageService& messages = *services_.messages;
    const QString nom = Frame1->nomChoisi();
    // The name may have been typed, or kept from another folder: say what is wrong and let the choice be made
    // again, with whatever was open still open.
    const QString fichier = Frame1->fichierNomme(nom);
    if (fichier.isEmpty()) {
        avertissements::signalerIntrouvable(messages, nom + data::kExtension, dossier_.chemin(),
                                            QStringLiteral("un fichier"));
        return;
    }
    const QString chemin = services::joinPath(dossier_.chemin(), fichier);
    if (data::sonderFichier(chemin).genre != data::GenreFichier::Resultats) {
        messages.MsgBox(QStringLiteral("La base ") + fichier +
                            QStringLiteral(" n'est pas un fichier de résultats d'habilitation électrique"),
                        services::Buttons::OkOnly, avertissements::kMauvaisType);
        return;
    }

    // Everything is read before anything shown is replaced, so that a file that fails half-way leaves the viewer
    // as it was. The file is opened read-only: viewing never writes to a pupil's results.
    try {
        std::optional<data::FichierResultats> ouvert = data::FichierResultats::ouvrir(chemin, db::OpenMode::ReadOnly);
        if (!ouvert) {
            throw Error(errc::UnrecognizedFormat, QStringLiteral("Format de base de données non reconnu"));
        }
        results::Seance seance = session::seanceDuFichier(*ouvert);
        fichier_ = std::move(ouvert);
        nomTest_ = seance.nomTest;
        libelleMode_ = seance.libelleMode;
        tolerance_ = static_cast<std::int16_t>(seance.tolerance);
        nbQuestions_ = seance.nbQuestions;
        ordre_ = std::move(seance.ordre);
    } catch (const Error& e) {
        avertissements::afficherErreur(messages, e, chemin);
        return;
    }
    Frame1->hide();
    Frame5->show();
    AfficherResultats();
}

void Visualisation::AfficherResultats() {
    // The session's results without its date stamp: the file shows the date it was last finished on.
    try {
        const results::Seance seance{nomTest_, libelleMode_, tolerance_, nbQuestions_, ordre_};
        const results::TextesResultats textes = results::calculerResultats(
            fichier_->eleve(), fichier_->bilan(), fichier_->chapitres(), seance, results::VerdictsVisualisation);
        nbBonnes_ = textes.nbBonnes;
        Frame5->afficher(textes);
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, fichier_->chemin());
    }
}

void Visualisation::ImprimerResultat_Click() {
    // The report of the file shown, from the count that the results screen has just made; read only, as the screen.
    results::Rapport rapport;
    try {
        rapport = results::lireRapport(fichier_->eleve(), fichier_->bilan(), nomTest_, nbBonnes_, tolerance_,
                                       services_.clock->today());
    } catch (const Error& e) {
        avertissements::afficherErreur(*services_.messages, e, fichier_->chemin());
        return;
    }
    results::imprimerResultats(services_, rapport, fichier_->chemin());
}

void Visualisation::closeEvent(QCloseEvent* event) {
    fermerFichier();
    event->accept();
}

} // namespace kelvane::forms
