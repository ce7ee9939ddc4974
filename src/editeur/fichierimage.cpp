#include "editeur/fichierimage.h"

#include "widgets/lectureimage.h"

#include <QFileInfo>

namespace kelvane::editeur {

std::variant<data::Image, QString> lireFichierImage(const QString& chemin) {
    auto lue = data::lireFichierImage(chemin, QFileInfo(chemin).fileName());
    if (const auto* image = std::get_if<data::Image>(&lue)) {
        if (const widgets::ImageLue decodee = widgets::lireImage(image->octets); !decodee.ok()) {
            return QStringLiteral("« %1 » est illisible : %2").arg(image->nom, decodee.refus);
        }
    }
    return lue;
}

} // namespace kelvane::editeur
