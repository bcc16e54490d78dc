#include "pictures/PictureArea.h"
#include "TestFiles.h"
#include "TestRegistry.h"
#include "pictures/JpegLoader.h"
#include "toolkit/PictureLabel.h"

#include <QAction>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

QImage Detailed(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB888);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uchar((x / 3 + int(random.bounded(30))) & 0xFF);
            row[3 * x + 1] = uchar((y / 2 + seed * 40 + int(random.bounded(30))) & 0xFF);
            row[3 * x + 2] = uchar(((x ^ y) + int(random.bounded(30))) & 0xFF);
        }
    }
    return image;
}

// Orientation 6 in a big-endian EXIF block, placed after the start-of-image marker.
QByteArray TurnedQuarter(const QByteArray& jpeg) {
    const QByteArray exif = QByteArray::fromHex("FFE10022457869660000"
                                                "4D4D002A00000008"
                                                "0001"
                                                "011200030000000100060000"
                                                "00000000");
    return jpeg.left(2) + exif + jpeg.mid(2);
}

} // namespace

// The main window's picture area on its own: what it shows, in which order, and at what size.
class TPictureAreaTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QScrollArea> m_box;
    TPictureLabel* m_label = nullptr;
    std::unique_ptr<TPictureArea> m_area;

    QString Write(const QString& name, const QByteArray& bytes) {
        return TestFiles::Write(m_dir, name, bytes);
    }

    QString Solid(const QString& name, const QColor& colour, const QSize& size) {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        return Write(name, EncodeJpeg(image, name));
    }

private slots:
    void init() {
        m_box = std::make_unique<QScrollArea>();
        m_box->setFrameShape(QFrame::NoFrame);
        m_box->setWidgetResizable(false);
        m_box->resize(466, 319);
        m_label = new TPictureLabel;
        m_box->setWidget(m_label);
        m_box->show();
        m_area = std::make_unique<TPictureArea>(m_box.get(), m_label);
    }

    void cleanup() {
        m_area.reset();
        m_box.reset();
    }

    // The part in view comes first and holds exactly the pixels of the whole decode; then the whole
    // picture follows, upright, at its natural size.
    void naturalSizeEqualsWholeDecode() {
        const QString path = Write(QStringLiteral("turned.jpg"),
                                   TurnedQuarter(EncodeJpeg(Detailed(1200, 800, 1), QStringLiteral("t"))));
        const QImage whole = LoadJpeg(path);
        QCOMPARE(whole.size(), QSize(800, 1200));
        QList<QImage> seen;
        connect(m_area.get(), &TPictureArea::pictureShown, this,
                [this, &seen](const QString&, bool) { seen.append(m_label->Picture()); });
        m_area->Show(path, QString());
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen.first().size(), QSize(466, 319));
        QCOMPARE(seen.first(), whole.copy(0, 0, 466, 319));
        QCOMPARE(seen.last(), whole);
        QCOMPARE(m_label->size(), QSize(800, 1200));
        QVERIFY(m_label->IsComplete());
        QVERIFY(m_box->verticalScrollBar()->maximum() > 0);
    }

    void fitScale_data() {
        QTest::addColumn<QSize>("picture"); // upright
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<int>("eighths");
        QTest::newRow("24 MP landscape") << QSize(6000, 4000) << QSize(466, 319) << QSize(466, 310) << 1;
        QTest::newRow("12 MP portrait") << QSize(3000, 4000) << QSize(466, 319) << QSize(239, 319) << 1;
        QTest::newRow("half fills by height") << QSize(1000, 700) << QSize(466, 319) << QSize(455, 319) << 4;
        QTest::newRow("five eighths") << QSize(800, 600) << QSize(466, 319) << QSize(425, 319) << 5;
        QTest::newRow("one pixel too wide") << QSize(467, 319) << QSize(466, 319) << QSize(466, 318) << 8;
        QTest::newRow("smaller: not enlarged") << QSize(300, 200) << QSize(466, 319) << QSize(300, 200) << 8;
        QTest::newRow("larger frame") << QSize(4000, 3000) << QSize(1200, 900) << QSize(1200, 900) << 3;
    }

    void fitScale() {
        QFETCH(QSize, picture);
        QFETCH(QSize, frame);
        QFETCH(QSize, shown);
        QFETCH(int, eighths);
        const TPictureArea::TFit fit = TPictureArea::FitFor(picture, frame);
        QCOMPARE(fit.Shown, shown);
        QCOMPARE(fit.Eighths, eighths);
    }

    // Fitted, the whole picture is in the frame and looks like the full decode shrunk.
    void fitToFrame() {
        const QString path = Write(QStringLiteral("fit.jpg"),
                                   TurnedQuarter(EncodeJpeg(Detailed(1600, 1000, 2), QStringLiteral("t"))));
        bool reported = false;
        m_area->OnFitToFrameChanged = [&reported](bool fit) { reported = fit; };
        m_area->Show(path, QString());
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(m_label->size(), QSize(1000, 1600));

        m_area->FitAction()->trigger();
        QVERIFY(reported);
        QVERIFY(m_area->FitToFrame());
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(m_label->Picture().size(), QSize(199, 319));
        const QImage expected =
            LoadJpeg(path).scaled(199, 319, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage got = m_label->Picture().convertToFormat(QImage::Format_RGB888);
        qint64 difference = 0;
        for (int y = 0; y < 319; ++y) {
            for (int x = 0; x < 199 * 3; ++x) {
                difference += qAbs(got.constScanLine(y)[x] - expected.constScanLine(y)[x]);
            }
        }
        QVERIFY2(difference / (199 * 319 * 3) < 6, qPrintable(QString::number(difference / (199 * 319 * 3))));
        QVERIFY(!m_box->verticalScrollBar()->isVisible());

        m_area->FitAction()->trigger();
        QVERIFY(!reported);
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(m_label->size(), QSize(1000, 1600));
    }

    // A decode for an item the user has left never reaches the label, whether it is held back on
    // the decoder thread or its result is already on its way.
    void staleDecodeNeverReplaces() {
        const QString first = Solid(QStringLiteral("a.jpg"), Qt::red, QSize(2000, 1500));
        const QString second = Solid(QStringLiteral("b.jpg"), Qt::green, QSize(900, 700));
        const QString third = Solid(QStringLiteral("c.jpg"), Qt::blue, QSize(300, 200));
        QSemaphore entered;
        QSemaphore release;
        m_area->BeforeDecode = [&](const QString& file) {
            if (file == first) {
                entered.release();
                release.acquire();
            }
        };
        QSignalSpy shown(m_area.get(), &TPictureArea::pictureShown);
        m_area->Show(first, QString());
        QVERIFY(entered.tryAcquire(1, 10000)); // held on the decoder thread
        m_area->Show(second, QString());
        m_area->Show(third, QString());
        release.release();
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().first().toString(), third);
        QCOMPARE(m_label->Picture().pixelColor(10, 10).blue() > 200, true);

        // Holding down "next": many requests before the window gets a chance to show any.
        shown.clear();
        m_area->BeforeDecode = nullptr;
        for (int i = 0; i < 10; ++i) {
            m_area->Show(i % 2 ? first : second, QString());
            QThread::msleep(15); // results may already be queued for the window
        }
        m_area->Show(third, QString());
        QVERIFY(m_area->WaitUntilShown());
        for (const QList<QVariant>& signal : shown) {
            QCOMPARE(signal.first().toString(), third);
        }
        QCOMPARE(m_label->size(), QSize(300, 200));
    }

    // Unreadable: the fallback; neither readable: an error, and the label keeps what it showed.
    void unreadablePicture() {
        const QString good = Solid(QStringLiteral("good.jpg"), Qt::green, QSize(120, 90));
        const QString fallback = Solid(QStringLiteral("ingen.jpg"), Qt::yellow, QSize(60, 40));
        const QString bad = Write(QStringLiteral("bad.jpg"), "not a picture");
        QStringList errors;
        m_area->OnError = [&errors](const QString& message) { errors.append(message); };
        m_area->Show(good, fallback);
        QVERIFY(m_area->WaitUntilShown());
        m_area->Show(bad, fallback);
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(m_label->size(), QSize(60, 40));
        m_area->Show(good, fallback);
        QVERIFY(m_area->WaitUntilShown());
        m_area->Show(bad, bad);
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("bad.jpg")), qPrintable(errors.first()));
        QCOMPARE(m_label->size(), QSize(120, 90));
        m_area->Show(bad, bad); // tried again, not taken as already shown
        QVERIFY(m_area->WaitUntilShown());
        QCOMPARE(errors.size(), 2);
    }
};

HABITRA_TEST(TPictureAreaTest)
#include "PictureAreaTest.moc"
