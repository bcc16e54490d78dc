#include "pictures/PicturePreview.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "pictures/JpegLoader.h"
#include "pictures/PictureArea.h"
#include "pictures/PictureFetch.h"
#include "toolkit/PictureLabel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QImage Detailed(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB888);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uchar((x / 5 + seed * 70 + int(random.bounded(20))) & 0xFF);
            row[3 * x + 1] = uchar((y / 4 + int(random.bounded(20))) & 0xFF);
            row[3 * x + 2] = uchar(((x ^ y) / 3 + int(random.bounded(20))) & 0xFF);
        }
    }
    return image;
}

QImage Solid(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

bool Greenish(const QColor& colour) {
    return colour.green() > 200 && colour.red() < 60 && colour.blue() < 60;
}

bool Reddish(const QColor& colour) {
    return colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
}

} // namespace

// Fitted to the frame, a large photo is shown from its preview when a fresh one covers the frame,
// and from the photo itself otherwise, looking exactly as without any preview.
class TPicturePreviewTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QScrollArea> m_box;
    TPictureLabel* m_label = nullptr;
    std::unique_ptr<TPictureArea> m_area;

    // The photo fitted to `frame` from the photo alone, as the area decodes it without a preview.
    static QImage FromPhoto(const QString& photo, const QSize& frame) {
        const QSize fitted = TPictureArea::FitFor(ReadJpegHeader(photo).Upright, frame).Shown;
        return LoadJpegPart(photo, {}, fitted)
            .Image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB888);
    }

    QImage ShowFitted(const QString& photo) {
        m_area->Forget();
        m_area->Show(photo, QString());
        if (!m_area->WaitUntilShown()) {
            return {};
        }
        return m_label->Picture().convertToFormat(QImage::Format_RGB888);
    }

private slots:
    void init() {
        m_box = std::make_unique<QScrollArea>();
        m_box->setFrameShape(QFrame::NoFrame);
        m_box->setWidgetResizable(false);
        m_label = new TPictureLabel;
        m_box->setWidget(m_label);
        m_box->show();
        m_area = std::make_unique<TPictureArea>(m_box.get(), m_label);
        m_area->SetFitToFrame(true);
    }

    void cleanup() {
        m_area.reset();
        m_box.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void fitFromPreview_data() {
        QTest::addColumn<QString>("preview"); // "fresh" (painted green), "none", "truncated", "garbage"
        QTest::addColumn<bool>("photoReplaced");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<bool>("fromPreview");
        QTest::newRow("fresh preview") << "fresh" << false << QSize(466, 319) << true;
        QTest::newRow("photo replaced since") << "fresh" << true << QSize(466, 319) << false;
        QTest::newRow("no preview") << "none" << false << QSize(466, 319) << false;
        QTest::newRow("preview cut short") << "truncated" << false << QSize(466, 319) << false;
        QTest::newRow("preview not a picture") << "garbage" << false << QSize(466, 319) << false;
        QTest::newRow("frame larger than the preview") << "fresh" << false << QSize(2000, 1600) << false;
    }

    void fitFromPreview() {
        QFETCH(QString, preview);
        QFETCH(bool, photoReplaced);
        QFETCH(QSize, frame);
        QFETCH(bool, fromPreview);
        m_box->resize(frame);
        const QString photo = TestFiles::Write(m_dir, QStringLiteral("7.jpg"),
                                               EncodeJpeg(Detailed(2400, 1800, 1), QStringLiteral("p")));
        const QString previewFile = PicturePreview::FileFor(photo);
        QCOMPARE(previewFile, m_dir.filePath(QStringLiteral(".Visninger/7.jpg")));
        if (preview == QLatin1String("fresh")) {
            QVERIFY(PicturePreview::Write(photo, Solid({1600, 1200}, Qt::green), {2400, 1800}));
        } else if (preview != QLatin1String("none")) {
            QVERIFY(PicturePreview::Make(photo));
            QFile file(previewFile);
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (preview == QLatin1String("truncated")) {
                QVERIFY(file.resize(file.size() / 3)); // its stamp is still whole
                QVERIFY(PicturePreview::Find(photo).has_value());
            } else {
                QVERIFY(file.resize(0));
                file.write("not a picture at all");
            }
        }
        if (photoReplaced) {
            const QDateTime before = QFileInfo(photo).lastModified();
            TestFiles::Write(m_dir, QStringLiteral("7.jpg"),
                             EncodeJpeg(Detailed(2400, 1800, 2), QStringLiteral("p")));
            QFile replaced(photo);
            QVERIFY(replaced.open(QIODevice::ReadWrite));
            QVERIFY(replaced.setFileTime(before.addSecs(1), QFileDevice::FileModificationTime));
        }

        const QImage expected = FromPhoto(photo, frame);
        const QImage shown = ShowFitted(photo);
        QCOMPARE(shown.size(), expected.size());
        if (fromPreview) {
            QVERIFY(Greenish(shown.pixelColor(shown.width() / 2, shown.height() / 2)));
        } else {
            QCOMPARE(shown, expected);
        }

        // A missing, stale or unreadable preview is made again from the photo; a fresh one that is
        // merely too small for this frame is kept.
        QVERIFY(m_area->Previews().WaitUntilIdle());
        const std::optional<PicturePreview::TFresh> after = PicturePreview::Find(photo);
        QVERIFY(after.has_value());
        QCOMPARE(after->Preview, QSize(1600, 1200));
        const QImage kept = LoadJpeg(previewFile);
        QCOMPARE(kept.size(), QSize(1600, 1200));
        QCOMPARE(Greenish(kept.pixelColor(800, 600)), preview == QLatin1String("fresh") && !photoReplaced);
        if (frame == QSize(466, 319)) {
            const QImage again = ShowFitted(photo);
            QCOMPARE(again.size(), expected.size());
            if (!Greenish(kept.pixelColor(800, 600))) {
                // Now from the new preview, which looks like the photo.
                qint64 difference = 0;
                for (int y = 0; y < again.height(); ++y) {
                    for (int x = 0; x < again.width() * 3; ++x) {
                        difference += qAbs(again.constScanLine(y)[x] - expected.constScanLine(y)[x]);
                    }
                }
                QVERIFY(difference / (qint64(again.width()) * again.height() * 3) < 6);
            }
        }
    }

    // A fetched photo larger than a preview gets an upright one at once, whatever its kind; a small
    // one needs none. The photo is what was fetched, not the preview.
    void fetchWritesPreview_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<QSize>("previewSize");
        QTest::newRow("JPEG turned by EXIF") << "phone.jpg" << QSize(1800, 2400) << QSize(1200, 1600);
        QTest::newRow("PNG") << "scan.png" << QSize(2400, 1800) << QSize(1600, 1200);
        QTest::newRow("HEIC") << "IMG_0002.HEIC" << QSize(2000, 1500) << QSize(1600, 1200);
        QTest::newRow("small JPEG") << "small.jpg" << QSize(1600, 1000) << QSize();
    }

    void fetchWritesPreview() {
        QFETCH(QString, name);
        QFETCH(QSize, upright);
        QFETCH(QSize, previewSize);
        // Red top-left corner, black elsewhere.
        QImage image = Solid(upright, Qt::black);
        QPainter(&image).fillRect(0, 0, upright.width() / 4, upright.height() / 4, Qt::red);
        QTemporaryDir elsewhere;
        const QString chosen = QDir(elsewhere.path()).filePath(name);
        if (name.endsWith(QLatin1String(".png"))) {
            QVERIFY(image.save(chosen, "PNG"));
        } else if (name.endsWith(QLatin1String(".HEIC"))) {
            const QString png = chosen + QStringLiteral(".png");
            QVERIFY(image.save(png, "PNG"));
            QProcess encoder;
            encoder.start(QStringLiteral("heif-enc"),
                          {QStringLiteral("-q"), QStringLiteral("90"), png, QStringLiteral("-o"), chosen});
            QVERIFY(encoder.waitForFinished(60000));
            QCOMPARE(encoder.exitCode(), 0);
        } else if (name == QLatin1String("phone.jpg")) {
            // Stored a quarter turn anticlockwise with orientation 6, as a phone writes it.
            const QByteArray exif = QByteArray::fromHex("FFE10022457869660000"
                                                        "4D4D002A00000008"
                                                        "0001"
                                                        "011200030000000100060000"
                                                        "00000000");
            const QByteArray jpeg = EncodeJpeg(image.transformed(QTransform().rotate(-90)), chosen);
            TestFiles::Write(elsewhere, name, jpeg.left(2) + exif + jpeg.mid(2));
        } else {
            TestFiles::Write(elsewhere, name, EncodeJpeg(image, chosen));
        }
        const QString target = m_dir.filePath(QStringLiteral("12.jpg"));
        PictureFetch::Fetch(chosen, target);
        QCOMPARE(ReadJpegHeader(target).Upright, upright);

        const std::optional<PicturePreview::TFresh> preview = PicturePreview::Find(target);
        QCOMPARE(preview.has_value(), previewSize.isValid());
        QCOMPARE(QFileInfo::exists(PicturePreview::FileFor(target)), previewSize.isValid());
        if (preview) {
            QCOMPARE(preview->Photo, upright);
            QCOMPARE(preview->Preview, previewSize);
            const QImage reduced = LoadJpeg(preview->File);
            QCOMPARE(reduced.size(), previewSize);
            QVERIFY(Reddish(reduced.pixelColor(10, 10)));
            QVERIFY(!Reddish(reduced.pixelColor(previewSize.width() - 10, 10)));
            QVERIFY(!Reddish(reduced.pixelColor(10, previewSize.height() - 10)));
        }
    }
};

HABITRA_TEST(TPicturePreviewTest)
#include "PicturePreviewTest.moc"
