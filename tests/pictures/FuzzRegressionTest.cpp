#include "TestRegistry.h"
#include "pictures/JpegLoader.h"

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

HABITRA_TEST(TPicturesFuzzRegressionTest)
#include "FuzzRegressionTest.moc"
