#pragma once

// A question bank as Kelvane reads it from a teacher's Moodle XML, GIFT or Aiken file: the test it makes, the
// pictures its questions carry, and what was left out on the way.

#include "source/textsource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace kelvane::banques {

// The largest picture a question may carry, in bytes.
inline constexpr qsizetype kTailleMaxImage = 1024 * 1024;

// A picture as the bank holds it: its file name and its bytes, PNG or JPEG.
struct Image {
    QString nom;
    QByteArray octets;

    bool operator==(const Image&) const = default;
};

// The pictures of one question: one for its text, one for each answer, each optional.
struct ImagesQuestion {
    std::optional<Image> question;
    std::array<std::optional<Image>, source::kMaxAnswers> reponses;

    bool operator==(const ImagesQuestion&) const = default;
    int nombre() const;
};

// The pictures of a test, by question number; a question without any picture has no entry.
using Images = std::map<int, ImagesQuestion>;

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

// Why a picture cannot go with a question (neither PNG nor JPEG, over kTailleMaxImage), or nothing.
std::optional<QString> refusImage(const Image& image);

// "png" or "jpg" after the picture's first bytes, or an empty text.
QString extensionImage(const QByteArray& octets);

} // namespace kelvane::banques
