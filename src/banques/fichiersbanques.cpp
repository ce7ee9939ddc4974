#include "banques/fichiersbanques.h"

#include "banques/exportgift.h"
#include "banques/exportmoodle.h"
#include "platform/temporaryname.h"

#include <QFileInfo>
#include <algorithm>

namespace kelvane::banques {

void reglerTempsEtTolerance(source::TestSource& source) {
    const auto questions = static_cast<qint64>(source.questions.size());
    source.temps = static_cast<int>(std::min<qint64>(kTempsMaxBanque, kTempsParQuestion * questions));
    source.tolerance = kToleranceBanque;
}

data::Test testImporte(ResultatImport importe, const QString& fichier) {
    data::Test test = source::toTest(importe.source, fichier);
    test.images = std::move(importe.images);
    return test;
}

std::optional<FormatExport> formatExport(const QString& cible) {
    const QString extension = QFileInfo(cible).suffix().toLower();
    if (extension == u"xml") {
        return FormatExport::Moodle;
    }
    if (extension == u"gift") {
        return FormatExport::Gift;
    }
    return std::nullopt;
}

ExportBanque exporterBanque(const QString& test, const QString& cible, FormatExport format) {
    ExportBanque resultat;
    auto lu = data::lireTest(test);
    if (const auto* refus = std::get_if<data::TestRefuse>(&lu)) {
        resultat.fautes << QStringLiteral("%1 : %2").arg(QFileInfo(test).fileName(), refus->message);
        return resultat;
    }
    resultat.test = std::get<data::Test>(std::move(lu));
    const QByteArray texte = format == FormatExport::Gift
                                 ? exporterGift(resultat.test, resultat.test.images, resultat.notes)
                                 : exporterMoodle(resultat.test, resultat.test.images);
    resultat.echec = platform::writeWholeFile(cible, texte);
    return resultat;
}

} // namespace kelvane::banques
