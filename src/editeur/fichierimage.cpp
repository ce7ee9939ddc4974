#include "editeur/fichierimage.h"

#include "widgets/lectureimage.h"

#include <QFile>
#include <QFileInfo>

namespace kelvane::editeur {

std::variant<data::Image, QString> lireFichierImage(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        return QStringLiteral("« %1 » ne peut pas être lu (%2)").arg(nom, fichier.errorString());
    }
    if (const QString refus = data::refusTailleImage(nom, fichier.size()); !refus.isEmpty()) {
        return refus;
    }
    data::Image image{nom, fichier.read(data::kOctetsImageMax + 1)};
    if (const QString refus = data::refusImage(image); !refus.isEmpty()) {
        return refus;
    }
    if (const widgets::ImageLue lue = widgets::lireImage(image.octets); !lue.ok()) {
        return QStringLiteral("« %1 » est illisible : %2").arg(nom, lue.refus);
    }
    return image;
}

} // namespace kelvane::editeur
