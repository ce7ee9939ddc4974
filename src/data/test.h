#pragma once

#include "data/format.h"
#include "data/images.h"

#include <QString>
#include <QVariant>
#include <array>
#include <variant>
#include <vector>

namespace kelvane::data {

// A question of a test: its first NbChampsQuestionTest fields (kChampsQuestion), each value as the file holds it.
using QuestionTest = std::array<QVariant, NbChampsQuestionTest>;

// A test file read once, as values: its settings, chapters and questions in stored order, each value as the
// file holds it, so that the copy into a results file keeps nulls and types.
struct Test {
    QString fichier;    // the file's name with its extension, no folder
    QString nom;        // the name less its last four characters
    QVariant temps;     // first settings record: time allowed, seconds
    QVariant tolerance; // and pass mark, percent
    struct Chapitre {
        QVariant nom;
        QVariant numero;
    };
    std::vector<Chapitre> chapitres;
    std::vector<QuestionTest> questions;
    ImagesTest images; // by question number; empty for a test without pictures
};

// Why a file cannot give a session: not a test at all, or a test that cannot be used (no settings, too few
// fields, no question). The message is the one the candidate sees.
struct TestRefuse {
    bool pasUnTest = false;
    QString message;
};

// Whether a reading takes the pictures: a list of the folder's tests needs only their figures.
enum class LectureImages { Avec, Sans };

// Opens the file read-only, checks it and reads it whole, its pictures included unless told (a pictures table the
// engine cannot read leaves the test without pictures: they never keep a session from starting); the file is closed
// again when this returns. The engine's own failures (missing, damaged, locked, a table missing) are thrown as
// kelvane::Error.
std::variant<Test, TestRefuse> lireTest(const QString& chemin, LectureImages images = LectureImages::Avec);

} // namespace kelvane::data
