#include "platform/services/printer.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace kelvane::services {

namespace {

// Positions are sums of widths: a hair of tolerance keeps a text that exactly fills its place from counting as
// past it.
constexpr double Epsilon = 1e-6;

int columnAt(double x, double columnWidth) {
    return static_cast<int>(std::floor(x / columnWidth + Epsilon)) + 1;
}

// How many characters of `text`, placed at x, stay left of the limit: after the last blank among those that fit
// when there is one, else as many as fit. At least one at the left margin, so that a line always moves on.
qsizetype fittingLength(const QString& text, double x, const LineMetrics& m) {
    if (x + m.textWidth(text) <= m.rightLimit + Epsilon) {
        return text.size();
    }
    qsizetype fit = 0;
    while (fit < text.size() && x + m.textWidth(text.left(fit + 1)) <= m.rightLimit + Epsilon) {
        ++fit;
    }
    const qsizetype blank = text.left(fit).lastIndexOf(QLatin1Char(' '));
    if (blank >= 0) {
        return blank + 1;
    }
    return (fit == 0 && x <= Epsilon) ? 1 : fit;
}

} // namespace

QString printedNumber(qint64 value) {
    const QString digits = QString::number(value < 0 ? -static_cast<quint64>(value) : static_cast<quint64>(value));
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + QLatin1Char(' ');
}

QString freePdfPath(const QString& folder, const QString& name) {
    QString stem = QFileInfo(name).completeBaseName();
    if (stem.isEmpty()) {
        stem = QStringLiteral("Rapport");
    }
    const QDir dir(folder);
    QString candidate = dir.absoluteFilePath(stem + QStringLiteral(".pdf"));
    for (int n = 1; QFileInfo::exists(candidate); ++n) {
        candidate = dir.absoluteFilePath(stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".pdf"));
    }
    return QDir::toNativeSeparators(candidate);
}

QString PrintPiece::printed() const {
    switch (kind_) {
    case Kind::Text:
        return text_;
    case Kind::Number:
        return printedNumber(value_);
    case Kind::Tab:
        break;
    }
    return {};
}

QList<PlacedLine> layoutLine(const QList<PrintPiece>& pieces, const LineMetrics& metrics) {
    QList<PlacedLine> lines(1);
    double x = 0.0;
    for (const PrintPiece& piece : pieces) {
        if (piece.kind() == PrintPiece::Kind::Tab) {
            // Column n starts n - 1 average characters from the margin; columns below 1 are column 1.
            const double target = static_cast<double>(std::max<qint64>(piece.value(), 1) - 1) * metrics.columnWidth;
            if (x > target + Epsilon) {
                lines.append(PlacedLine());
            }
            x = target;
            continue;
        }
        QString text = piece.printed();
        while (!text.isEmpty()) {
            const qsizetype n = fittingLength(text, x, metrics);
            if (n == 0) {
                lines.append(PlacedLine());
                x = 0.0;
                continue;
            }
            const QString part = text.left(n);
            lines.last().append(PlacedRun{part, x, columnAt(x, metrics.columnWidth)});
            x += metrics.textWidth(part);
            text.remove(0, n);
            if (!text.isEmpty()) {
                lines.append(PlacedLine());
                x = 0.0;
            }
        }
    }
    return lines;
}

void LinePrinter::setDocumentName(const QString& name) {
    documentName_ = name;
}

void LinePrinter::setFontName(const QString& name) {
    font_.name = name;
    if (inDocument_) {
        fontChanged();
    }
}

void LinePrinter::setFontSize(double points) {
    font_.size = points;
    if (inDocument_) {
        fontChanged();
    }
}

void LinePrinter::setBold(bool bold) {
    font_.bold = bold;
    if (inDocument_) {
        fontChanged();
    }
}

void LinePrinter::begin() {
    if (inDocument_) {
        return;
    }
    startDocument();
    inDocument_ = true;
    y_ = 0.0;
    page_ = 1;
    fontChanged();
}

void LinePrinter::printLine(const QList<PrintPiece>& pieces) {
    begin();
    const QList<PlacedLine> lines = layoutLine(pieces, metrics());
    const double height = lineHeight();
    for (const PlacedLine& line : lines) {
        if (y_ > 0.0 && y_ + height > pageHeight() + Epsilon) {
            newPage();
            ++page_;
            y_ = 0.0;
        }
        drawLine(line, y_, page_);
        y_ += height;
    }
}

void LinePrinter::printPicture(const QByteArray& png, const QString& title) {
    printTitledPicture({}, png, title);
}

void LinePrinter::printTitledPicture(const QList<PrintPiece>& heading, const QByteArray& png, const QString& title) {
    begin();
    const double width = std::min(metrics().rightLimit, std::numeric_limits<double>::max());
    const double above =
        heading.isEmpty() ? 0.0 : static_cast<double>(layoutLine(heading, metrics()).size()) * lineHeight();
    // No higher than a page leaves under the heading.
    const double height = std::min(pictureHeight(png, width), pageHeight() - above);
    if (height <= 0.0) {
        if (!heading.isEmpty()) {
            printLine(heading);
        }
        printLine({QStringLiteral("[Image : ") + title + QLatin1Char(']')});
        return;
    }
    if (y_ > 0.0 && y_ + above + height > pageHeight() + Epsilon) {
        newPage();
        ++page_;
        y_ = 0.0;
    }
    if (!heading.isEmpty()) {
        printLine(heading);
    }
    drawPicture(png, y_, width, height);
    y_ += height;
}

PrintOutcome LinePrinter::endDoc() {
    begin();
    inDocument_ = false; // a failing end leaves no document behind: the next line begins a new one
    return finishDocument();
}

void LinePrinter::abortDoc() noexcept {
    if (inDocument_) {
        inDocument_ = false;
        abandonDocument();
    }
}

} // namespace kelvane::services
