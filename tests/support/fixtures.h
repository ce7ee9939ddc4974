#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <vector>

// Files that the tests build for their scenarios, through the engine layer.
namespace fixtures {

// habilitation.mdb with one record whose code (text of 20) is the given value (null allowed).
void creerHabilitation(const QString& path, const QVariant& code);

struct Question {
    std::array<bool, 5> niveaux{};
    QString texte;
    int nbReponses = 2;
    std::array<QString, 5> reponses{};
    std::array<int, 5> attendu{};
    bool qcm = true;
    int chapitre = 1;
    int numero = 1;
};

struct Chapitre {
    QString nom;
    int numero = 1;
};

// A test file laid out as teachers prepare them: tables chapitre, numero and test.
void creerTest(const QString& path, int temps, int tolerance, const std::vector<Chapitre>& chapitres,
               const std::vector<Question>& questions);

// n simple multiple-choice questions numbered 1..n in chapter 1, the first answer being the right one.
std::vector<Question> questionsSimples(int n);

} // namespace fixtures
