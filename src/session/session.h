#pragma once

#include "data/fichierresultats.h"
#include "data/images.h"
#include "data/test.h"
#include "results/rapport.h"
#include "results/resultats.h"
#include "session/modetest.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kelvane::services {
class ClockService;
class FileService;
class RandomService;
} // namespace kelvane::services

namespace kelvane::session {

// The candidate as typed on the details screen.
struct Candidat {
    QString nom;
    QString prenom;
    QString classe;
};

// The question at the current place, as the question frame shows it.
struct QuestionAffichee {
    int numero = 1; // the place, from 1
    QString texte;
    std::optional<QString> chapitre; // the chapter's name; nothing when no chapter carries the question's number
    bool qcm = false;
    int nbReponses = 0;
    std::array<QString, data::NbReponsesMax> reponses;
    // What the candidate gave before: ticks (0 or not) or ranks (0: none).
    std::array<int, data::NbReponsesMax> donnees{};
    data::ImagesQuestion images; // the question's own picture, then its answers' (from the results file)
};

// What the candidate gave on screen: the ticks, or the texts typed or chosen as ranks.
struct Reponse {
    std::array<bool, data::NbReponsesMax> cases{};
    std::array<QString, data::NbReponsesMax> rangs;
};

// One second of the countdown: the text to show and whether the time is over.
struct Seconde {
    QString texte;
    bool ecoule = false;
};

// One session of a test form, without any widget: the start from a test or the resumption of a begun file, the
// answers recorded and marked, the moves between places, the countdown, the end and the results. It owns the
// results file of its last session, which stays open until the next session replaces it. Engine failures are
// thrown as kelvane::Error; the form shows them.
class Session {
public:
    Session(const ModeTest& mode, services::FileService& fichiers, services::ClockService& horloge,
            services::RandomService& aleatoire);

    const ModeTest& mode() const { return mode_; }

    // Creates the candidate's results file in `dossier` under the first free name and copies the test into it. In
    // training the order is then fixed, by question number; in evaluation it is drawn by tirerOrdreEvaluation. A
    // name that another session takes meanwhile is stepped over. When it fails, only the path tried (cheminFichier)
    // changes: the session stays on its previous file.
    void demarrer(const data::Test& test, const Candidat& candidat, const QString& dossier);
    // Draws the evaluation's order from the clock's second of this moment: the form calls it once the candidate has
    // answered the pass-mark box, so the draw follows that answer. Until then no question can be shown. Does
    // nothing when the order is already fixed (training, a resumed file, a second call).
    void tirerOrdreEvaluation();
    // Reopens a begun results file and goes back to its first question, in the order of the numbers. Returns
    // false, with nothing changed, when the file is not a results file.
    bool rouvrir(const QString& chemin);

    // The results file as last made, tried or opened: full path and name.
    const QString& cheminFichier() const { return chemin_; }
    QString nomFichier() const;
    const QString& nomTest() const { return nomTest_; }
    bool examen() const { return examen_; }
    std::int16_t tolerance() const { return tolerance_; }
    std::int16_t tempsAutorise() const { return tempsAutorise_; }
    // "Prénom NOM classe", and "test (Entrainement)" or "test (Evaluation)".
    const QString& libelleCandidat() const { return libelleCandidat_; }
    QString libelleTest() const;

    int nbQuestions() const { return nbQuestions_; }
    int place() const { return place_; }
    bool premiere() const { return place_ == 0; }
    bool derniere() const { return place_ == nbQuestions_ - 1; }

    QuestionAffichee question();
    // Records and marks the answer given at the current place. A rank out of the 16-bit range is error 6, and
    // the record stays as it was.
    bool enregistrer(const Reponse& reponse);
    void avancer();
    void reculer();
    // Back to a place from the results (training): the session is running again.
    void allerA(int place);

    bool termine() const { return termine_; }
    void terminer() { termine_ = true; }

    // The countdown runs when the test allows some time; it starts from the whole time at every start and resume.
    bool avecDecompte() const { return tempsAutorise_ > 0; }
    int tempsRestant() const { return tempsRestant_; }
    Seconde decompter();

    // The date of the session written into the file each time the results are shown.
    void tamponnerDate();
    results::TextesResultats resultats(const results::Verdicts& mots);
    // The printed report of what the results last counted.
    results::Rapport rapport();

private:
    void commencer(data::ImagesTest images);
    int positionCourante() const;

    const ModeTest& mode_;
    services::FileService& fichiers_;
    services::ClockService& horloge_;
    services::RandomService& aleatoire_;

    std::optional<data::FichierResultats> fichier_;
    std::vector<data::Chapitre> chapitres_; // the file's chapters, read once a session
    QString chemin_;
    QString nomTest_;
    QString libelleCandidat_;
    bool examen_ = false;
    std::int16_t tempsAutorise_ = 0;
    std::int16_t tolerance_ = 0;
    int nbQuestions_ = 0;
    // Kept from one session to the next on purpose: a later session overwrites the places it fills and leaves
    // the others as an earlier one put them.
    std::vector<int> ordreConserve_;
    int place_ = 0;
    int tempsRestant_ = 0;
    bool termine_ = false;
    data::ImagesTest images_;  // the results file's pictures, read once when its questions begin
    bool ordreATirer_ = false; // an evaluation started whose order is not drawn yet
    int nbBonnes_ = 0;
};

} // namespace kelvane::session
