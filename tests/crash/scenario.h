#pragma once

// The session that the crash and concurrency checks play in child processes: the test the parent builds, the
// candidate the child types, and the lines the child writes to its standard output once each step has returned.
//
// Lines, one per step, written with write(2) so that a line read by the parent was out before any kill:
//   PRET <examen|entrainement>    the candidate is typed, OkNom is about to be clicked
//   LIBRE <file>                  (--attendre only) released: the first name free at this moment
//   DEBUT <file>                  OkNom has returned, the first question is shown; <file> is the results file
//   ENVOI <numero> v1..v5 <0|1>   the answer on screen is about to be recorded (Suivant not clicked yet)
//   REPONSE <numero> v1..v5 <0|1> Suivant has returned: that answer and its mark are recorded
//   FIN                           the results are shown
//   ERREUR <text>                 the session did not go as scripted; the child ends with status 2

#include "support/fixtures.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace scenario {

inline const QString kTest = QStringLiteral("B1V");
inline const QString kFichierTest = QStringLiteral("B1V.mdb");
inline const QString kNom = QStringLiteral("Dupont");
inline const QString kPrenom = QStringLiteral("Jean");
inline const QString kClasse = QStringLiteral("1A");
inline const QDate kJour{2001, 12, 6};
inline const QString kJourCourt = QStringLiteral("06/12/01");
constexpr int kTemps = 3600;
constexpr int kTolerance = 70;
constexpr int kNbQuestions = 30;

std::vector<fixtures::Chapitre> chapitres();
// Multiple-choice questions of 2 to 5 answers and ordering questions of 3 to 5, numbered in a shuffled order so
// that a record's place in the file and its number differ.
std::vector<fixtures::Question> questions();
// The question whose text is shown, or nothing.
std::optional<fixtures::Question> questionDeTexte(const QString& texte);

// One answer as the child gave it: the values it put in RE1 to RE5 and the mark it meant to get.
struct Reponse {
    int numero = 0;
    std::array<int, 5> valeurs{};
    bool juste = false;
};

// What the parent read from a child's standard output.
struct Journal {
    bool pret = false;
    bool examen = false;
    QString libre;   // LIBRE
    QString fichier; // empty until DEBUT
    std::vector<Reponse> reponses;
    std::optional<Reponse> envoi; // sent and not yet returned when the output stopped
    bool fin = false;
    QStringList erreurs;
    QStringList lignes;

    void lire(const QString& ligne);
};

QString ligneReponse(const char* mot, const Reponse& r);

} // namespace scenario
