#pragma once

#include "data/fichierresultats.h"
#include "platform/db/database.h"

#include <QDate>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <utility>
#include <vector>

// Files that the tests build for their scenarios, through the engine layer.
namespace fixtures {

// habilitation.mdb with one record whose code (text of 20) is the given value (null allowed).
void creerHabilitation(const QString& path, const QVariant& code);

// A question of a test, and of a results file made from it.
struct Question {
    std::array<bool, 5> niveaux{}; // B0, B1, B2, BR, BC
    QString texte;
    int nbReponses = 2;
    std::array<QString, 5> reponses{};
    std::array<int, 5> attendu{}; // S1 to S5
    int temps = 0;
    bool qcm = true;
    int chapitre = 1;
    int numero = 1;
    bool reussi = false; // results file only
};

struct Chapitre {
    QString nom;
    int numero = 1;
};

// A test file laid out as teachers prepare them: tables chapitre, numero and test. The columns of test are named
// otherwise than the results file's, since the copy goes by position.
struct Test {
    std::vector<Question> questions;
    std::vector<Chapitre> chapitres{{QStringLiteral("Généralités"), 1}};
    QList<std::pair<int, int>> parametres{{600, 70}}; // temps, tolerance: one record per pair
    int nbChamps = 21;             // fields of the table test: fewer breaks the format, more are extra columns
    int tailleTexteQuestion = 255; // a test's own columns may be wider than the results file's
    QStringList tablesEnPlus;      // further tables of the test's own, each with one text field
};

// Returns the path.
QString creerTest(const QString& path, const Test& test);
void creerTest(const QString& path, int temps, int tolerance, const std::vector<Chapitre>& chapitres,
               const std::vector<Question>& questions);

// n simple multiple-choice questions numbered 1..n in chapter 1, the first answer being the right one.
std::vector<Question> questionsSimples(int n);

// A results file as a session leaves it: made by the program's own creation, then filled record by record.
struct Resultats {
    QString nom = QStringLiteral("Dupont");
    QString prenom = QStringLiteral("Jean");
    QString classe = QStringLiteral("1ELEC");
    QString nomTest = QStringLiteral("B1V");
    QString date = QStringLiteral("06/12/01");
    bool examen = true;
    int temps = 600;
    int tolerance = 70;
    bool avecEleve = true;
    std::vector<Chapitre> chapitres{{QStringLiteral("Généralités"), 1}};
    std::vector<Question> questions;
};

// Returns the path.
QString creerResultats(const QString& path, const Resultats& resultats);

// A results file as its creation leaves it before any record: its three tables (data::creerTablesResultats), empty,
// in one commit; returned open. A taken name is refused by the engine, never overwritten.
kelvane::db::Database creerFichierResultats(const QString& path);
// Fills such a file from a test as a session's start does (data::remplirTablesResultats), in one transaction: on
// failure the tables stay empty.
void remplirFichierResultats(kelvane::db::Database& base, const kelvane::data::Test& test,
                             const kelvane::data::DonneesCandidat& candidat, bool examen, const QDate& jour);

// A database with the given tables of one text field each, and nothing else. Returns the path.
QString creerBase(const QString& path, const QStringList& tables);

} // namespace fixtures
