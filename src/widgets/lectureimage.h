#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kelvane::widgets {

// What a candidate sees in place of a picture that cannot be shown.
inline const QString kImageIllisible = QStringLiteral("image illisible");

// A picture's bytes decoded with care: PNG or JPEG only, at most 1 MiB, its declared size read from the header and
// checked (at most 4096 × 4096 pixels) before any pixel is decoded, and the decoder's memory capped. A damaged,
// huge or lying picture gives a null image and the reason in French; nothing here ends the program.
struct ImageLue {
    QImage image;
    QString refus;

    bool ok() const { return !image.isNull(); }
};
ImageLue lireImage(const QByteArray& octets);

} // namespace kelvane::widgets
