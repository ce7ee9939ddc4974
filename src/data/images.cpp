#include "data/images.h"

#include "data/ecriture.h"
#include "platform/db/recordset.h"
#include "platform/db/tabledef.h"
#include "platform/error.h"

#include <QFile>

namespace kelvane::data {

const std::optional<Image>& ImagesQuestion::place(int place) const {
    return place == 0 ? question : reponses[static_cast<std::size_t>(place - 1)];
}

std::optional<Image>& ImagesQuestion::place(int place) {
    return place == 0 ? question : reponses[static_cast<std::size_t>(place - 1)];
}

int ImagesQuestion::nombre() const {
    int n = question ? 1 : 0;
    for (const std::optional<Image>& image : reponses) {
        n += image ? 1 : 0;
    }
    return n;
}

int nombreImages(const ImagesTest& images) {
    int n = 0;
    for (const auto& [numero, question] : images) {
        n += question.nombre();
    }
    return n;
}

const Image* trouverImage(const ImagesTest& images, int numero, int place) {
    const auto it = images.find(numero);
    if (it == images.end() || place < 0 || place >= kPlacesImage) {
        return nullptr;
    }
    const std::optional<Image>& image = it->second.place(place);
    return image ? &*image : nullptr;
}

QString formatImage(const QByteArray& octets) {
    if (octets.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n"))) {
        return QStringLiteral("PNG");
    }
    if (octets.startsWith(QByteArrayLiteral("\xff\xd8\xff"))) {
        return QStringLiteral("JPEG");
    }
    return {};
}

QString extensionImage(const QByteArray& octets) {
    return formatImage(octets).toLower().replace(QStringLiteral("jpeg"), QStringLiteral("jpg"));
}

QString refusTailleImage(const QString& nom, qint64 octets) {
    return octets > kOctetsImageMax ? QStringLiteral("« %1 » dépasse 1 Mio (%2 Kio)").arg(nom).arg(octets / 1024)
                                    : QString();
}

QString refusImage(const Image& image) {
    if (image.octets.isEmpty()) {
        return QStringLiteral("« %1 » est vide").arg(image.nom);
    }
    if (const QString refus = refusTailleImage(image.nom, image.octets.size()); !refus.isEmpty()) {
        return refus;
    }
    if (formatImage(image.octets).isEmpty()) {
        return QStringLiteral("« %1 » n'est ni un PNG ni un JPEG").arg(image.nom);
    }
    if (image.nom.size() > kTailleNomImage) {
        return QStringLiteral("le nom de « %1 » dépasse %2 caractères").arg(image.nom.left(40)).arg(kTailleNomImage);
    }
    return {};
}

std::variant<Image, QString> lireFichierImage(const QString& chemin, const QString& nom) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        return QStringLiteral("« %1 » ne peut pas être lu (%2)").arg(nom, fichier.errorString());
    }
    if (QString refus = refusTailleImage(nom, fichier.size()); !refus.isEmpty()) {
        return refus;
    }
    Image image{nom, fichier.read(kOctetsImageMax + 1)};
    if (QString refus = refusImage(image); !refus.isEmpty()) {
        return refus;
    }
    return image;
}

void ecrireImages(db::Database& base, const ImagesTest& images) {
    if (images.empty()) {
        return;
    }
    creerTable(base, kTableImages, kChampsImages);

    db::Recordset rs = base.OpenRecordset(kTableImages);
    for (const auto& [numero, question] : images) {
        for (int place = 0; place < kPlacesImage; ++place) {
            const std::optional<Image>& image = question.place(place);
            if (!image) {
                continue;
            }
            rs.AddNew();
            rs.SetField(0, numero);
            rs.SetField(1, place);
            rs.SetField(2, image->nom);
            rs.SetField(3, image->octets);
            rs.Update();
        }
    }
}

ImagesTest lireImages(db::Database& base) {
    ImagesTest images;
    if (!base.TableDefs().Names().contains(kTableImages, Qt::CaseInsensitive)) {
        return images;
    }
    db::Recordset rs = base.OpenRecordset(kTableImages);
    const int numero = rs.FieldIndex(QStringLiteral("numero"));
    const int place = rs.FieldIndex(QStringLiteral("place"));
    const int nom = rs.FieldIndex(QStringLiteral("nom"));
    const int octets = rs.FieldIndex(QStringLiteral("octets"));
    for (int i = 0; i < rs.RecordCount(); ++i) {
        rs.setAbsolutePosition(i);
        bool numeroLu = false;
        bool placeLue = false;
        const int n = rs.Fields(numero).toInt(&numeroLu);
        const int p = rs.Fields(place).toInt(&placeLue);
        const QByteArray b = rs.Fields(octets).toByteArray();
        if (!numeroLu || !placeLue || p < 0 || p >= kPlacesImage || b.isEmpty() || b.size() > kOctetsImageMax ||
            trouverImage(images, n, p) != nullptr) {
            continue;
        }
        images[n].place(p) = Image{rs.Fields(nom).toString(), b};
    }
    return images;
}

ImagesTest lireImagesSiLisibles(db::Database& base) {
    try {
        return lireImages(base);
    } catch (const Error&) {
        return {};
    }
}

} // namespace kelvane::data
