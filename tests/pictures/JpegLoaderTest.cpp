#include "pictures/JpegLoader.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <csetjmp>
#include <cstdio>
#include <functional>

#include <jpeglib.h>

namespace {

// Smooth colour ramps with a few sharp shapes: enough detail to give real entropy data.
QImage MakeImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uchar>(255 * x / qMax(1, width - 1));
            row[3 * x + 1] = static_cast<uchar>(255 * y / qMax(1, height - 1));
            row[3 * x + 2] = static_cast<uchar>(255 * (x + y) / qMax(1, width + height - 2));
        }
    }
    QPainter painter(&image);
    painter.fillRect(width / 4, height / 4, width / 3, height / 3, Qt::darkBlue);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawEllipse(QRect(width / 2, height / 3, width / 3, height / 2));
    return image;
}

// Mean and largest per-channel difference of two RGB888 images of one size.
std::pair<double, int> Difference(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_RGB888);
    const QImage right = b.convertToFormat(QImage::Format_RGB888);
    qint64 sum = 0;
    int largest = 0;
    for (int y = 0; y < left.height(); ++y) {
        const uchar* l = left.constScanLine(y);
        const uchar* r = right.constScanLine(y);
        for (int i = 0; i < left.width() * 3; ++i) {
            const int d = qAbs(l[i] - r[i]);
            sum += d;
            largest = qMax(largest, d);
        }
    }
    return {double(sum) / (double(left.width()) * left.height() * 3), largest};
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A four-channel JPEG written by libjpeg itself; samples are Adobe-style inverted inks.
struct TJumpError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

struct TFourChannelWriter {
    jpeg_compress_struct cinfo{};
    TJumpError error{};
    std::vector<JSAMPLE> row;
};

// No object with a destructor lives in here, so the jump skips nothing.
bool Compress(TFourChannelWriter& writer, FILE* out, int width, int height, J_COLOR_SPACE stored) {
    jpeg_compress_struct& cinfo = writer.cinfo;
    if (setjmp(writer.error.jump)) {
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPROW pointer = writer.row.data();
    while (cinfo.next_scanline < cinfo.image_height) {
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

bool WriteFourChannel(const QString& path, int width, int height, J_COLOR_SPACE stored, const uchar cmyk[4]) {
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out) {
        return false;
    }
    TFourChannelWriter writer;
    writer.cinfo.err = jpeg_std_error(&writer.error.pub);
    writer.error.pub.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<TJumpError*>(c->err)->jump, 1);
    };
    for (int x = 0; x < width; ++x) {
        writer.row.insert(writer.row.end(), cmyk, cmyk + 4);
    }
    const bool ok = Compress(writer, out, width, height, stored);
    jpeg_destroy_compress(&writer.cinfo);
    std::fclose(out);
    return ok;
}

// Offset of the first byte after the start-of-scan header, or -1.
qsizetype EntropyStart(const QByteArray& jpeg) {
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    if (sos < 0 || sos + 4 > jpeg.size()) {
        return -1;
    }
    const int length = (uchar(jpeg[sos + 2]) << 8) | uchar(jpeg[sos + 3]);
    return sos + 2 + length;
}

} // namespace

using TFileMaker = std::function<void(const QString& path, const QByteArray& validJpeg)>;
Q_DECLARE_METATYPE(TFileMaker)

class TestJpegLoader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void roundTrip_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<QString>("file");
        const QString plain = QStringLiteral("round trip.jpg");
        QTest::newRow("colour, odd size") << QSize(37, 23) << false << plain;
        QTest::newRow("colour, placeholder size") << QSize(466, 319) << false << plain;
        QTest::newRow("one pixel") << QSize(1, 1) << false << plain;
        QTest::newRow("grey") << QSize(120, 90) << true << plain;
        QTest::newRow("Danish file name") << QSize(64, 48) << false << QStringLiteral("Ærø-æske.jpg");
    }

    void roundTrip() {
        QFETCH(QSize, size);
        QFETCH(bool, grey);
        QFETCH(QString, file);
        QImage original = MakeImage(size.width(), size.height());
        if (grey) {
            original = original.convertToFormat(QImage::Format_Grayscale8);
        }
        const QString path = m_dir.filePath(file);
        SaveJpeg(original, path, 95);

        const QImage loaded = LoadJpeg(path);
        QCOMPARE(loaded.size(), size);
        QCOMPARE(loaded.format(), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
        const auto [mean, largest] = Difference(original, loaded);
        QVERIFY2(mean < 6.0, qPrintable(QString::number(mean)));
        QVERIFY2(largest < 96, qPrintable(QString::number(largest)));

        // The same bytes from memory give the same pixels.
        QCOMPARE(LoadJpeg(ReadAll(path), path), loaded);
    }

    // The scaled decode picks the smallest eighth that still covers the wanted size, and shows the
    // same picture as the full decode shrunk to it.
    void scaledDecode_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("atLeast");
        QTest::addColumn<int>("eighths");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("a quarter covers") << QSize(800, 600) << QSize(200, 150) << 2 << QSize(200, 150);
        QTest::newRow("one pixel more needs the next")
            << QSize(800, 600) << QSize(201, 100) << 3 << QSize(300, 225);
        QTest::newRow("height decides") << QSize(800, 600) << QSize(10, 500) << 7 << QSize(700, 525);
        QTest::newRow("larger than the picture")
            << QSize(800, 600) << QSize(1600, 10) << 8 << QSize(800, 600);
        QTest::newRow("rounded up") << QSize(333, 171) << QSize(60, 30) << 2 << QSize(84, 43);
        QTest::newRow("tiny box") << QSize(4000, 3000) << QSize(1, 1) << 1 << QSize(500, 375);
    }

    void scaledDecode() {
        QFETCH(QSize, picture);
        QFETCH(QSize, atLeast);
        QFETCH(int, eighths);
        QFETCH(QSize, decoded);
        QCOMPARE(JpegScaleFor(picture, atLeast), eighths);
        const QString path = m_dir.filePath(QStringLiteral("scaled.jpg"));
        const QImage original = MakeImage(picture.width(), picture.height());
        SaveJpeg(original, path, 95);
        const QImage loaded = LoadJpegScaled(path, atLeast);
        QCOMPARE(loaded.size(), decoded);
        const QImage shrunk = original.scaled(decoded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto [mean, largest] = Difference(shrunk, loaded);
        QVERIFY2(mean < 8.0, qPrintable(QString::number(mean)));
        Q_UNUSED(largest);
    }

    void qualityShowsInSize() {
        const QImage image = MakeImage(200, 150);
        const QString low = m_dir.filePath(QStringLiteral("low.jpg"));
        const QString high = m_dir.filePath(QStringLiteral("high.jpg"));
        SaveJpeg(image, low, 20);
        SaveJpeg(image, high, 95);
        QVERIFY(QFileInfo(low).size() < QFileInfo(high).size());
        QVERIFY(Difference(image, LoadJpeg(high)).first < Difference(image, LoadJpeg(low)).first);
    }

    void unreadable_data() {
        QTest::addColumn<TFileMaker>("make");
        QTest::addColumn<QString>("reason");

        QTest::newRow("missing file") << TFileMaker([](const QString&, const QByteArray&) {})
                                      << QStringLiteral("No such file or directory");
        QTest::newRow("empty file") << TFileMaker([](const QString& path, const QByteArray&) {
            WriteAll(path, QByteArray());
        }) << QStringLiteral("Empty input file");
        QTest::newRow("cut in half") << TFileMaker([](const QString& path, const QByteArray& jpeg) {
            WriteAll(path, jpeg.left(jpeg.size() / 2));
        }) << QStringLiteral("Premature end of JPEG file");
        QTest::newRow("corrupt entropy data") << TFileMaker([](const QString& path, const QByteArray& jpeg) {
            QByteArray bytes = jpeg;
            const qsizetype start = EntropyStart(bytes);
            QVERIFY(start > 0);
            const qsizetype middle = start + (bytes.size() - 2 - start) / 2;
            quint32 state = 12345;
            for (qsizetype i = middle; i < middle + 64; ++i) {
                state = state * 1103515245u + 12345u;
                bytes[i] = char((state >> 16) % 0xFF); // never 0xFF, so no marker is made
            }
            WriteAll(path, bytes);
        }) << QStringLiteral("Corrupt JPEG data");
        QTest::newRow("PNG named .jpg") << TFileMaker([](const QString& path, const QByteArray&) {
            QVERIFY(MakeImage(40, 30).save(path, "PNG"));
        }) << QStringLiteral("Not a JPEG file: starts with 0x89 0x50");
        QTest::newRow("text file") << TFileMaker([](const QString& path, const QByteArray&) {
            WriteAll(path, "Dette er ikke et billede.\n");
        }) << QStringLiteral("Not a JPEG file: starts with 0x44 0x65");
        QTest::newRow("folder named .jpg")
            << TFileMaker([](const QString& path, const QByteArray&) { QVERIFY(QDir().mkpath(path)); })
            << QStringLiteral("directory");
        QTest::newRow("header only") << TFileMaker([](const QString& path, const QByteArray& jpeg) {
            WriteAll(path, jpeg.left(EntropyStart(jpeg)));
        }) << QStringLiteral("Premature end of JPEG file");
    }

    void unreadable() {
        QFETCH(TFileMaker, make);
        QFETCH(QString, reason);
        const QString valid = m_dir.filePath(QStringLiteral("valid.jpg"));
        SaveJpeg(MakeImage(320, 240), valid, 90);
        const QString path =
            m_dir.filePath(QStringLiteral("bad %1.jpg").arg(QLatin1String(QTest::currentDataTag())));
        QFile::remove(path);
        make(path, ReadAll(valid));
        if (QTest::currentTestFailed()) {
            return;
        }
        try {
            LoadJpeg(path);
            QFAIL("an unreadable file loaded");
        } catch (const EPictureError& error) {
            QVERIFY2(error.Message().contains(path), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(reason), qPrintable(error.Message()));
        }
        // The same bytes from memory fail the same way, named by the given name.
        if (QFileInfo(path).isFile()) {
            QVERIFY_THROWS_EXCEPTION(EPictureError, LoadJpeg(ReadAll(path), QStringLiteral("x")));
        }
    }

    // A failure leaves nothing behind: a good picture loads right after a bad one.
    void loadsAfterFailure() {
        const QString good = m_dir.filePath(QStringLiteral("good.jpg"));
        SaveJpeg(MakeImage(64, 48), good, 90);
        const QByteArray bytes = ReadAll(good);
        QVERIFY_THROWS_EXCEPTION(EPictureError, LoadJpeg(bytes.left(bytes.size() - 40), good));
        QCOMPARE(LoadJpeg(bytes, good).size(), QSize(64, 48));
    }

    void fourChannel_data() {
        QTest::addColumn<int>("stored");
        QTest::newRow("CMYK") << int(JCS_CMYK);
        QTest::newRow("YCCK") << int(JCS_YCCK);
    }

    // Inverted inks: C, M, Y, K stored as 255, 64, 0, 255 mean "no cyan, some magenta, full
    // yellow, no black", so an orange-red.
    void fourChannel() {
        QFETCH(int, stored);
        const QString path = m_dir.filePath(QStringLiteral("four channel.jpg"));
        const uchar ink[4] = {255, 64, 0, 255};
        QVERIFY(WriteFourChannel(path, 33, 17, J_COLOR_SPACE(stored), ink));
        const QImage image = LoadJpeg(path);
        QCOMPARE(image.size(), QSize(33, 17));
        QCOMPARE(image.format(), QImage::Format_RGB888);
        const QColor centre = image.pixelColor(16, 8);
        QVERIFY2(qAbs(centre.red() - 255) <= 4 && qAbs(centre.green() - 64) <= 6 && centre.blue() <= 6,
                 qPrintable(centre.name()));
        // Black ink darkens every channel.
        const uchar dark[4] = {255, 64, 0, 128};
        QVERIFY(WriteFourChannel(path, 8, 8, J_COLOR_SPACE(stored), dark));
        const QColor darker = LoadJpeg(path).pixelColor(4, 4);
        QVERIFY2(qAbs(darker.red() - 128) <= 6 && qAbs(darker.green() - 32) <= 6, qPrintable(darker.name()));
    }

    void saveFailureNamesFile() {
        const QString path = m_dir.filePath(QStringLiteral("no such folder/picture.jpg"));
        try {
            SaveJpeg(MakeImage(8, 8), path, 90);
            QFAIL("saved into a missing folder");
        } catch (const EPictureError& error) {
            QVERIFY2(error.Message().contains(path), qPrintable(error.Message()));
        }
        QVERIFY_THROWS_EXCEPTION(EPictureError,
                                 SaveJpeg(QImage(), m_dir.filePath(QStringLiteral("null.jpg"))));
    }
};

HABITRA_TEST(TestJpegLoader)
#include "JpegLoaderTest.moc"
