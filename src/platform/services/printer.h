#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <limits>

namespace kelvane::services {

// One piece of a printed line: a text printed as it is, a number printed as its decimal digits with one blank
// before (a minus for a negative number) and one blank after, or Tab(n), a move to column n.
class PrintPiece {
public:
    enum class Kind { Text, Number, Tab };

    PrintPiece(const QString& text) : kind_(Kind::Text), text_(text) {} // NOLINT: texts read naturally in a line
    PrintPiece(const char* text) : kind_(Kind::Text), text_(QString::fromUtf8(text)) {} // NOLINT

    static PrintPiece ofNumber(qint64 value) { return PrintPiece(Kind::Number, value); }
    static PrintPiece ofTab(int column) { return PrintPiece(Kind::Tab, column); }

    Kind kind() const { return kind_; }
    qint64 value() const { return value_; }
    // What the piece prints: the text, or the number with its blanks; nothing for a tab.
    QString printed() const;

private:
    PrintPiece(Kind kind, qint64 value) : kind_(kind), value_(value) {}

    Kind kind_;
    QString text_;
    qint64 value_ = 0;
};

inline PrintPiece Tab(int column) {
    return PrintPiece::ofTab(column);
}
inline PrintPiece NumberPiece(qint64 value) {
    return PrintPiece::ofNumber(value);
}

// " 12 ", "-3 ".
QString printedNumber(qint64 value);

// Where a finished document went: to a printer, named, or into a PDF file, when no printer could take it.
struct PrintOutcome {
    bool toPdf = false;
    QString path;        // the PDF file's full path when toPdf
    QString description; // the printer's name, or the file's path
};

// Error number of a printer that refuses a job or a page.
inline constexpr int ErreurImprimante = 482;

// The full path of a PDF named after `name` (its folder and last extension dropped; "Rapport" when nothing is
// left) in `folder` that no file holds yet: stem.pdf, else stem-1.pdf, stem-2.pdf...
QString freePdfPath(const QString& folder, const QString& name);

// The printer as the reports see it: a font, lines printed one after the other from the top of the page, a new
// page whenever a line would pass the bottom, and the end of the document that sends the job. The first call
// after construction or after endDoc begins a new document. Failures raise kelvane::Error with a French text.
class PrinterService {
public:
    virtual ~PrinterService() = default;

    // The job's name, as the print queue shows it; also the name of a PDF written in a printer's stead.
    virtual void setDocumentName(const QString& name) = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool bold) = 0;
    // One line of pieces, then a line break; no pieces print an empty line.
    virtual void printLine(const QList<PrintPiece>& pieces = {}) = 0;
    // A picture (PNG bytes) below the last line, as wide as the text at most, on a new page when the rest of this
    // one is too short. A printer that draws no pictures prints "[Image : title]" as a line instead.
    virtual void printPicture(const QByteArray& png, const QString& title) = 0;
    // The heading's line in the current font, then the picture under it, kept on one page: a new page first when
    // the rest of this one holds the heading but not the picture. A printer that draws no pictures prints the
    // heading, then "[Image : title]".
    virtual void printTitledPicture(const QList<PrintPiece>& heading, const QByteArray& png, const QString& title) = 0;
    // Ends the document and sends it.
    virtual PrintOutcome endDoc() = 0;
    // Drops the document begun, after a failure; never throws. Nothing happens when none is begun.
    virtual void abortDoc() noexcept = 0;
};

// A text placed on a physical line: x from the left margin, in the units of the metrics, and the column it
// starts in (1 at the left margin).
struct PlacedRun {
    QString text;
    double x = 0.0;
    int column = 1;
};
using PlacedLine = QList<PlacedRun>;

// The measures of the current font that the column arithmetic needs.
struct LineMetrics {
    double columnWidth = 1.0; // width of an average character: one column
    std::function<double(const QString&)> textWidth;
    // Width from the left margin to the right one; a text that would pass it goes on at the left margin of the
    // next line, cut after its last blank that fits, or anywhere when none does.
    double rightLimit = std::numeric_limits<double>::infinity();
};

// The physical lines of one printed line: usually one; more when a tab sends the rest to the next line or a
// text passes the right margin. Empty texts and numbers take no place and give no run.
QList<PlacedLine> layoutLine(const QList<PrintPiece>& pieces, const LineMetrics& metrics);

// The font state of a document.
struct PrintFont {
    QString name = QStringLiteral("Arial");
    double size = 10.0;
    bool bold = false;
};

// The line and page arithmetic that every printer shares: it keeps the font, lays out each line in the current
// font's columns and starts a new page when a line would pass the bottom. Subclasses measure and draw.
class LinePrinter : public PrinterService {
public:
    void setDocumentName(const QString& name) override;
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setBold(bool bold) override;
    void printLine(const QList<PrintPiece>& pieces = {}) override;
    void printPicture(const QByteArray& png, const QString& title) override;
    void printTitledPicture(const QList<PrintPiece>& heading, const QByteArray& png, const QString& title) override;
    PrintOutcome endDoc() override;
    void abortDoc() noexcept override;

    const PrintFont& font() const { return font_; }
    const QString& documentName() const { return documentName_; }
    bool inDocument() const { return inDocument_; }

protected:
    virtual void startDocument() = 0;
    virtual PrintOutcome finishDocument() = 0;
    virtual void abandonDocument() noexcept = 0;
    virtual void fontChanged() {}
    // The current font's measures, and the height of one of its lines.
    virtual LineMetrics metrics() = 0;
    virtual double lineHeight() = 0;
    virtual double pageHeight() = 0; // between the top and bottom margins
    virtual void newPage() = 0;
    // Draws a physical line whose top stands at y on page `page` (from 1).
    virtual void drawLine(const PlacedLine& line, double y, int page) = 0;
    // The height of a picture drawn `width` wide at most, 0 when this printer draws none or cannot read it.
    virtual double pictureHeight(const QByteArray& /*png*/, double /*width*/) { return 0.0; }
    virtual void drawPicture(const QByteArray& /*png*/, double /*y*/, double /*width*/, double /*height*/) {}

private:
    void begin();

    PrintFont font_;
    QString documentName_;
    bool inDocument_ = false;
    double y_ = 0.0;
    int page_ = 1;
};

} // namespace kelvane::services
