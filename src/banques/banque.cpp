#include "banques/banque.h"

#include <algorithm>

namespace kelvane::banques {

int ImagesQuestion::nombre() const {
    return (question ? 1 : 0) + static_cast<int>(std::count_if(reponses.begin(), reponses.end(),
                                                               [](const auto& i) { return i.has_value(); }));
}

QStringList lignesRapport(const Rapport& rapport) {
    QStringList lignes;
    for (const QuestionEcartee& e : rapport.ecartees) {
        lignes << QStringLiteral("ligne %1, « %2 » : %3").arg(e.ligne).arg(e.titre, e.raison);
    }
    return lignes + rapport.notes;
}

QString extensionImage(const QByteArray& octets) {
    if (octets.startsWith("\x89PNG\r\n\x1a\n")) {
        return QStringLiteral("png");
    }
    if (octets.startsWith("\xFF\xD8\xFF")) {
        return QStringLiteral("jpg");
    }
    return QString();
}

std::optional<QString> refusImage(const Image& image) {
    if (image.octets.size() > kTailleMaxImage) {
        return QStringLiteral("%1 octets, 1 Mio (%2 octets) au plus").arg(image.octets.size()).arg(kTailleMaxImage);
    }
    if (extensionImage(image.octets).isEmpty()) {
        return QStringLiteral("ni PNG ni JPEG");
    }
    return std::nullopt;
}

} // namespace kelvane::banques
