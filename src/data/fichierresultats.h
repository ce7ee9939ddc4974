#pragma once

#include "platform/db/database.h"
#include "platform/db/recordset.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace kelvane {

// The locale string that results files are created with (general sort order, code page 1252).
inline constexpr QLatin1StringView LocaleFichierResultats(";LANGID=0x0409;CP=1252;COUNTRY=0");

// Positions in the table question of a results file; the order of its fields is part of the format.
namespace champ {
inline constexpr int B0 = 0; // B0, B1, B2, BR, BC: the five level flags, 0 to 4
inline constexpr int Question = 5;
inline constexpr int NbreReponse = 6;
inline constexpr int R1 = 7;  // R1 to R5: 7 to 11
inline constexpr int S1 = 12; // S1 to S5: 12 to 16
inline constexpr int Temps = 17;
inline constexpr int Qcm = 18;
inline constexpr int Chapitre = 19;
inline constexpr int Numero = 20;
inline constexpr int RE1 = 21; // RE1 to RE5: 21 to 25
inline constexpr int Reussi = 26;
inline constexpr int NbChampsQuestion = 27;
} // namespace champ

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

// The results file's name: first character of the first name (none when it is empty), the name, "-", the test,
// "-Ex-" for an evaluation or "-" for training, characters 1-2, 4-5 and 7-8 of the short date, ".mdb".
// "Jean", "Dupont", "B1V", evaluation, "06/12/01" give "JDupont-B1V-Ex-061201.mdb".
QString nomFichierResultats(const QString& prenom, const QString& nom, const QString& nomTest, bool examen,
                            const QString& dateCourte);

// The name itself when `existe` says it is free, else the first free one of stem-1.mdb, stem-2.mdb... where
// the stem is the name less its last four characters.
QString premierNomLibre(const QString& nom, const std::function<bool(const QString&)>& existe);

// Why a name or first name typed by the candidate cannot be part of a file name, or nothing when it can:
// folder separators, the characters that Windows refuses in a file name, control characters. Accented letters,
// blanks and dots are fine: the typed text always stands inside the file name, between other characters.
std::optional<QString> controlerNom(const QString& texte);

// Creates the results database at `chemin` (an existing file is never touched: the engine refuses the name)
// with its three tables question, chapitre and eleves, empty, and returns it open.
db::Database creerFichierResultats(const QString& chemin);

// Fills a freshly created results file from the open test: the eleves record, the chapters by name, the
// questions' first 21 fields by position with RE1 to RE5 at 0 and reussi false. One transaction: on any failure
// the file is left with its empty tables and the error is rethrown. Returns the settings read from the test.
ParametresTest remplirFichierResultats(db::Database& eleve, db::Recordset& rsNumero, db::Recordset& rsChapitre,
                                       db::Recordset& rsTest, const DonneesCandidat& candidat, bool examen,
                                       const QDate& aujourdhui);

struct FichierResultatsDemarre {
    db::Database base;
    ParametresTest parametres;
};

// Creation and filling together, as the session start needs them: when the filling fails, the file just created
// is closed and removed before the error is rethrown, so that a failed start leaves nothing behind. A file that
// was there before (the creation refused its name) is never removed.
FichierResultatsDemarre demarrerFichierResultats(const QString& chemin, db::Recordset& rsNumero,
                                                 db::Recordset& rsChapitre, db::Recordset& rsTest,
                                                 const DonneesCandidat& candidat, bool examen, const QDate& aujourdhui);

} // namespace kelvane
