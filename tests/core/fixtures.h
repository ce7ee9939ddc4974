#pragma once

#include "platform/db/database.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>

// Test and results files built through the engine layer, named after the scenario they stand for.
namespace fixtures {

struct Question {
    std::array<bool, 5> niveaux{}; // B0, B1, B2, BR, BC
    QString texte = QStringLiteral("Question");
    int nbReponses = 2;
    std::array<QString, 5> reponses{QStringLiteral("Oui"), QStringLiteral("Non"), {}, {}, {}};
    std::array<int, 5> attendues{1, 0, 0, 0, 0};
    int temps = 30;
    bool qcm = true;
    int chapitre = 1;
    int numero = 1;
};

struct Test {
    QList<Question> questions;
    QList<std::pair<QString, int>> chapitres{{QStringLiteral("Généralités"), 1}};
    QList<std::pair<int, int>> parametres{{600, 70}}; // temps, tolerance: one record per pair
    int nbChamps = 21;             // fields of the table test: fewer breaks the format, more are extra columns
    int tailleTexteQuestion = 255; // a test's own columns may be wider than the results file's
    QStringList tablesEnPlus;      // further tables of the test's own, each with one text field
};

// A test file in `dossier`; returns its full path.
QString creerTest(const QDir& dossier, const QString& fichier, const Test& test);

// A question as a results file holds it after a session.
struct QuestionResultat {
    std::array<bool, 5> niveaux{};
    QString texte = QStringLiteral("Question");
    int chapitre = 1;
    int numero = 1;
    bool reussi = false;
    std::array<int, 5> attendues{1, 0, 0, 0, 0};
    bool qcm = true;
};

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
    QList<std::pair<QString, int>> chapitres{{QStringLiteral("Généralités"), 1}};
    QList<QuestionResultat> questions;
};

// A results file made by the system's own creation, then filled as a session would have left it.
QString creerResultats(const QDir& dossier, const QString& fichier, const Resultats& resultats);

// A database with the given tables of one text field each, and nothing else.
QString creerBase(const QDir& dossier, const QString& fichier, const QStringList& tables);

} // namespace fixtures
