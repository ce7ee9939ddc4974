#include "images.h"

#include "data/classeii.h"

#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace kelvane::mktest {

namespace {

constexpr int kStroke = 4; // line width in pixels; every shape is made of whole-pixel rectangles

// A horizontal or vertical stroke from (x, y), w by h pixels.
void bar(QPainter& p, int x, int y, int w, int h) {
    p.fillRect(x, y, w, h, Qt::black);
}

// A square outline, its outer edge at (x, y), side pixels wide.
void squareOutline(QPainter& p, int x, int y, int side) {
    bar(p, x, y, side, kStroke);
    bar(p, x, y + side - kStroke, side, kStroke);
    bar(p, x, y, kStroke, side);
    bar(p, x + side - kStroke, y, kStroke, side);
}

void drawCondo(QPainter& p) {
    const int mid = kImageSize / 2 - kStroke / 2;
    bar(p, 8, mid, 30, kStroke);  // left lead
    bar(p, 38, 20, kStroke, 56);  // left plate
    bar(p, 54, 20, kStroke, 56);  // right plate
    bar(p, 58, mid, 30, kStroke); // right lead
}

void drawTerre(QPainter& p) {
    const int mid = kImageSize / 2;
    bar(p, mid - kStroke / 2, 8, kStroke, 42); // the conductor going down to the bars
    bar(p, mid - 32, 50, 64, kStroke);
    bar(p, mid - 20, 64, 40, kStroke);
    bar(p, mid - 8, 78, 16, kStroke);
}

void drawClasseII(QPainter& p) {
    squareOutline(p, 12, 12, 72);
    squareOutline(p, 28, 28, 40);
}

} // namespace

QString symbolFileName(Symbol symbol) {
    // The symbols are listed in the order of the pictures.
    return data::imagesClasseII().value(static_cast<qsizetype>(symbol));
}

QImage drawSymbol(Symbol symbol) {
    QImage image(kImageSize, kImageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    switch (symbol) {
    case Symbol::Condo:
        drawCondo(painter);
        break;
    case Symbol::Terre:
        drawTerre(painter);
        break;
    case Symbol::ClasseII:
        drawClasseII(painter);
        break;
    }
    painter.end();
    return image;
}

QStringList writeImages(const QString& folder) {
    QStringList errors;
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        errors << QStringLiteral("%1 : impossible de créer le dossier").arg(folder);
        return errors;
    }
    for (Symbol symbol : {Symbol::Condo, Symbol::Terre, Symbol::ClasseII}) {
        const QString path = dir.filePath(symbolFileName(symbol));
        QSaveFile file(path);
        QImageWriter writer(&file, "jpeg");
        writer.setQuality(kJpegQuality);
        if (!file.open(QIODevice::WriteOnly) || !writer.write(drawSymbol(symbol)) || !file.commit()) {
            errors << QStringLiteral("%1 : impossible d'écrire l'image (%2)")
                          .arg(path, writer.error() != QImageWriter::UnknownError ? writer.errorString()
                                                                                  : file.errorString());
        }
    }
    return errors;
}

} // namespace kelvane::mktest
