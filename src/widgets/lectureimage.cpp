#include "widgets/lectureimage.h"

#include "data/images.h"

#include <QBuffer>
#include <QImageReader>

namespace kelvane::widgets {

namespace {

// The decoder's memory cap, in MiB: a 4096 × 4096 picture in 32 bits takes 64 MiB.
constexpr int kMemoireDecodageMio = 80;

} // namespace

ImageLue lireImage(const QByteArray& octets) {
    const QString format = data::formatImage(octets);
    if (format.isEmpty() || octets.size() > data::kOctetsImageMax) {
        return {{}, QStringLiteral("ni un PNG ni un JPEG de 1 Mio au plus")};
    }
    QBuffer tampon;
    tampon.setData(octets);
    tampon.open(QIODevice::ReadOnly);
    QImageReader lecteur(&tampon, format.toLatin1());
    lecteur.setDecideFormatFromContent(false);
    lecteur.setAllocationLimit(kMemoireDecodageMio);
    const QSize taille = lecteur.size();
    if (!taille.isValid() || taille.isEmpty()) {
        return {{}, QStringLiteral("taille illisible")};
    }
    if (taille.width() > data::kCoteImageMax || taille.height() > data::kCoteImageMax) {
        return {{},
                QStringLiteral("%1 × %2 pixels : plus de %3 pixels de côté")
                    .arg(taille.width())
                    .arg(taille.height())
                    .arg(data::kCoteImageMax)};
    }
    QImage image = lecteur.read();
    if (image.isNull()) {
        return {{}, lecteur.errorString()};
    }
    // A header that lies about the size is caught here: the decoded picture is what counts.
    if (image.width() > data::kCoteImageMax || image.height() > data::kCoteImageMax) {
        return {{}, QStringLiteral("plus de %1 pixels de côté").arg(data::kCoteImageMax)};
    }
    return {std::move(image), {}};
}

} // namespace kelvane::widgets
