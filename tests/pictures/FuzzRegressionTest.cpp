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
    void HeifGridLargerThanStated_data();
    void HeifGridLargerThanStated();
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

void TPicturesFuzzRegressionTest::HeifGridLargerThanStated_data() {
    QTest::addColumn<QByteArray>("canvas");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("canvas as stated") << QByteArray::fromHex("00400020") << QSize(64, 32);
    QTest::newRow("canvas of 16384 x 8192") << QByteArray::fromHex("40002000") << QSize();
}

// 968 bytes of HEIC stating 64 x 32 pixels, made of one 64 x 64 tile on a grid whose canvas size
// stands in the grid's own data: libheif allocated a canvas of 16384 x 8192 for it, 1.6 GB.
void TPicturesFuzzRegressionTest::HeifGridLargerThanStated() {
    QFETCH(QByteArray, canvas);
    QFETCH(QSize, decoded);
    QByteArray bytes = QByteArray::fromHex(
        "0000001c6674797068656963000000006d696631686569636d696166000001ac6d657461000000000000002168646c72"
        "000000000000000070696374000000000000000000000000000000000e7069746d000000000002000000106964617400"
        "0000004000200000000038696c6f630100000044400002000100000000000001d0000100000000000001f80002000100"
        "0000000000000100000000000000080000003869696e6600000000000200000015696e66650200000100010000687663"
        "310000000015696e666502000000000200006772696400000000d769707270000000b56970636f000000756876634301"
        "04080000000000000000001ef000fcfdfafa00000f03200001001740010c01ffff0408000003009db800000300001eba"
        "0240210001002a4201010408000003009db800000300001ea0208104d96eae4a6b9b8101030200000300020000030002"
        "1022000100064401c173c089000000146973706500000000000000400000004000000014697370650000000000000040"
        "00000020000000107069786900000000030a0a0a0000001a69706d610000000000000002000102810200020203840000"
        "001a69726566000000000000000e64696d67000200010001000002006d646174000001f42801af06383cfbdb6fcc33ff"
        "ffe569bd0fdeac9fe6ff55fbdf7c1287ffe6794bafd9235a83a3f9ced511bdf359ff9b3dce1c306d7f6998c3d9cfbffc"
        "4b85624cdd5712839e390718899e3fff8e3dca77f9a5cd3d646aaf20bff8ee901c7e13fddff8f7ebc3eb486db0d2ab7d"
        "1fffc81c8e9bf55d93dbbe3dea29c325ee86dc857323aff24b3d4b5f6443e0fa15c870f341179217b3f12e996ffffe6c"
        "61ce2fece26c4991220c52993c98bffe955278b0ae3804e3e7fe1e961e1afec42918baccbf1bff74969d6f4f42492e2f"
        "897eaac386ec3a97217f592f868350016afda187905b580107c08db1d0b41c440c4e89e8d5930c4a799e05d20cb24b1e"
        "092aad93d6d8a567c9ec209b12dae893462ddd12432a458042b7906c72e9d0792358d2f66a53c550e8f18a6d2ee61a56"
        "1d48af7690a21970a0b35d1fd902342e07ae71284bc68a8f45b7c20e5068f5164892fcca8832ec8a90a4af4e788b7481"
        "22f9f91070330a0dfb763f90cbe70c138ef2ab7c9ddb3d25eb11a1985deb6245fc69fe50754c8f90b0a908bddeaf4115"
        "095425601b66dcd0236221e0878a71fc89204923089d6504bb493e1f717abeac13c95943a758b101867a7176ea80a649"
        "5ea551e77df21cecdf1be583036df76058730e64a2e5644f17fcb2000507ffc400161001010100000000000000000000"
        "001173e4d8a25b80");
    const qsizetype grid = bytes.indexOf("idat") + 4;
    QCOMPARE(bytes.mid(grid, 4), QByteArray::fromHex("00000000")); // version, flags, one row, one column
    bytes.replace(grid + 4, 4, canvas);
    QElapsedTimer timer;
    timer.start();
    try {
        const QImage image = PictureDecode::Decode(bytes, QStringLiteral("fuzz.heic"));
        QCOMPARE(image.size(), decoded);
    } catch (const EPictureError& error) {
        QVERIFY2(!decoded.isValid(), qPrintable(error.Message()));
        QVERIFY2(error.Message().contains(QStringLiteral("16384x8192")), qPrintable(error.Message()));
    }
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
}

HABITRA_TEST(TPicturesFuzzRegressionTest)
#include "FuzzRegressionTest.moc"
