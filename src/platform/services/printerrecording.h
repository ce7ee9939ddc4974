#pragma once

#include "platform/services/printer.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane::services {

// A printed line as the recording printer keeps it: its text with blanks up to the column of each piece, the
// columns where its pieces start, and the font and page it was printed in.
struct RecordedLine {
    QString text;
    QList<int> columns;
    QString font;
    double size = 0.0;
    bool bold = false;
    int page = 1;
};

// The printer of the tests: one character is one column, every line is one unit high, and a page holds
// linesPerPage lines (0: a single endless page). A picture is named by a line, or, when pictureLines is above 0,
// drawn that many lines high and recorded as one line "[Dessin]" at its top. Nothing leaves the process.
class RecordingPrinter final : public LinePrinter {
public:
    explicit RecordingPrinter(int linesPerPage = 0, int pictureLines = 0)
        : linesPerPage_(linesPerPage), pictureLines_(pictureLines) {}

    // Every line printed since construction or the last clear(), documents one after the other.
    QList<RecordedLine> lines;
    int documentsEnded = 0;
    int documentsAborted = 0;
    // When not empty, the next endDoc fails with this text, as a printer that refuses the job would.
    QString failure;

    QStringList texts() const;
    void clear();

protected:
    void startDocument() override { page_ = 1; }
    PrintOutcome finishDocument() override;
    void abandonDocument() noexcept override { ++documentsAborted; }
    LineMetrics metrics() override;
    double lineHeight() override { return 1.0; }
    double pageHeight() override;
    void newPage() override { ++page_; }
    void drawLine(const PlacedLine& line, double y, int page) override;
    double pictureHeight(const QByteArray& png, double width) override;
    void drawPicture(const QByteArray& png, double y, double width, double height) override;

private:
    int linesPerPage_;
    int pictureLines_;
    int page_ = 1; // the page being printed
};

} // namespace kelvane::services
