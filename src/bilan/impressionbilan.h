#pragma once

#include "bilan/bilan.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace kelvane::services {
class PrinterService;
struct PrintOutcome;
struct Services;
} // namespace kelvane::services

namespace kelvane::bilan {

// A picture of the printout, drawn by whoever can (the core draws none): a PNG and its title.
struct Image {
    QString titre;
    QByteArray png;
};
// The pictures of one test over the selection, printed after its questions; none when not given.
using Illustrations =
    std::function<std::vector<Image>(const Classe& classe, const QString& test, const Selection& selection)>;

// Prints the summary as one document: the class line by line, then per test its questions hardest first, its
// levels x chapters and its pictures. Throws kelvane::Error; the caller aborts the document.
services::PrintOutcome imprimerBilan(services::PrinterService& imprimante, const Classe& classe,
                                     const Selection& selection, const Illustrations& illustrations = {});

// The print button of the class view: like the results report, a box says where the PDF went when no printer took
// it, and a failure is shown, never thrown. Returns whether the summary went out.
bool imprimerBilan(const services::Services& services, const Classe& classe, const Selection& selection,
                   const Illustrations& illustrations = {});

} // namespace kelvane::bilan
