#include "pictures/Orientation.h"
#include "ExifJpeg.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "pictures/JpegLoader.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

#include <array>
#include <climits>

namespace {

using ExifJpeg::WithSegment;
const auto ExifSegment = [](int orientation, bool bigEndian) {
    return ExifJpeg::OrientationSegment(orientation, bigEndian);
};

QColor Nearest(const QColor& colour) {
    const std::array<QColor, 5> known{Qt::red, Qt::green, Qt::blue, Qt::white, Qt::black};
    QColor best;
    int bestDistance = INT_MAX;
    for (const QColor& candidate : known) {
        const int distance = qAbs(colour.red() - candidate.red()) + qAbs(colour.green() - candidate.green()) +
                             qAbs(colour.blue() - candidate.blue());
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

// 64 x 32 as stored: red at the stored top-left, green top-right, blue bottom-left, white bottom-right.
QImage StoredCorners() {
    QImage image(64, 32, QImage::Format_RGB888);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.fillRect(0, 0, 16, 16, Qt::red);
    painter.fillRect(48, 0, 16, 16, Qt::green);
    painter.fillRect(0, 16, 16, 16, Qt::blue);
    painter.fillRect(48, 16, 16, 16, Qt::white);
    return image;
}

QImage Detailed(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uchar((x * 3 + int(random.bounded(40))) & 0xFF);
            row[3 * x + 1] = uchar((y * 2 + int(random.bounded(40))) & 0xFF);
            row[3 * x + 2] = uchar(((x ^ y) + int(random.bounded(40))) & 0xFF);
        }
    }
    return image;
}

// Qt's own mirroring and turning, as the reference for every pixel.
QImage TurnedByQt(const QImage& stored, int orientation) {
    const QImage quarter = stored.transformed(QTransform().rotate(90));
    switch (orientation) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5:
        return quarter.mirrored(true, false);
    case 6:
        return quarter;
    case 7:
        return quarter.mirrored(false, true);
    default:
        return stored.transformed(QTransform().rotate(270));
    }
}

} // namespace

// Photos rotated by their EXIF orientation come out of every loader upright.
class TOrientationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& bytes) {
        return TestFiles::Write(m_dir, name, bytes);
    }

private slots:
    void upright_data() {
        // Where the stored top-left (red), top-right (green) and bottom-left (blue) corners belong,
        // after EXIF's own table of where the stored first row and first column go.
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<QString>("red");
        QTest::addColumn<QString>("green");
        QTest::addColumn<QString>("blue");
        QTest::newRow("1 upright") << 1 << true << "TL"
                                   << "TR"
                                   << "BL";
        QTest::newRow("2 mirrored") << 2 << false << "TR"
                                    << "TL"
                                    << "BR";
        QTest::newRow("3 half turn") << 3 << true << "BR"
                                     << "BL"
                                     << "TR";
        QTest::newRow("4 upside-down mirror") << 4 << false << "BL"
                                              << "BR"
                                              << "TL";
        QTest::newRow("5 transposed") << 5 << true << "TL"
                                      << "BL"
                                      << "TR";
        QTest::newRow("6 quarter clockwise") << 6 << false << "TR"
                                             << "BR"
                                             << "TL";
        QTest::newRow("6 big-endian") << 6 << true << "TR"
                                      << "BR"
                                      << "TL";
        QTest::newRow("7 transversed") << 7 << true << "BR"
                                       << "TR"
                                       << "BL";
        QTest::newRow("8 quarter anticlockwise") << 8 << false << "BL"
                                                 << "TL"
                                                 << "BR";
        QTest::newRow("8 little-endian") << 8 << true << "BL"
                                         << "TL"
                                         << "BR";
    }

    void upright() {
        QFETCH(int, orientation);
        QFETCH(bool, bigEndian);
        QFETCH(QString, red);
        QFETCH(QString, green);
        QFETCH(QString, blue);
        const QImage stored = StoredCorners();
        const QByteArray bytes =
            WithSegment(EncodeJpeg(stored, QStringLiteral("t"), 95), ExifSegment(orientation, bigEndian));
        const QString path = Write(QStringLiteral("o%1.jpg").arg(orientation), bytes);
        const bool swaps = orientation >= 5;
        const QSize upright = swaps ? QSize(32, 64) : QSize(64, 32);

        const auto corner = [](const QImage& image, const QString& where) {
            const int x = where.endsWith(QLatin1Char('L')) ? 4 : image.width() - 5;
            const int y = where.startsWith(QLatin1Char('T')) ? 4 : image.height() - 5;
            return Nearest(image.pixelColor(x, y));
        };
        const TJpegPart header = ReadJpegHeader(path);
        QCOMPARE(header.Orientation, orientation);
        QCOMPARE(header.Upright, upright);
        const QList<std::pair<const char*, QImage>> loads{
            {"file", LoadJpeg(path)},
            {"memory", LoadJpeg(bytes, path)},
            {"scaled", LoadJpegScaled(path, swaps ? QSize(16, 32) : QSize(32, 16))},
            {"part", LoadJpegPart(path, {}, {}).Image},
        };
        for (const auto& [how, image] : loads) {
            const QSize expected = QByteArray(how) == "scaled" ? upright / 2 : upright;
            QVERIFY2(image.size() == expected, how);
            QVERIFY2(image.format() == QImage::Format_RGB888, how);
            QVERIFY2(corner(image, red) == QColor(Qt::red), how);
            QVERIFY2(corner(image, green) == QColor(Qt::green), how);
            QVERIFY2(corner(image, blue) == QColor(Qt::blue), how);
        }
    }

    // A damaged or odd tag never stops the picture from loading; it is then shown as stored.
    void oddExifIsIgnored_data() {
        QTest::addColumn<QByteArray>("segment");
        QTest::newRow("value 0") << ExifSegment(0, true);
        QTest::newRow("value 9") << ExifSegment(9, false);
        QByteArray cut = ExifSegment(6, true);
        cut.truncate(cut.size() - 8);
        cut[3] = char(cut.size() - 2);
        QTest::newRow("entry cut short") << cut;
        QByteArray garbage("\xFF\xE1\x00\x10"
                           "Exif\0\0"
                           "XXXXXXXX",
                           18);
        QTest::newRow("not TIFF") << garbage;
    }

    void oddExifIsIgnored() {
        QFETCH(QByteArray, segment);
        const QByteArray bytes = WithSegment(EncodeJpeg(StoredCorners(), QStringLiteral("t"), 95), segment);
        const QImage image = LoadJpeg(bytes, QStringLiteral("odd"));
        QCOMPARE(image.size(), QSize(64, 32));
        QCOMPARE(Nearest(image.pixelColor(4, 4)), QColor(Qt::red));
    }

    // A region decoded on its own has exactly the pixels of the whole decode, in every orientation
    // and at edges that cut through blocks and chroma samples.
    void regionEqualsWholeDecode_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QRect>("region");
        for (int orientation = 1; orientation <= 8; ++orientation) {
            QTest::addRow("%d top-left", orientation) << orientation << QRect(0, 0, 77, 53);
            QTest::addRow("%d inside", orientation) << orientation << QRect(37, 29, 61, 45);
        }
        QTest::newRow("beyond the picture") << 6 << QRect(150, 250, 500, 500);
        QTest::newRow("all of it") << 1 << QRect(0, 0, 300, 200);
    }

    void regionEqualsWholeDecode() {
        QFETCH(int, orientation);
        QFETCH(QRect, region);
        const QByteArray bytes = WithSegment(EncodeJpeg(Detailed(300, 200), QStringLiteral("t"), 85),
                                             ExifSegment(orientation, orientation % 2 == 0));
        const QString path = Write(QStringLiteral("region.jpg"), bytes);
        const QImage whole = LoadJpeg(path);
        const TJpegPart part = LoadJpegPart(path, region, {});
        QCOMPARE(part.Upright, whole.size());
        const QRect inside = region & whole.rect();
        QCOMPARE(part.Image.size(), inside.size());
        QCOMPARE(part.Image, whole.copy(inside));
    }

    // A progressive file cut short is smoothed block by block from its neighbours' coefficients: a
    // region decoded on its own, cut anywhere, still has the whole decode's pixels.
    void regionOfProgressiveFileCutShort_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QRect>("region");
        QTest::newRow("right edge, one column") << 1 << QRect(299, 0, 1, 200);
        QTest::newRow("a strip inside") << 1 << QRect(141, 37, 23, 101);
        QTest::newRow("turned half round, near the top") << 3 << QRect(0, 5, 1, 31);
        QTest::newRow("turned a quarter, inside") << 6 << QRect(61, 97, 45, 38);
    }
    void regionOfProgressiveFileCutShort() {
        QFETCH(int, orientation);
        QFETCH(QRect, region);
        QByteArray progressive;
        QBuffer buffer(&progressive);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        writer.setQuality(85);
        QVERIFY2(writer.write(Detailed(300, 200)), qPrintable(writer.errorString()));
        // The first two scans only (every DC coefficient, the first luma AC ones), then the end.
        qsizetype third = -1;
        for (int scan = 0; scan < 3; ++scan) {
            third = progressive.indexOf(QByteArray("\xFF\xDA", 2), third + 1);
            QVERIFY(third > 0);
        }
        progressive.truncate(third);
        progressive.append(QByteArray("\xFF\xD9", 2));
        const QString path =
            Write(QStringLiteral("cut.jpg"), WithSegment(progressive, ExifSegment(orientation, false)));
        const QImage whole = LoadJpeg(path);
        const TJpegPart part = LoadJpegPart(path, region, {});
        const QRect inside = region & whole.rect();
        QCOMPARE(part.Image.size(), inside.size());
        QCOMPARE(part.Image, whole.copy(inside));
    }

    // Rows padded to four bytes, grey pictures and pictures big enough for large pages.
    void turnsEveryPixel_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("grey");
        QTest::newRow("odd colour") << QSize(37, 23) << false;
        QTest::newRow("odd grey") << QSize(13, 7) << true;
        QTest::newRow("large colour") << QSize(2001, 1500) << false;
    }
    void turnsEveryPixel() {
        QFETCH(QSize, size);
        QFETCH(bool, grey);
        QImage stored = Detailed(size.width(), size.height());
        if (grey) {
            stored = stored.convertToFormat(QImage::Format_Grayscale8);
        }
        for (int orientation = 2; orientation <= 8; ++orientation) {
            const QImage upright = Orientation::Upright(stored, orientation);
            QCOMPARE(upright.format(), stored.format());
            QVERIFY2(upright == TurnedByQt(stored, orientation), qPrintable(QString::number(orientation)));
        }
    }

    void cancelledDecodeGivesNothing() {
        const QString path =
            Write(QStringLiteral("big.jpg"), EncodeJpeg(Detailed(600, 400), QStringLiteral("t")));
        int asked = 0;
        const TJpegPart part = LoadJpegPart(path, {}, {}, [&asked] { return ++asked > 2; });
        QVERIFY(part.Image.isNull());
        QCOMPARE(asked, 3); // stopped at the first answer yes
        QCOMPARE(LoadJpegPart(path, {}, {}, [] { return false; }).Image, LoadJpeg(path));
    }
};

HABITRA_TEST(TOrientationTest)
#include "OrientationTest.moc"
