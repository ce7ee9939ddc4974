#pragma once

#include "data/format.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace kelvane::bilan {

// What a folder read takes in: the folder alone, or its subfolders as well (one folder per class).
struct Options {
    bool sousDossiers = false;
};

// The five levels in the order of the files' flags: B0, B1, B2, BR, BC (data::kNiveaux).
using data::NbNiveaux;

// A chapter's share in one results file: every question record of its number, as the results screen counts it.
struct PourcentageChapitre {
    int numero = 0;
    QString nom;
    std::optional<double> pourcentage; // 0..100, none when no question carries the chapter
};

// One question record of a results file, in stored order, reduced to what the class figures need.
struct ReponseQuestion {
    int question = 0;       // index into Classe::questionsParTest[test]
    bool repondue = false;  // at least one tick or rank given
    bool juste = false;     // marked right
    std::uint8_t cases = 0; // bit j set when answer j + 1 was ticked (or ranked)
};

// One results file as a line of the class.
struct Passage {
    QString fichier; // full path
    QString nom;
    QString prenom;
    QString classe;
    QString test;
    bool examen = false;
    QString date;      // as stored
    QDate jour;        // the stored date read as a day; invalid when it cannot be read
    QDateTime modifie; // the file's last change: which of two lines of one day is the later
    int bonnes = 0;
    int repondues = 0;        // questions with at least one tick or rank given
    int total = 0;            // questions in all
    double pourcentage = 0.0; // 0..100, the exact share the results screen cuts for its text
    int tolerance = 0;        // the file's own pass mark, percent
    bool reussi = false;
    std::array<std::optional<double>, NbNiveaux> niveaux; // 0..100, none when the level has no question
    std::vector<PourcentageChapitre> chapitres;           // in stored order, those with questions
    std::vector<ReponseQuestion> questions;               // in stored order
};

// A question's wording as the test's results files hold it, kept once per test.
struct EnonceQuestion {
    QString numero; // the field numero as text: a damaged file may hold anything
    int chapitre = 0;
    std::array<bool, NbNiveaux> niveaux{};
    QString texte;
    int nbReponses = 0;
    std::array<QString, data::NbReponsesMax> reponses;
    std::array<bool, data::NbReponsesMax> attendues{}; // answers to tick (a question to tick), rank given (else)
    bool qcm = false;
};

// A file passed over with its reason, or one that a running session holds (en cours).
struct Ignore {
    QString fichier; // full path
    QString raison;  // in French
    bool enCours = false;
};

// What a folder holds: the results files as lines, in the order read (folder, then file name), the files left
// aside, and each test's questions.
struct Classe {
    QString dossier;
    std::vector<Passage> passages;
    std::vector<Ignore> ignores;
    std::map<QString, std::vector<EnonceQuestion>> questionsParTest;
    std::map<QString, std::vector<PourcentageChapitre>> chapitresParTest; // numbers and names, pourcentage empty
};

// Called after each file: how many are done out of how many found.
using Progression = std::function<void(int faits, int total)>;

// Reads every results file of the folder read-only, in one read transaction each, without changing a byte. A file
// that is not a results file is passed over silently; a file that a session holds or is starting is listed as en
// cours; a damaged or vanished one is listed with its reason. Never throws for a file; error when the folder
// itself cannot be read.
Classe lireResultatsDuDossier(const QString& dossier, const Options& options = {}, const Progression& progression = {});

// A subset of the lines, pointing into a Classe that must outlive it.
using Selection = std::vector<const Passage*>;

// What the lines are filtered on; an empty text, a null date or no value lets everything through.
struct Filtre {
    QString classe;
    QString test;
    std::optional<bool> examen;
    QDate du; // inclusive; a line whose date cannot be read passes only when both dates are null
    QDate au;
    std::optional<bool> reussi;
    bool dernierSeulement = false; // the latest line per candidate (name, first name, class) and test
};

Selection tous(const Classe& classe);
Selection filtrer(const Classe& classe, const Filtre& filtre);
// The latest line per candidate (name, first name, class, without regard to case) and test: by date, then by the
// file's order of reading; kept in the selection's order.
Selection derniersPassages(const Selection& selection);
// The tests of the selection, sorted.
std::vector<QString> tests(const Selection& selection);

// A question of a test over a selection.
struct StatistiqueQuestion {
    int index = 0; // into Classe::questionsParTest[test]
    const EnonceQuestion* question = nullptr;
    int candidats = 0; // lines whose file holds the question
    int repondues = 0; // of them, who gave at least one tick or rank
    int justes = 0;
    std::optional<double> pourcentage;              // justes over candidats, 0..100
    std::array<int, data::NbReponsesMax> cochees{}; // how many ticked (or ranked) each answer
};

// The questions of `test` over the lines of that test in `selection`, hardest first (lowest share, then number
// order).
std::vector<StatistiqueQuestion> statistiquesQuestions(const Classe& classe, const QString& test,
                                                       const Selection& selection);

// Levels x chapters for a test: the share right of the question records carrying both, over the selection.
struct Croisement {
    std::vector<PourcentageChapitre> chapitres;           // rows, in the test's order; pourcentage: the whole chapter
    std::array<std::optional<double>, NbNiveaux> niveaux; // the whole level, over every record
    std::vector<std::array<std::optional<double>, NbNiveaux>> cellules; // [chapter][level], 0..100
    std::optional<double> ensemble;                                     // every record of the test
};
Croisement croiser(const Classe& classe, const QString& test, const Selection& selection);

// A share as the results screen shows it: its whole part, never rounded up.
int pourcentageCoupe(double pourcentage);

// The spread of the lines' shares of `test`: ten bins of ten points, 100 in the last.
std::array<int, 10> repartition(const Selection& selection, const QString& test);

} // namespace kelvane::bilan
