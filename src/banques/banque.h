#pragma once

// A question bank as Kelvane reads it from a teacher's Moodle XML, GIFT or Aiken file: the test it makes, the
// pictures its questions carry, and what was left out on the way.

#include "data/images.h"
#include "source/textsource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace kelvane::banques {

// A bank's pictures are a test's: a file name and PNG or JPEG bytes, one for a question's text and one for each
// answer, by question number.
using Image = data::Image;
using ImagesQuestion = data::ImagesQuestion;
using Images = data::ImagesTest;

// A question of the bank that the test does not hold, and why.
struct QuestionEcartee {
    int ligne = 0;  // where it starts in the bank
    QString titre;  // its title, or the start of its text
    QString raison; // as the teacher reads it

    bool operator==(const QuestionEcartee&) const = default;
};

struct Rapport {
    std::vector<QuestionEcartee> ecartees;
    QStringList notes; // what was kept but changed, such as a chapter name cut to its field
};

// What an import gives. On a fault of the whole file (not XML, malformed, a GIFT or Aiken syntax error) erreur
// names it with its line, as "FICHIER, ligne N : texte", and nothing else is set. Otherwise source holds the
// questions kept, numbered 1..N in bank order, with temps and tolerance at 0 for the caller to set (a bank has
// neither), and each question's temps at 0.
struct ResultatImport {
    QString erreur;
    source::TestSource source;
    Images images;
    Rapport rapport;

    bool ok() const { return erreur.isEmpty(); }
};

// The report as lines for the teacher: "ligne 12, « Ohm » : type Moodle « essay » (réponse libre) non pris en
// charge", then the notes.
QStringList lignesRapport(const Rapport& rapport);

} // namespace kelvane::banques
