#pragma once

#include "data/test.h"
#include "source/textsource.h"

#include <QString>
#include <vector>

namespace kelvane::banques {

// A test's chapters and questions as the exports write them.
struct ChapitreExporte {
    int numero = 0;
    QString chemin; // its Moodle category path, "$course$/top/" and its name, a "/" of the name written "//"
};

struct QuestionExportee {
    int numero = 0;
    int chapitre = 0;
    std::array<bool, data::NbNiveaux> niveaux{}; // after data::kNiveaux
    bool qcm = true;
    QString texte;
    std::vector<source::Answer> reponses; // in stored order
};

// The chapters in stored order. Two chapters of the same name would make one Moodle category: the later one's
// path then carries its number, as "Sécurité (chapitre 4)".
std::vector<ChapitreExporte> chapitresExportes(const data::Test& test);

// The questions in number order (stored order among equal numbers), each text with the characters XML cannot
// hold removed.
std::vector<QuestionExportee> questionsExportees(const data::Test& test);

// The line an export starts with: "Test B1V.mdb exporté par Kelvane".
QString enTete(const data::Test& test);

// The text less the characters that XML 1.0 cannot hold (controls other than tab and line breaks, lone
// surrogates, U+FFFE and U+FFFF).
QString texteXml(const QString& texte);

} // namespace kelvane::banques
