#include "data/images.h"
#include "data/reglesfichiers.h"
#include "data/test.h"
#include "support/fixtures.h"
#include "support/imagesessai.h"
#include "widgets/lectureimage.h"
#include "widgets/vignette.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kelvane;

namespace {

using imagesessai::encoder;

QByteArray png(int largeur, int hauteur) {
    return imagesessai::image(largeur, hauteur);
}

void ecrireGrandBoutiste(QByteArray& octets, int position, quint32 valeur) {
    for (int i = 0; i < 4; ++i) {
        octets[position + i] = static_cast<char>((valeur >> (24 - 8 * i)) & 0xff);
    }
}

quint32 crc32(const QByteArray& octets) {
    quint32 crc = 0xffffffffU;
    for (const char c : octets) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xedb88320U & (0U - (crc & 1U)));
        }
    }
    return ~crc;
}

// A PNG of 8 × 8 pixels whose header announces another size, with a check sum that matches the lie.
QByteArray pngMenteur(quint32 largeur, quint32 hauteur) {
    QByteArray octets = png(8, 8);
    ecrireGrandBoutiste(octets, 16, largeur);
    ecrireGrandBoutiste(octets, 20, hauteur);
    ecrireGrandBoutiste(octets, 29, crc32(octets.mid(12, 17)));
    return octets;
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT

private slots:
    // Only a small PNG or JPEG is decoded; whatever else, however it lies, is refused with a reason.
    void decodingIsCareful_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<bool>("lisible");
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        QTest::newRow("PNG") << png(64, 48) << true;
        QTest::newRow("JPEG") << encoder(photo, "JPEG") << true;
        QTest::newRow("PNG of 4096 pixels a side") << png(4096, 1) << true;
        QTest::newRow("PNG of 4097 pixels") << png(4097, 1) << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("random bytes") << QByteArray(5000, '\x42') << false;
        QTest::newRow("GIF") << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14) << false;
        QTest::newRow("PNG signature only") << QByteArray("\x89PNG\r\n\x1a\n", 8) << false;
        QTest::newRow("truncated PNG") << png(200, 200).left(60) << false;
        QTest::newRow("header claims 100000 pixels") << pngMenteur(100000, 100000) << false;
        QTest::newRow("header claims 4000 x 4000") << pngMenteur(4000, 4000) << false;
        QTest::newRow("JPEG start only") << encoder(photo, "JPEG").left(20) << false;
        QByteArray gros = png(16, 16);
        gros.append(QByteArray(data::kOctetsImageMax, '\0'));
        QTest::newRow("over 1 MiB") << gros << false;
    }
    void decodingIsCareful() {
        QFETCH(QByteArray, octets);
        QFETCH(bool, lisible);
        const widgets::ImageLue lue = widgets::lireImage(octets);
        QCOMPARE(lue.ok(), lisible);
        QCOMPARE(lue.refus.isEmpty(), lisible);
    }

    void refusalsNameThePicture_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("refus");
        QTest::newRow("PNG") << png(4, 4) << QString();
        QTest::newRow("empty") << QByteArray() << QStringLiteral("« a.png » est vide");
        QTest::newRow("GIF") << QByteArray("GIF89a", 6) << QStringLiteral("« a.png » n'est ni un PNG ni un JPEG");
        QTest::newRow("too big") << QByteArray(data::kOctetsImageMax + 1, '\xff')
                                 << QStringLiteral("« a.png » dépasse 1 Mio (1024 Kio)");
    }
    void refusalsNameThePicture() {
        QFETCH(QByteArray, octets);
        QFETCH(QString, refus);
        QCOMPARE(data::refusImage({QStringLiteral("a.png"), octets}), refus);
    }

    // The table comes back as written, leaves a test a test, and a stray record is passed over.
    void theTableRoundTripsAndKeepsTheFileATest() {
        QTemporaryDir dossier;
        fixtures::Test test;
        test.questions = fixtures::questionsSimples(3);
        const QString chemin = fixtures::creerTest(dossier.filePath(QStringLiteral("B1V.mdb")), test);
        data::ImagesTest images;
        images[1].question = data::Image{QStringLiteral("disjoncteur.png"), png(10, 10)};
        images[3].reponses[4] = data::Image{QStringLiteral("É cadenas.png"), png(3, 7)};
        {
            db::Database base = db::OpenDatabase(chemin);
            data::ecrireImages(base, images);
            db::Recordset rs = base.OpenRecordset(data::kTableImages);
            for (const int place : {9, 2}) { // out of range, then a second picture for place 0 of question 1
                rs.AddNew();
                rs.SetField(0, 1);
                rs.SetField(1, place == 9 ? 9 : 0);
                rs.SetField(2, QStringLiteral("intrus.png"));
                rs.SetField(3, png(2, 2));
                rs.Update();
            }
        }
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        QVERIFY(data::estTest(base));
        const data::ImagesTest lues = data::lireImages(base);
        QCOMPARE(lues, images);
        QCOMPARE(data::nombreImages(lues), 2);
        QVERIFY(data::trouverImage(lues, 2, 0) == nullptr);
        QCOMPARE(data::trouverImage(lues, 3, 5)->nom, QStringLiteral("É cadenas.png"));
    }

    // A foreign or damaged pictures table never keeps the test from being read: wrong columns give no picture.
    void aForeignPicturesTableIsPassedOver() {
        QTemporaryDir dossier;
        fixtures::Test test;
        test.questions = fixtures::questionsSimples(2);
        test.tablesEnPlus = {data::kTableImages}; // one text column only
        const QString chemin = fixtures::creerTest(dossier.filePath(QStringLiteral("B1V.mdb")), test);
        db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
        QVERIFY(data::estTest(base));
        QVERIFY(data::lireImagesSiLisibles(base).empty());
        const auto lu = data::lireTest(chemin);
        QVERIFY(std::holds_alternative<data::Test>(lu));
        QVERIFY(std::get<data::Test>(lu).images.empty());
    }

    // A vignette shows the placeholder for bad bytes; a good one opens larger and Escape closes it.
    void theVignetteShowsAndEnlarges() {
        widgets::Vignette vignette;
        vignette.resize(120, 80);
        vignette.montrer(QByteArray("pas une image"), QStringLiteral("x"));
        QVERIFY(vignette.isVisibleTo(nullptr) || !vignette.isHidden());
        QCOMPARE(vignette.text(), widgets::kImageIllisible);

        vignette.montrer(png(600, 200), QStringLiteral("Schéma"));
        vignette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&vignette));
        QVERIFY(vignette.pixmap().width() <= 120 * vignette.devicePixelRatioF());
        QString titre;
        QTimer::singleShot(0, [&titre] {
            auto* fenetre = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(fenetre != nullptr);
            titre = fenetre->windowTitle();
            QTest::keyClick(fenetre, Qt::Key_Escape);
        });
        QTest::mouseClick(&vignette, Qt::LeftButton);
        QCOMPARE(titre, QStringLiteral("Schéma"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        vignette.montrer(QByteArray(), QString());
        QVERIFY(vignette.isHidden());
    }
};

QTEST_MAIN(TestImages)
#include "tst_images.moc"
