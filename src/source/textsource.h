#pragma once

// The text source of a test file, read and checked before anything is written.
//
// A UTF-8 file, one record per line, fields separated by ';' (a field may be put between double quotes
// to hold a ';', a quote inside being doubled). Blank lines and lines starting with '#' are skipped;
// trailing empty fields (as spreadsheets export them) are ignored.
//
//   temps;600                      time allowed for the whole test, in seconds (1..32767), once
//   tolerance;70                   pass mark in percent (0..100), once
//   chapitre;1;Le risque électrique
//                                  a chapter: its number (1..32767, each once) and name (80 characters); a '#'
//                                  after a blank in an unquoted name is refused (a comment has a line of its own)
//   question;NUMÉRO;CHAPITRE;NIVEAUX;GENRE;TEMPS;TEXTE;RÉPONSE1;VALEUR1[;RÉPONSE2;VALEUR2 ... up to 5]
//       NUMÉRO    1..N, each once (N = the number of questions), in any order
//       CHAPITRE  a chapter declared by a chapitre line
//       NIVEAUX   the levels the question belongs to, among B0 B1 B2 BR BC, separated by spaces
//       GENRE     qcm (tick the right answers: VALEUR 1 = to tick, 0 = not)
//                 or ordre (put the answers back in order: VALEUR = the rank, 1..number of answers, each once)
//       TEMPS     a number kept with the question (0..32767)
//       TEXTE     the question, 200 characters; each RÉPONSE 100 characters
//   image;NUMÉRO;PLACE;FICHIER[;NOM]
//                                  a picture shown with question NUMÉRO, anywhere in the source
//       PLACE     question (beside its text) or 1..5 (beside that answer, which the question has), each place once
//       FICHIER   the picture's file, a PNG or a JPEG of at most 1 Mio, named from the source's folder: a plain name
//                 ("vat.png") or a path into its subfolders ("images/vat.jpg", '\' read as '/'); never absolute,
//                 never through ".."
//       NOM       the name the test keeps for it (255 characters), the file's own name when not given
//
// A source without any of these faults is then checked as a test (data::controlerTest), each problem reported
// with the line of the question concerned.

#include "data/test.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <utility>
#include <vector>

namespace kelvane::source {

// The field sizes, the levels and the most answers are those of the test file (data/format.h).

struct Answer {
    QString text;
    int expected = 0; // multiple choice: 1 to tick, 0 not; ordering: the rank
};

// A question line of the source.
struct SourceQuestion {
    int line = 0;
    int numero = 0;
    int chapitre = 0;
    std::array<bool, data::NbNiveaux> levels{}; // after data::kNiveaux
    bool qcm = true;
    int temps = 0;
    QString text;
    std::vector<Answer> answers; // 1..data::NbReponsesMax
};

struct Chapter {
    int line = 0;
    int numero = 0;
    QString nom;
};

// A picture line of the source, its file read.
struct SourcePicture {
    int line = 0;
    int numero = 0;
    int place = 0;     // 0 the question's, 1..5 that answer's (data::ImagesQuestion::place)
    QString file;      // as written, '/' separated, from the source's folder
    data::Image image; // its name in the test and the file's bytes
};

struct TestSource {
    int temps = 0;
    int tolerance = 0;
    std::vector<Chapter> chapters;         // in source order
    std::vector<SourceQuestion> questions; // in source order
    std::vector<SourcePicture> pictures;   // in source order
};

// The source read, and every fault found, each as "FILE, ligne N : text" (or "FILE : text" for a fault of the
// whole file). The source is usable only when errors is empty.
struct ParseResult {
    TestSource source;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

// fileName is the name shown in the messages. The pictures' files are read from folder, the source's own; without
// one (a source that is no file) nothing is read from the disk and every picture line is a fault.
ParseResult parseTestSource(const QByteArray& data, const QString& fileName, const QString& folder = QString());
// The source file at path, its pictures read from its folder.
ParseResult readTestSource(const QString& path);

// Splits one line into its fields: ';' separated, double quotes around a field protect ';' and '"' is doubled
// inside them; fields are trimmed and trailing empty fields dropped. Returns false on an unclosed quote. quoted,
// when given, tells for each field whether it was between quotes.
bool splitFields(const QString& line, QStringList& fields, QList<bool>* quoted = nullptr);

// The test a checked source makes, as the test file holds it (fichier and nom from fileName), with its pictures.
data::Test toTest(const TestSource& source, const QString& fileName);

// What a test holds, as "B1V.mdb : 6 questions, 2 chapitres, 600 s, 70 %", then ", 3 images" when it has some.
QString summary(const data::Test& test, const QString& fileName);

// The file each picture of a test takes beside its source, by question number and place.
using PictureFiles = std::map<std::pair<int, int>, QString>;

// A plain file name for a picture, safe on every system: its stored name with each character that Linux, macOS or
// Windows refuses in a name (separators, controls, <>:"|?*) as '_' and the dots and blanks that Windows drops at
// its end removed; a name left empty, hidden (a leading '.'), a device of Windows (CON, NUL, COM1...) or too long
// for a file system becomes "image question N.png" or "image question N réponse P.jpg".
QString pictureFileName(const data::Image& image, int numero, int place);

// The source of a test read from its file: building it again gives the same tables and records, pictures included
// when their files are beside it under the names of files (pictureFileName for a picture it leaves out). A picture
// of no question, or of an answer that its question does not have, is not shown and not written. A text the source
// cannot hold (a line break) is a fault, each as "FILE : question N : text"; the source is usable only when errors
// is empty.
QByteArray exportSource(const data::Test& test, QStringList& errors, const PictureFiles& files = {});

// What writing the source of a test file did.
struct TestExport {
    data::Test test;         // the test as read, for a summary
    QStringList faults;      // why nothing was written: the test refused ("FILE : text"), texts the source cannot hold
    QString writeFailure;    // the system's reason when a file could not be written
    QString failedFile;      // that file: the target, or a picture beside it
    QStringList picturesNew; // the pictures' files written beside the target
    bool written() const { return faults.isEmpty() && writeFailure.isEmpty(); }
};

// Reads the test file at testPath and writes its source (exportSource) into target, which is replaced only once
// the whole source is written, and its pictures beside it, each under its stored name made safe (pictureFileName).
// A file already there is never replaced: one with the same bytes serves as the picture, another takes the next free
// name ("schéma (2).png"). On any fault the target stays as it was and no picture is left behind. The engine's
// failures reading the test (missing, damaged, locked) are thrown as kelvane::Error. Used by the workbench's export
// and kelvane-outil's.
TestExport exportTestFile(const QString& testPath, const QString& target);

} // namespace kelvane::source
