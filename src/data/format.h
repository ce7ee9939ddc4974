#pragma once

#include "platform/db/fieldtype.h"

#include <QLatin1StringView>
#include <QString>
#include <array>
#include <string_view>

// The files of an application folder, as every program of Kelvane reads and writes them: databases named "*.mdb",
// whose tables keep the names, the order of fields and the sizes of the Access files they stand for.
//
// A test (B1V.mdb) holds three tables:
//   chapitre      nom (text 80), numero                      one record per chapter
//   numero        temps (seconds), tolerance (percent)       the first record holds the test's settings
//   test          the 21 fields of a question (kChampsQuestion), one record per question: the levels B0 B1 B2 BR BC
//                 (yes/no), question (text 200), nbrereponse (1 to 5), R1 to R5 (text 100), S1 to S5 (1 to tick and
//                 0 not, or the rank), temps, qcm (yes: to tick, no: to put in order), chapitre, numero (1 to N)
// A results file (JDupont-B1V-Ex-061201.mdb, see nomFichierResultats) holds three tables:
//   question      the test's 21 fields copied by position, then RE1 to RE5 (the candidate's ticks or ranks) and
//                 reussi (yes/no): kChampsReponse
//   chapitre      the test's chapters
//   eleves        nom, prenom, classe, test (text 50), date (text 15, the short date, stamped again whenever the
//                 results are shown), examen (yes/no), temps, tolerance: one record, the candidate's
// A test or a results file may also hold a fourth table, the pictures of its questions (data/images.h):
//   test_images   numero (of the question), place (0 its text, 1 to 5 its answers), nom (text 255, the file's
//                 name), octets (long binary, a PNG or a JPEG of at most 1 MiB): one record per picture; a results
//                 file gets a copy of its test's when the session starts
// The settings file (habilitation.mdb) holds the table habilitation: code (text 20), one record, the teacher code.
// Which of them a file is follows from its table listing alone (data/reglesfichiers.h).
namespace kelvane::data {

// The settings file of an application folder: the teacher code, and the folder's mark as Kelvane's.
inline const QString kFichierParametres = QStringLiteral("habilitation.mdb");
// The extension of every file of the folder that the programs list: tests, results files, settings.
inline const QString kExtension = QStringLiteral(".mdb");

// The tables.
inline const QString kTableChapitre = QStringLiteral("chapitre");
inline const QString kTableNumero = QStringLiteral("numero");
inline const QString kTableTest = QStringLiteral("test");
inline const QString kTableQuestion = QStringLiteral("question");
inline const QString kTableEleves = QStringLiteral("eleves");
inline const QString kTableHabilitation = QStringLiteral("habilitation");

// The locale string that new files are created with (general sort order, code page 1252).
inline constexpr QLatin1StringView LocaleNouveauxFichiers(";LANGID=0x0409;CP=1252;COUNTRY=0");

// The sizes of the text fields, in characters.
inline constexpr int TailleQuestion = 200;
inline constexpr int TailleReponse = 100;
inline constexpr int TailleChapitre = 80;
inline constexpr int TailleEleve = 50; // nom, prenom, classe, test
inline constexpr int TailleDate = 15;
inline constexpr int TailleCode = 20;

// The levels, in the order of a question's first five fields.
inline constexpr int NbNiveaux = 5;
inline const std::array<QString, NbNiveaux> kNiveaux{QStringLiteral("B0"), QStringLiteral("B1"), QStringLiteral("B2"),
                                                     QStringLiteral("BR"), QStringLiteral("BC")};
// A question has 1 to NbReponsesMax answers, in the fields R1 to R5 and S1 to S5 (RE1 to RE5 in a results file).
inline constexpr int NbReponsesMax = 5;

// What comes between the test's name and the day in a results file's name: "-Ex-" for an evaluation, "-" for
// training.
inline const QString kSeparateurExamen = QStringLiteral("-Ex-");
inline const QString kSeparateurEntrainement = QStringLiteral("-");

// One field of a table as Kelvane creates it. A text field takes the empty text: an empty class or first name is a
// normal entry.
struct ChampFichier {
    QLatin1StringView nom;
    db::FieldType type;
    int taille = 0; // text: characters
};

// The fields of a test's questions that a session uses, copied by position into the results file; further fields
// of a test are ignored.
inline constexpr int NbChampsQuestionTest = 21;
inline constexpr std::array<ChampFichier, NbChampsQuestionTest> kChampsQuestion{{
    {QLatin1StringView("B0"), db::FieldType::Boolean},
    {QLatin1StringView("B1"), db::FieldType::Boolean},
    {QLatin1StringView("B2"), db::FieldType::Boolean},
    {QLatin1StringView("BR"), db::FieldType::Boolean},
    {QLatin1StringView("BC"), db::FieldType::Boolean},
    {QLatin1StringView("question"), db::FieldType::Text, TailleQuestion},
    {QLatin1StringView("nbrereponse"), db::FieldType::Integer},
    {QLatin1StringView("R1"), db::FieldType::Text, TailleReponse},
    {QLatin1StringView("R2"), db::FieldType::Text, TailleReponse},
    {QLatin1StringView("R3"), db::FieldType::Text, TailleReponse},
    {QLatin1StringView("R4"), db::FieldType::Text, TailleReponse},
    {QLatin1StringView("R5"), db::FieldType::Text, TailleReponse},
    {QLatin1StringView("S1"), db::FieldType::Integer},
    {QLatin1StringView("S2"), db::FieldType::Integer},
    {QLatin1StringView("S3"), db::FieldType::Integer},
    {QLatin1StringView("S4"), db::FieldType::Integer},
    {QLatin1StringView("S5"), db::FieldType::Integer},
    {QLatin1StringView("temps"), db::FieldType::Integer},
    {QLatin1StringView("qcm"), db::FieldType::Boolean},
    {QLatin1StringView("chapitre"), db::FieldType::Integer},
    {QLatin1StringView("numero"), db::FieldType::Integer},
}};
// What a results file's question table adds after them.
inline constexpr std::array<ChampFichier, NbReponsesMax + 1> kChampsReponse{{
    {QLatin1StringView("RE1"), db::FieldType::Integer},
    {QLatin1StringView("RE2"), db::FieldType::Integer},
    {QLatin1StringView("RE3"), db::FieldType::Integer},
    {QLatin1StringView("RE4"), db::FieldType::Integer},
    {QLatin1StringView("RE5"), db::FieldType::Integer},
    {QLatin1StringView("reussi"), db::FieldType::Boolean},
}};
inline constexpr std::array<ChampFichier, 2> kChampsChapitre{{
    {QLatin1StringView("nom"), db::FieldType::Text, TailleChapitre},
    {QLatin1StringView("numero"), db::FieldType::Integer},
}};
inline constexpr std::array<ChampFichier, 2> kChampsNumero{{
    {QLatin1StringView("temps"), db::FieldType::Integer},
    {QLatin1StringView("tolerance"), db::FieldType::Integer},
}};
inline constexpr std::array<ChampFichier, 8> kChampsEleves{{
    {QLatin1StringView("nom"), db::FieldType::Text, TailleEleve},
    {QLatin1StringView("prenom"), db::FieldType::Text, TailleEleve},
    {QLatin1StringView("classe"), db::FieldType::Text, TailleEleve},
    {QLatin1StringView("test"), db::FieldType::Text, TailleEleve},
    {QLatin1StringView("date"), db::FieldType::Text, TailleDate},
    {QLatin1StringView("examen"), db::FieldType::Boolean},
    {QLatin1StringView("temps"), db::FieldType::Integer},
    {QLatin1StringView("tolerance"), db::FieldType::Integer},
}};
inline constexpr std::array<ChampFichier, 1> kChampsHabilitation{{
    {QLatin1StringView("code"), db::FieldType::Text, TailleCode},
}};

// Positions in the question table of a test and of a results file, after kChampsQuestion and kChampsReponse.
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

// The positions name the fields they say.
constexpr bool champNomme(const ChampFichier& champ, std::string_view nom) {
    return std::string_view(champ.nom.data(), static_cast<std::size_t>(champ.nom.size())) == nom;
}
static_assert(champNomme(kChampsQuestion[champ::Question], "question") &&
              champNomme(kChampsQuestion[champ::R1], "R1") && champNomme(kChampsQuestion[champ::S1], "S1") &&
              champNomme(kChampsQuestion[champ::Numero], "numero"));
static_assert(champNomme(kChampsReponse[champ::Reussi - NbChampsQuestionTest], "reussi") &&
              champ::NbChampsQuestion == NbChampsQuestionTest + static_cast<int>(kChampsReponse.size()));

} // namespace kelvane::data
