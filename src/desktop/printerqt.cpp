#include "desktop/printerqt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <array>

namespace kelvane::desktop {

using namespace kelvane::services;

namespace {

const QMarginsF Marges(MargeImpressionMm, MargeImpressionMm, MargeImpressionMm, MargeImpressionMm);

// The average character width as fonts used to state it: the mean advance of the lowercase letters and the
// blank, weighted by how often each comes in a text. Newer font files average over every glyph instead (Liberation
// Sans says 0.59 em where Arial says 0.44 em), which would push column 110 of a report off an A4 page.
double columnWidth(const QFontMetricsF& fm) {
    static constexpr std::array<int, 26> weights{64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                                 56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
    double sum = 166.0 * fm.horizontalAdvance(QLatin1Char(' '));
    for (std::size_t i = 0; i < weights.size(); ++i) {
        sum += weights[i] * fm.horizontalAdvance(QLatin1Char(static_cast<char>('a' + i)));
    }
    const double width = sum / 1000.0;
    return width > 0.0 ? width : fm.averageCharWidth();
}

QString nomDocument(const QString& name) {
    return name.isEmpty() ? QStringLiteral("Kelvane") : name;
}

} // namespace

// --- PaintedPrinter ---

PaintedPrinter::~PaintedPrinter() = default;

void PaintedPrinter::startDocument() {
    device_ = openDevice();
    if (!painter_.begin(device_)) {
        const Error error = cannotBegin();
        device_ = nullptr;
        dropDevice();
        throw error;
    }
}

PrintOutcome PaintedPrinter::finishDocument() {
    device_ = nullptr;
    if (!painter_.end()) {
        // The engine could not finish the job (a full disk, a printer gone): the device is dropped all the same.
        const Error error = cannotBegin();
        dropDevice();
        throw error;
    }
    return closeDevice();
}

void PaintedPrinter::abandonDocument() noexcept {
    abortJob(); // a printer is told while its job is still open
    if (painter_.isActive()) {
        painter_.end();
    }
    device_ = nullptr;
    dropDevice();
}

void PaintedPrinter::fontChanged() {
    qfont_ = QFont(font().name);
    qfont_.setStyleHint(QFont::SansSerif);
    qfont_.setPointSizeF(font().size);
    qfont_.setBold(font().bold);
    painter_.setFont(qfont_);
}

LineMetrics PaintedPrinter::metrics() {
    const QFontMetricsF fm(qfont_, device_);
    return LineMetrics{columnWidth(fm), [fm](const QString& text) { return fm.horizontalAdvance(text); },
                       static_cast<double>(device_->width())};
}

double PaintedPrinter::lineHeight() {
    return QFontMetricsF(qfont_, device_).lineSpacing();
}

double PaintedPrinter::pageHeight() {
    return static_cast<double>(device_->height());
}

void PaintedPrinter::newPage() {
    if (!device_->newPage()) {
        throw Error(ErreurImprimante, QStringLiteral("Impossible de commencer une nouvelle page du document « %1 »")
                                          .arg(nomDocument(documentName())));
    }
}

void PaintedPrinter::drawLine(const PlacedLine& line, double y, int /*page*/) {
    const double baseline = y + QFontMetricsF(qfont_, device_).ascent();
    for (const PlacedRun& run : line) {
        painter_.drawText(QPointF(run.x, baseline), run.text);
    }
}

// A picture keeps its proportions: as wide as the text, or less when the page's height limits it.
double PaintedPrinter::pictureHeight(const QByteArray& png, double width) {
    const QImage image = QImage::fromData(png);
    if (image.isNull() || image.width() == 0) {
        return 0.0;
    }
    return width * image.height() / image.width();
}

void PaintedPrinter::drawPicture(const QByteArray& png, double y, double width, double height) {
    const QImage image = QImage::fromData(png);
    const QSizeF taille = QSizeF(image.size()).scaled(width, height, Qt::KeepAspectRatio);
    painter_.drawImage(QRectF(QPointF((width - taille.width()) / 2.0, y), taille), image);
}

// --- QtPrinter ---

QtPrinter::QtPrinter(QString printerName) : printerName_(std::move(printerName)) {}

QtPrinter::~QtPrinter() {
    abortDoc();
}

QPagedPaintDevice* QtPrinter::openDevice() {
    const QPrinterInfo info =
        printerName_.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printerName_);
    if (info.isNull()) {
        throw Error(ErreurImprimante,
                    printerName_.isEmpty()
                        ? QStringLiteral("Aucune imprimante par défaut n'est installée")
                        : QStringLiteral("L'imprimante « %1 » n'est pas installée").arg(printerName_));
    }
    printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer_->setDocName(nomDocument(documentName()));
    printer_->setFullPage(false);
    printer_->setPageMargins(Marges, QPageLayout::Millimeter);
    return printer_.get();
}

Error QtPrinter::cannotBegin() const {
    const QString nom = printer_ ? printer_->printerName() : printerName_;
    return Error(ErreurImprimante, QStringLiteral("Impossible d'imprimer sur l'imprimante « %1 »").arg(nom));
}

PrintOutcome QtPrinter::closeDevice() {
    const bool failed = printer_->printerState() == QPrinter::Error || printer_->printerState() == QPrinter::Aborted;
    const QString nom = printer_->printerName();
    printer_.reset();
    if (failed) {
        throw Error(ErreurImprimante, QStringLiteral("L'imprimante « %1 » a refusé le document").arg(nom));
    }
    return PrintOutcome{false, {}, nom};
}

void QtPrinter::abortJob() noexcept {
    if (printer_) {
        printer_->abort();
    }
}

void QtPrinter::dropDevice() noexcept {
    printer_.reset();
}

// --- PdfPrinter ---

PdfPrinter::PdfPrinter(QString path) : path_(std::move(path)) {}

PdfPrinter::~PdfPrinter() {
    abortDoc();
}

QPagedPaintDevice* PdfPrinter::openDevice() {
    writer_ = std::make_unique<QPdfWriter>(path_);
    writer_->setTitle(nomDocument(documentName()));
    writer_->setCreator(QStringLiteral("Kelvane"));
    writer_->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, Marges, QPageLayout::Millimeter));
    return writer_.get();
}

Error PdfPrinter::cannotBegin() const {
    return Error(errc::PathFileAccess,
                 QStringLiteral("Impossible d'écrire le fichier %1").arg(QDir::toNativeSeparators(path_)));
}

PrintOutcome PdfPrinter::closeDevice() {
    writer_.reset();
    const QFileInfo written(path_);
    if (!written.exists() || written.size() == 0) {
        throw cannotBegin();
    }
    const QString full = QDir::toNativeSeparators(written.absoluteFilePath());
    return PrintOutcome{true, full, full};
}

void PdfPrinter::dropDevice() noexcept {
    if (writer_) {
        writer_.reset();
        // Half a report that nobody is told about is no use: the file goes.
        QFile::remove(path_);
    }
}

// --- SystemPrinter ---

QString SystemPrinter::defaultPrinterName() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? QString() : info.printerName();
}

SystemPrinter::SystemPrinter(PrinterLookup lookup) : lookup_(std::move(lookup)) {}

SystemPrinter::~SystemPrinter() {
    abortDoc();
}

LinePrinter& SystemPrinter::document() {
    if (!current_) {
        const QString printer = lookup_ ? lookup_() : QString();
        if (printer.isEmpty()) {
            current_ = std::make_unique<PdfPrinter>(freePdfPath(QDir::currentPath(), documentName_));
        } else {
            current_ = std::make_unique<QtPrinter>(printer);
        }
        current_->setDocumentName(documentName_);
        current_->setFontName(font_.name);
        current_->setFontSize(font_.size);
        current_->setBold(font_.bold);
    }
    return *current_;
}

void SystemPrinter::setDocumentName(const QString& name) {
    documentName_ = name;
    if (current_) {
        current_->setDocumentName(name);
    }
}

void SystemPrinter::setFontName(const QString& name) {
    font_.name = name;
    if (current_) {
        current_->setFontName(name);
    }
}

void SystemPrinter::setFontSize(double points) {
    font_.size = points;
    if (current_) {
        current_->setFontSize(points);
    }
}

void SystemPrinter::setBold(bool bold) {
    font_.bold = bold;
    if (current_) {
        current_->setBold(bold);
    }
}

void SystemPrinter::printPicture(const QByteArray& png, const QString& title) {
    try {
        document().printPicture(png, title);
    } catch (...) {
        abortDoc();
        throw;
    }
}

void SystemPrinter::printTitledPicture(const QList<PrintPiece>& heading, const QByteArray& png, const QString& title) {
    try {
        document().printTitledPicture(heading, png, title);
    } catch (...) {
        abortDoc();
        throw;
    }
}

void SystemPrinter::printLine(const QList<PrintPiece>& pieces) {
    try {
        document().printLine(pieces);
    } catch (...) {
        abortDoc();
        throw;
    }
}

PrintOutcome SystemPrinter::endDoc() {
    std::unique_ptr<LinePrinter> printer;
    document();
    printer.swap(current_);
    return printer->endDoc();
}

void SystemPrinter::abortDoc() noexcept {
    if (current_) {
        current_->abortDoc();
        current_.reset();
    }
}

} // namespace kelvane::desktop
