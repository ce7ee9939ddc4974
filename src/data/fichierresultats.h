#pragma once

#include "data/format.h"
#include "data/test.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kelvane::data {

// The candidate as typed on the details screen, and the test's name.
struct DonneesCandidat {
    QString nom;
    QString prenom;
    QString classe;
    QString nomTest;
};

// The test's settings as written into the eleves record.
struct ParametresTest {
    std::int16_t temps = 0;     // time allowed, seconds
    std::int16_t tolerance = 0; // pass mark, percent
};

// The eleves record of a results file, as values; the numbers and the flag as the file holds them, since the
// resumption and the viewer read them each in their own way.
struct Eleve {
    QString nom;
    QString prenom;
    QString classe;
    QString test;
    QString date;
    QVariant examen;
    QVariant temps;
    QVariant tolerance;
};

struct Chapitre {
    QString nom;
    QVariant numero; // null, or not a number, in a damaged file
};

// One record of the table question of a results file, as values. A null reads as the empty text, 0 or not set.
struct QuestionResultats {
    std::array<bool, NbNiveaux> niveaux{}; // B0, B1, B2, BR, BC
    QString texte;
    int nbReponses = 0;
    std::array<QString, NbReponsesMax> reponses;
    std::array<QVariant, NbReponsesMax> attendues; // S1 to S5 as stored: a null is not compared
    bool qcm = false;
    QVariant chapitre;
    QVariant numero;
    std::array<int, NbReponsesMax> donnees{}; // RE1 to RE5: the candidate's ticks or ranks
    bool reussi = false;
};

// The results file's name: first character of the first name (none when it is empty), the name, "-", the test,
// the mode's separator (kSeparateurExamen or kSeparateurEntrainement), characters 1-2, 4-5 and 7-8 of the short
// date, ".mdb". "Jean", "Dupont", "B1V", "-Ex-", "06/12/01" give "JDupont-B1V-Ex-061201.mdb".
QString nomFichierResultats(const QString& prenom, const QString& nom, const QString& nomTest,
                            const QString& separateur, const QString& dateCourte);

// The name itself when `existe` says it is free, else the first free one of stem-1.mdb, stem-2.mdb... where
// the stem is the name less its last four characters.
QString premierNomLibre(const QString& nom, const std::function<bool(const QString&)>& existe);

// Why a name or first name typed by the candidate cannot be part of a file name, or nothing when it can:
// folder separators, the characters that Windows refuses in a file name, control characters. Accented letters,
// blanks and dots are fine: the typed text always stands inside the file name, between other characters.
std::optional<QString> controlerNom(const QString& texte);

// The three tables of a results file (data/format.h), empty: question, chapitre and eleves.
void creerTablesResultats(db::Database& base);

// The test's time allowed and pass mark as the session keeps them: whole numbers of 16 bits (error 6 beyond, 13
// when not a number).
ParametresTest parametresTest(const Test& test);

// The tables of a results file made by creerTablesResultats.
struct TablesResultats {
    db::Recordset& eleves;
    db::Recordset& chapitres;
    db::Recordset& questions;
};

// Fills the tables of a freshly created results file from the test: the eleves record, the chapters, the
// questions' first 21 fields by position with RE1 to RE5 at 0 and reussi false. Inside the caller's transaction,
// if any.
void remplirTablesResultats(const TablesResultats& tables, const Test& test, const DonneesCandidat& candidat,
                            bool examen, const QDate& aujourdhui);

// An open results file: its database and its three tables, closed when the object goes. Only this object moves
// the tables' cursors; callers see records as values.
class FichierResultats {
public:
    FichierResultats(FichierResultats&&) noexcept = default;
    FichierResultats& operator=(FichierResultats&&) noexcept = default;
    ~FichierResultats();

    // Creates the file and fills it in one commit, so that a killed process leaves it either complete or without
    // tables. When the filling fails, the file just created is removed before the error is rethrown; a file that
    // was there before (the creation refused its name) is never touched.
    static FichierResultats creer(const QString& chemin, const Test& test, const DonneesCandidat& candidat, bool examen,
                                  const QDate& aujourdhui);
    // Opens an existing results file and its tables. A file whose second table is not eleves is not opened:
    // nothing is returned.
    static std::optional<FichierResultats> ouvrir(const QString& chemin, db::OpenMode mode = db::OpenMode::ReadWrite);

    QString chemin() const;
    int nbQuestions() const { return questions_.RecordCount(); }
    int nbChampsQuestion() const { return questions_.FieldCount(); }

    // The first eleves record; error 3021 when the table is empty.
    Eleve eleve();
    std::vector<Chapitre> chapitres();
    // The question record at a zero-based position in stored order.
    QuestionResultats question(int position);
    std::vector<QuestionResultats> questions();
    // Every question with only what the results and the report read: levels, text, chapter and mark.
    std::vector<QuestionResultats> bilan();
    // The field numero of every question, in stored order.
    std::vector<QVariant> numeros();
    // The pictures of the questions, copied from the test at creation; nothing when the file has none or they
    // cannot be read.
    ImagesTest images();

    // Records the answer in the question at `position` and marks it, in one Edit ... Update: RE1 to RE5, then
    // reussi. Returns the mark; on failure the record stays as it was and the error is thrown.
    bool noterReponse(int position, const std::array<std::int16_t, NbReponsesMax>& reponses);
    // Writes today's short date into the eleves record; error 3021 when the table is empty.
    void tamponnerDate(const QDate& aujourdhui);

    // The question at `position` is answered by ticks (not by ranks).
    bool estQcm(int position);

private:
    FichierResultats() = default;
    explicit FichierResultats(db::Database base);
    void ouvrirTables();
    void allerAuPremierEleve();

    db::Database base_;
    db::Recordset eleves_;
    db::Recordset chapitres_;
    db::Recordset questions_;
};

} // namespace kelvane::data
