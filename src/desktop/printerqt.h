#pragma once

#include "platform/error.h"
#include "platform/services/printer.h"

#include <QFont>
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace kelvane::desktop {

// The margins of every printed page, in millimetres.
inline constexpr double MargeImpressionMm = 15.0;

// A printer that paints its lines on a paged device: a column is the average character width of the current
// font (the frequency-weighted mean of its lowercase letters and blank), a line is its line spacing, and the page is
// the device's area inside the margins. A text that would pass the right margin goes on at the left margin of the next
// line rather than off the paper.
class PaintedPrinter : public services::LinePrinter {
public:
    ~PaintedPrinter() override;

protected:
    // The device of a new document, margins set. Throws when there is none.
    virtual QPagedPaintDevice* openDevice() = 0;
    // The error raised when the painting cannot begin on the device just opened.
    virtual Error cannotBegin() const = 0;
    // After the painter has ended: checks that the job went out and says where.
    virtual services::PrintOutcome closeDevice() = 0;
    // After a failure, while the painter still paints: cancels the job where the device can.
    virtual void abortJob() noexcept {}
    // After a failure, once the painter has ended: drops the device and whatever it holds.
    virtual void dropDevice() noexcept = 0;

    void startDocument() override;
    services::PrintOutcome finishDocument() override;
    void abandonDocument() noexcept override;
    void fontChanged() override;
    services::LineMetrics metrics() override;
    double lineHeight() override;
    double pageHeight() override;
    void newPage() override;
    void drawLine(const services::PlacedLine& line, double y, int page) override;
    double pictureHeight(const QByteArray& png, double width) override;
    void drawPicture(const QByteArray& png, double y, double width, double height) override;

private:
    QPainter painter_;
    QPagedPaintDevice* device_ = nullptr;
    QFont qfont_;
};

// The system's printer: the default one when no name is given, looked up afresh at each document.
class QtPrinter final : public PaintedPrinter {
public:
    explicit QtPrinter(QString printerName = {});
    ~QtPrinter() override;

protected:
    QPagedPaintDevice* openDevice() override;
    Error cannotBegin() const override;
    services::PrintOutcome closeDevice() override;
    void abortJob() noexcept override;
    void dropDevice() noexcept override;

private:
    QString printerName_;
    std::unique_ptr<QPrinter> printer_;
};

// A PDF file of A4 pages at the given path; a file already there is replaced.
class PdfPrinter final : public PaintedPrinter {
public:
    explicit PdfPrinter(QString path);
    ~PdfPrinter() override;

    const QString& path() const { return path_; }

protected:
    QPagedPaintDevice* openDevice() override;
    Error cannotBegin() const override;
    services::PrintOutcome closeDevice() override;
    void dropDevice() noexcept override;

private:
    QString path_;
    std::unique_ptr<QPdfWriter> writer_;
};

// The printer service of the program: each document goes to the default printer when the machine has one,
// otherwise into a PDF in the current folder named after the document (see freePdfPath), never replacing a file.
// endDoc tells which of the two happened.
class SystemPrinter final : public services::PrinterService {
public:
    // The default printer's name, or the empty text when there is none.
    using PrinterLookup = std::function<QString()>;
    static QString defaultPrinterName();

    explicit SystemPrinter(PrinterLookup lookup = &SystemPrinter::defaultPrinterName);
    ~SystemPrinter() override;

    void setDocumentName(const QString& name) override;
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setBold(bool bold) override;
    void printLine(const QList<services::PrintPiece>& pieces = {}) override;
    void printPicture(const QByteArray& png, const QString& title) override;
    void printTitledPicture(const QList<services::PrintPiece>& heading, const QByteArray& png,
                            const QString& title) override;
    services::PrintOutcome endDoc() override;
    void abortDoc() noexcept override;

private:
    services::LinePrinter& document();

    PrinterLookup lookup_;
    QString documentName_;
    services::PrintFont font_;
    std::unique_ptr<services::LinePrinter> current_;
};

} // namespace kelvane::desktop
