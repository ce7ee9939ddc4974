#include "platform/services/printerrecording.h"

#include "platform/error.h"

#include <limits>

namespace kelvane::services {

QStringList RecordingPrinter::texts() const {
    QStringList out;
    for (const RecordedLine& line : lines) {
        out << line.text;
    }
    return out;
}

void RecordingPrinter::clear() {
    lines.clear();
    documentsEnded = 0;
    documentsAborted = 0;
}

PrintOutcome RecordingPrinter::finishDocument() {
    if (!failure.isEmpty()) {
        const QString text = failure;
        failure.clear();
        throw Error(ErreurImprimante, text);
    }
    ++documentsEnded;
    return PrintOutcome{false, {}, QStringLiteral("Imprimante d'essai")};
}

LineMetrics RecordingPrinter::metrics() {
    return LineMetrics{1.0, [](const QString& text) { return static_cast<double>(text.size()); },
                       std::numeric_limits<double>::infinity()};
}

double RecordingPrinter::pageHeight() {
    return linesPerPage_ > 0 ? static_cast<double>(linesPerPage_) : std::numeric_limits<double>::infinity();
}

void RecordingPrinter::drawLine(const PlacedLine& line, double /*y*/, int page) {
    RecordedLine recorded;
    for (const PlacedRun& run : line) {
        if (recorded.text.size() < run.column - 1) {
            recorded.text += QString(run.column - 1 - recorded.text.size(), QLatin1Char(' '));
        }
        recorded.text += run.text;
        recorded.columns << run.column;
    }
    recorded.font = font().name;
    recorded.size = font().size;
    recorded.bold = font().bold;
    recorded.page = page;
    lines << recorded;
}

double RecordingPrinter::pictureHeight(const QByteArray& /*png*/, double /*width*/) {
    return static_cast<double>(pictureLines_);
}

void RecordingPrinter::drawPicture(const QByteArray& /*png*/, double /*y*/, double /*width*/, double /*height*/) {
    RecordedLine recorded;
    recorded.text = QStringLiteral("[Dessin]");
    recorded.columns << 1;
    recorded.font = font().name;
    recorded.size = font().size;
    recorded.bold = font().bold;
    recorded.page = page_;
    lines << recorded;
}

} // namespace kelvane::services
