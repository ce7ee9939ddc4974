#include "exportations/formatsbilan.h"

#include "bilan/exportbilan.h"
#include "bilan/impressionbilan.h"
#include "classeur/classeur.h"
#include "desktop/printerqt.h"
#include "graphiques/graphiquesclasse.h"
#include "platform/error.h"
#include "platform/temporaryname.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>

namespace kelvane::exportations {

const std::vector<FormatBilan>& formatsBilan() {
    static const std::vector<FormatBilan> formats{
        {QStringLiteral("classeur"), QStringLiteral("xlsx"), QStringLiteral("Classeurs (*.xlsx)"),
         &classeur::ecrireClasseur},
        {QStringLiteral("CSV"), QStringLiteral("csv"), QStringLiteral("Fichiers CSV (*.csv)"), &bilan::ecrireCsv},
        {QStringLiteral("PDF"), QStringLiteral("pdf"), QStringLiteral("Documents PDF (*.pdf)"), &ecrirePdf},
    };
    return formats;
}

const FormatBilan* formatBilan(const QString& extension) {
    const auto& formats = formatsBilan();
    const auto trouve = std::find_if(formats.begin(), formats.end(), [&](const FormatBilan& f) {
        return f.extension.compare(extension, Qt::CaseInsensitive) == 0;
    });
    return trouve != formats.end() ? &*trouve : nullptr;
}

void ecrirePdf(const QString& chemin, const bilan::Classe& classe, const bilan::Selection& selection) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        throw Error(errc::PathFileAccess, QStringLiteral("le PDF ne peut être dessiné que par kelvane-outil"));
    }
    // A name reserved beside the PDF, so that the last step is a rename within one folder.
    platform::TemporaryName temporaire(chemin, platform::TemporaryName::Reserve::File);
    {
        desktop::PdfPrinter pdf(temporaire.path());
        pdf.setDocumentName(QStringLiteral("Bilan ") + QFileInfo(classe.dossier).fileName());
        try {
            bilan::imprimerBilan(pdf, classe, selection, graphiques::illustrationsBilan);
        } catch (...) {
            pdf.abortDoc();
            throw;
        }
    }
    if (temporaire.moveIntoPlace(platform::IfExists::Replace).outcome != platform::Placement::Placed) {
        throw Error(errc::PathFileAccess, QStringLiteral("le fichier ne peut pas prendre son nom"));
    }
}

} // namespace kelvane::exportations
