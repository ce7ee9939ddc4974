#pragma once

#include "data/format.h"
#include "platform/db/database.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <map>
#include <optional>
#include <variant>

// The pictures a test may carry, and the table that holds them in a test file and in a results file.
//
//   test_images            one record per picture
//     numero   Integer     the number of the question it belongs to (the test table's field numero)
//     place    Integer     0 for the question's own picture, 1 to 5 for the picture of that answer
//     nom      Text 255    the picture's file name, as the teacher gave it ("disjoncteur.png")
//     octets   LongBinary  the file's bytes, a PNG or a JPEG of at most kOctetsImageMax bytes
//
// The table is named to sort after "test" (and after "eleves" in a results file): the rules that tell a test from
// a results file look at fixed places of the sorted table listing, which the table must leave alone. A file
// without the table holds no picture.
namespace kelvane::data {

inline const QString kTableImages = QStringLiteral("test_images");
inline constexpr int kTailleNomImage = 255;
inline constexpr qsizetype kOctetsImageMax = 1024 * 1024;
inline constexpr int kCoteImageMax = 4096;             // pixels, in width and in height
inline constexpr int kPlacesImage = NbReponsesMax + 1; // the question, then answers 1 to 5
inline constexpr std::array<ChampFichier, 4> kChampsImages{{
    {QLatin1StringView("numero"), db::FieldType::Integer},
    {QLatin1StringView("place"), db::FieldType::Integer},
    {QLatin1StringView("nom"), db::FieldType::Text, kTailleNomImage},
    {QLatin1StringView("octets"), db::FieldType::LongBinary},
}};

struct Image {
    QString nom;
    QByteArray octets;

    bool operator==(const Image&) const = default;
};

// The pictures of one question: one for its text, one for each answer, each optional.
struct ImagesQuestion {
    std::optional<Image> question;
    std::array<std::optional<Image>, NbReponsesMax> reponses;

    // Place 0 is the question's picture, places 1 to 5 its answers'.
    const std::optional<Image>& place(int place) const;
    std::optional<Image>& place(int place);
    int nombre() const;
    bool operator==(const ImagesQuestion&) const = default;
};

// The pictures of a test, by question number; a question without any picture has no entry.
using ImagesTest = std::map<int, ImagesQuestion>;

int nombreImages(const ImagesTest& images);
// The picture at that place of that question, or nullptr.
const Image* trouverImage(const ImagesTest& images, int numero, int place);

// "PNG" or "JPEG" from the bytes' signature; the empty text for anything else.
QString formatImage(const QByteArray& octets);
// "png" or "jpg" from the bytes' signature, for a file written from them; the empty text for anything else.
QString extensionImage(const QByteArray& octets);

// Why a picture cannot be kept, in French ("« plan.gif » n'est ni un PNG ni un JPEG"), or the empty text. Only
// what the bytes say is checked here; the declared size in pixels is checked when the picture is decoded.
QString refusImage(const Image& image);
// Why a picture file of that size cannot be kept ("« plan.png » dépasse 1 Mio (3072 Kio)"), or the empty text: told
// before its bytes are read.
QString refusTailleImage(const QString& nom, qint64 octets);

// The picture file at chemin, called nom in the test and in the messages: its bytes when the test can hold them
// (refusImage), else why not in French. A file over the size limit is refused before it is read.
std::variant<Image, QString> lireFichierImage(const QString& chemin, const QString& nom);

// Creates the table and writes the pictures, in question and place order; nothing when there is none. Inside the
// caller's transaction, when there is one.
void ecrireImages(db::Database& base, const ImagesTest& images);

// The pictures of a file: nothing when it has no table. A record out of range (a place beyond 0..5, an empty or
// oversized picture) is passed over; the first record of a place is kept. Throws kelvane::Error when the table
// cannot be read.
ImagesTest lireImages(db::Database& base);
// The same, nothing when the table cannot be read: a damaged pictures table never keeps a file from being used.
ImagesTest lireImagesSiLisibles(db::Database& base);

} // namespace kelvane::data
