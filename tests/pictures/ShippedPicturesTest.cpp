#include "ProgramFolder.h"
#include "TestRegistry.h"
#include "pictures/JpegLoader.h"

#include <QTest>

// The pictures that come with the program decode with the program's own loader at the sizes the
// windows are laid out for.
class TestShippedPictures : public QObject {
    Q_OBJECT

private:
    static QImage Load(const QString& name) {
        return LoadJpeg(TProgramFolder::SourcePath(QStringLiteral("resources/pictures/") + name));
    }

private slots:
    void sizes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("placeholder") << QStringLiteral("Ingen.jpg") << QSize(466, 319);
        QTest::newRow("front page background") << QStringLiteral("Baggrund.jpg") << QSize(1008, 506);
        QTest::newRow("front page drawing") << QStringLiteral("Forside.jpg") << QSize(500, 408);
        QTest::newRow("splash") << QStringLiteral("Splash.jpg") << QSize(578, 85);
        QTest::newRow("about box") << QStringLiteral("About.jpg") << QSize(60, 200);
    }

    void sizes() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QCOMPARE(Load(name).size(), size);
    }

    // The splash window is shaped from the non-white pixels: away from the lettering the picture
    // must be exactly white, and the lettering itself must be there.
    void splashIsLetteringOnWhite() {
        const QImage splash = Load(QStringLiteral("Splash.jpg"));
        int ink = 0;
        for (int y = 0; y < splash.height(); ++y) {
            for (int x = 0; x < splash.width(); ++x) {
                const QColor colour = splash.pixelColor(x, y);
                const bool margin = x < 8 || x >= 570 || y < 8 || y >= 80;
                if (margin) {
                    QVERIFY2(colour == QColor(Qt::white), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                }
                if (colour.blue() > 90 && colour.red() < 60 && colour.green() < 60) {
                    ++ink; // navy
                }
            }
        }
        QVERIFY2(ink > 3000, qPrintable(QString::number(ink)));
    }
};

HABITRA_TEST(TestShippedPictures)
#include "ShippedPicturesTest.moc"
