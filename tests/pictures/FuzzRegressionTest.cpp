#include "TestRegistry.h"
#include "pictures/JpegLoader.h"
#include "pictures/PictureDecode.h"

#include <QElapsedTimer>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// Inputs the fuzz targets found faults with.
class TPicturesFuzzRegressionTest : public QObject {
    Q_OBJECT
private slots:
    void HugeHeaderIsRefused_data();
    void HugeHeaderIsRefused();
    void PngChunkLongerThanTheFile();
};

void TPicturesFuzzRegressionTest::HugeHeaderIsRefused_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // A 214-byte file claiming about 64000 x 64000 pixels had 12 GB allocated for it.
    QTest::newRow("largest header") << 65500 << 65500;
    QTest::newRow("just over the limit") << 60000 << 2001;
}

// A small real picture whose frame header claims the given size: refused by its size, from memory
// and from a file, without decoding a row.
void TPicturesFuzzRegressionTest::HugeHeaderIsRefused() {
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.jpg"));
    QImage image(16, 16, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    SaveJpeg(image, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    QVERIFY(frame > 0);
    // Marker, length and precision, then height and width, big-endian.
    bytes[frame + 5] = char(height >> 8);
    bytes[frame + 6] = char(height & 0xFF);
    bytes[frame + 7] = char(width >> 8);
    bytes[frame + 8] = char(width & 0xFF);
    file.seek(0);
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    const QString size = QStringLiteral("too large (%1 x %2 pixels)").arg(width).arg(height);
    for (const auto& load : {std::function<QImage()>([&] { return LoadJpeg(bytes, path); }),
                             std::function<QImage()>([&] { return LoadJpeg(path); })}) {
        try {
            load();
            QFAIL("the picture loaded");
        } catch (const EPictureError& error) {
            QVERIFY2(error.Message().contains(size), qPrintable(error.Message()));
        }
    }
}

// 289 bytes of PNG whose text chunk claims gigabytes: libpng cleared that much memory for it and
// kept a fetch busy for seconds. Refused at once as damaged.
void TPicturesFuzzRegressionTest::PngChunkLongerThanTheFile() {
    const QByteArray bytes = QByteArray::fromHex(
        "89504e470d0a1a0a0000000d4948445200000008000000080103000000fec12cc80000000467414d410000b18f0bfc61"
        "05000000206348524d00007a26000080840000fa00000080e8000075300000ea6000003a98000017709cba513c000000"
        "06504c5445ffa500fffffff9da24f70000000174524e5380ad5e5b4600000001624b474401ff022dde0000000774494d"
        "4507ea0c0a0a3138328ea5db0000000b4944415408d7636040050000100001a1c521c10000002574455874646174653a"
        "637265617465003230455874646174653a63726561746500323032362d31322d31305431300000257445587464617465"
        "3a6d6f6469667900323032362d31322d31305431303a34393a35362b30303a303063b6f05a0000000049454e44ae4260"
        "82");
    QElapsedTimer timer;
    timer.start();
    try {
        PictureDecode::Decode(bytes, QStringLiteral("fuzz.png"));
        QFAIL("the picture decoded");
    } catch (const EPictureError& error) {
        QVERIFY2(error.Message().contains(QStringLiteral("damaged")), qPrintable(error.Message()));
    }
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
}

HABITRA_TEST(TPicturesFuzzRegressionTest)
#include "FuzzRegressionTest.moc"
