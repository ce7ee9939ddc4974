#pragma once

// Pictures for the tests that need real PNG or JPEG bytes (suites linking Qt GUI).

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

namespace imagesessai {

inline QByteArray encoder(const QImage& image, const char* format) {
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, format);
    return octets;
}

// A plain picture of that size, as a PNG (or in the format given: "JPEG").
inline QByteArray image(int largeur, int hauteur, QColor couleur = Qt::darkYellow, const char* format = "PNG") {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(couleur);
    return encoder(image, format);
}

} // namespace imagesessai
