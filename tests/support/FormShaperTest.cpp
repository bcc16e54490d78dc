#include "TestRegistry.h"
#include "support/Splash.h"
#include "support/SupportResources.h"
#include "support/cFormShaper.h"

#include <QDataStream>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QtEndian>

namespace {
// White 100 x 50 with two black rectangles; rows 10 to 14 hold both.
const QRect First(10, 5, 20, 10);   // rows 5..14
const QRect Second(40, 10, 30, 15); // rows 10..24

QImage TwoRectangles() {
    QImage image(100, 50, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(First, Qt::black);
    painter.fillRect(Second, QColor(254, 255, 255)); // only pure white counts as background
    return image;
}

QList<QRect> Rectangles(const QByteArray& stream) {
    QList<QRect> rects;
    const auto* data = reinterpret_cast<const uchar*>(stream.constData());
    const quint32 count = qFromLittleEndian<quint32>(data + 12);
    for (quint32 i = 0; i < count; ++i) {
        const uchar* at = data + 36 + 16 * i;
        const auto value = [at](int n) { return qFromLittleEndian<qint32>(at + 4 * n); };
        rects << QRect(QPoint(value(0), value(1)), QPoint(value(2) - 1, value(3) - 1));
    }
    return rects;
}
} // namespace

class TestFormShaper : public QObject {
    Q_OBJECT

private slots:
    void regionOfPictureIsItsNonWhitePixels() {
        const QByteArray stream = TFormShaper::ShapeOf(TwoRectangles());
        // Bands top to bottom, left to right within a band, as region data keeps them.
        const QList<QRect> expected{QRect(10, 5, 20, 5), QRect(10, 10, 20, 5), QRect(40, 10, 30, 5),
                                    QRect(40, 15, 30, 10)};
        QCOMPARE(Rectangles(stream), expected);
        const auto* data = reinterpret_cast<const uchar*>(stream.constData());
        const quint32 n = 32 + 16 * 4;
        QCOMPARE(stream.size(), qsizetype(n + 4));
        QCOMPARE(qFromLittleEndian<quint32>(data), n);
        QCOMPARE(qFromLittleEndian<quint32>(data + 4), 32u); // header size
        QCOMPARE(qFromLittleEndian<quint32>(data + 8), 1u);  // rectangles
        QCOMPARE(qFromLittleEndian<quint32>(data + 12), 4u);
        QCOMPARE(qFromLittleEndian<quint32>(data + 16), 64u);
        QCOMPARE(qFromLittleEndian<qint32>(data + 20), 10); // bound: left, top, right, bottom
        QCOMPARE(qFromLittleEndian<qint32>(data + 24), 5);
        QCOMPARE(qFromLittleEndian<qint32>(data + 28), 70);
        QCOMPARE(qFromLittleEndian<qint32>(data + 32), 25);
        QCOMPARE(TFormShaper::RegionOf(stream.mid(4)), QRegion(First) + QRegion(Second));
    }

    void allWhitePictureHasNoShape() {
        QVERIFY(TFormShaper::ShapeOf(TwoRectangles().copy(80, 30, 20, 20)).isEmpty());
    }

    void streamRoundTrip() {
        const QByteArray stream = TFormShaper::ShapeOf(TwoRectangles());
        QWidget window;
        TFormShaper shaper(&window);
        QVERIFY(shaper.Shape().isEmpty());
        shaper.SetShape(stream);
        QCOMPARE(shaper.Shape(), stream);
        // Through a layout stream with other data after it.
        QByteArray stored;
        {
            QDataStream out(&stored, QIODevice::WriteOnly);
            shaper.WriteFormShape(out);
            out << quint32(0xCAFE);
        }
        TFormShaper loaded(&window);
        QDataStream in(stored);
        loaded.ReadFormShape(in);
        quint32 after = 0;
        in >> after;
        QCOMPARE(after, 0xCAFEu);
        QCOMPARE(loaded.Shape(), stream);
    }

    void activeAppliesAndRemovesTheShape() {
        QWidget window;
        window.resize(100, 50);
        TFormShaper shaper(&window);
        shaper.SetActive(true); // no region data: stays rectangular
        QVERIFY(!shaper.Active());
        QVERIFY(window.mask().isEmpty());

        shaper.SetShape(TFormShaper::ShapeOf(TwoRectangles()));
        QVERIFY(window.mask().isEmpty()); // new data waits for activation
        shaper.SetActive(true);
        QCOMPARE(window.mask(), QRegion(First) + QRegion(Second));
        shaper.SetActive(false);
        QVERIFY(window.mask().isEmpty());
        shaper.SetActive(true);
        QCOMPARE(window.mask(), QRegion(First) + QRegion(Second));

        // Replaced while active: the shape stays until the shaper is switched off and on.
        QImage other(100, 50, QImage::Format_RGB32);
        other.fill(Qt::white);
        other.setPixel(3, 4, qRgb(0, 0, 0));
        shaper.SetShape(TFormShaper::ShapeOf(other));
        QCOMPARE(window.mask(), QRegion(First) + QRegion(Second));
        shaper.SetActive(false);
        shaper.SetActive(true);
        QCOMPARE(window.mask(), QRegion(3, 4, 1, 1));

        // An empty stream removes the shape at once and keeps the switch.
        shaper.SetShape(QByteArray());
        QVERIFY(window.mask().isEmpty());
        QVERIFY(shaper.Active());
        QVERIFY(shaper.Shape().isEmpty());
    }

    void controlToShape() {
        QWidget window;
        auto* target = new QWidget(&window);
        TFormShaper shaper(&window);
        shaper.SetShape(TFormShaper::ShapeOf(TwoRectangles()));
        shaper.SetActive(true);
        shaper.SetControlToShape(target); // leaves the window first
        QVERIFY(window.mask().isEmpty());
        QVERIFY(!shaper.Active());
        shaper.SetActive(true);
        QCOMPARE(target->mask(), QRegion(First) + QRegion(Second));
        delete target;
        QVERIFY(shaper.ControlToShape() == nullptr);
        QVERIFY(!shaper.Active());
    }

    void malformedDataGivesNoShape_data() {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = TFormShaper::ShapeOf(TwoRectangles()).mid(4);
        QTest::newRow("too short") << good.left(20);
        QTest::newRow("count beyond the data") << good.left(good.size() - 16);
        QByteArray wrongType = good;
        wrongType[4] = 2;
        QTest::newRow("not rectangles") << wrongType;
    }

    void malformedDataGivesNoShape() {
        QFETCH(QByteArray, data);
        QVERIFY(TFormShaper::RegionOf(data).isEmpty());
    }

    void splashShowsOnlyThePicture() {
        const QImage picture = TwoRectangles();
        QPointer<TSplash> splash = new TSplash(picture);
        QCOMPARE(splash->size(), QSize(580, 80));
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash->FormShaper1->Active());
        QCOMPARE(splash->mask(), QRegion(First) + QRegion(Second));
        QCOMPARE(splash->Image1->geometry(), QRect(0, 0, 100, 50));
        QCOMPARE(splash->Image1->toolTip(), QStringLiteral("Højreklik for at lukke"));
        QCOMPARE(splash->Luk1->text(), QStringLiteral("Luk"));
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));

        splash->Luk1->trigger();
        QVERIFY(!splash->isVisible());
        delete splash;
    }

    void splashGoesWhenAnotherWindowComesUp() {
        QPointer<TSplash> splash = new TSplash(TwoRectangles());
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        splash->PopupMenu1->popup(splash->mapToGlobal(QPoint(10, 10))); // its own menu does not count
        QCoreApplication::processEvents();
        QVERIFY(splash);
        splash->PopupMenu1->hide();

        QWidget mainWindow;
        mainWindow.show();
        QTRY_VERIFY(splash.isNull());
    }

    void builtInSplashPicture() {
        const QImage picture = SupportResources::Picture(QStringLiteral("Splash.jpg"));
        QVERIFY(!picture.isNull());
        const QRegion region = TFormShaper::RegionOf(TFormShaper::ShapeOf(picture).mid(4));
        QVERIFY(!region.isEmpty());
        QVERIFY(QRect(QPoint(0, 0), picture.size()).contains(region.boundingRect()));
        QVERIFY(region.boundingRect() != QRect(QPoint(0, 0), picture.size())); // a white margin is left out
    }
};

HABITRA_TEST(TestFormShaper)
#include "FormShaperTest.moc"
