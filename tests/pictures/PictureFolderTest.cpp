#include "pictures/PictureFolder.h"
#include "TestRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPictureFolder : public QObject {
    Q_OBJECT

private:
    static void Touch(const QString& path) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(QFileInfo(path).fileName().toUtf8()); // each file knows its own name
    }

private slots:
    void defaultFolderIsBesideProgram() {
        const TPictureFolder folder;
        QCOMPARE(folder.Path(),
                 QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Billeder")));
    }

    void fileName_data() {
        QTest::addColumn<QString>("foto");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number") << QStringLiteral("12") << QStringLiteral("12.jpg");
        QTest::newRow("large number") << QStringLiteral("100042") << QStringLiteral("100042.jpg");
        QTest::newRow("empty") << QString() << QStringLiteral(".jpg");
    }

    void fileName() {
        QFETCH(QString, foto);
        QFETCH(QString, expected);
        const TPictureFolder folder(QStringLiteral("/some/where/Billeder"));
        QCOMPARE(folder.FileName(foto), QStringLiteral("/some/where/Billeder/") + expected);
        // Nothing there: the lookup gives the same intended path.
        QCOMPARE(folder.ItemPicture(foto), folder.FileName(foto));
    }

    void find_data() {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("found");
        const QString ingen = QStringLiteral("Ingen.jpg");
        const QString lower = QStringLiteral("ingen.jpg");
        QTest::newRow("exact") << QStringList{ingen} << ingen << ingen;
        QTest::newRow("lower case asks, capital on disk") << QStringList{ingen} << lower << ingen;
        QTest::newRow("capital asks, lower case on disk") << QStringList{lower} << ingen << lower;
        QTest::newRow("all capitals on disk")
            << QStringList{QStringLiteral("INGEN.JPG")} << lower << QStringLiteral("INGEN.JPG");
        QTest::newRow("both exist, lower asked") << QStringList{ingen, lower} << lower << lower;
        QTest::newRow("both exist, capital asked") << QStringList{lower, ingen} << ingen << ingen;
        QTest::newRow("other files only")
            << QStringList{QStringLiteral("Ingen.jpeg"), QStringLiteral("12.jpg")} << ingen << ingen;
        QTest::newRow("empty folder") << QStringList{} << lower << lower;
        QTest::newRow("item picture in capitals")
            << QStringList{QStringLiteral("12.JPG"), QStringLiteral("1.jpg")} << QStringLiteral("12.jpg")
            << QStringLiteral("12.JPG");
        QTest::newRow("empty picture number")
            << QStringList{QStringLiteral(".JPG")} << QStringLiteral(".jpg") << QStringLiteral(".JPG");
    }

    void find() {
        QFETCH(QStringList, onDisk);
        QFETCH(QString, asked);
        QFETCH(QString, found);
        QTemporaryDir dir;
        for (const QString& name : onDisk) {
            Touch(dir.filePath(name));
        }
        if (QTest::currentTestFailed()) {
            return;
        }
        const TPictureFolder folder(dir.path());
        const QString path = folder.Find(asked);
        QCOMPARE(path, dir.filePath(found));
        if (onDisk.contains(found)) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(file.readAll()), found);
        }
    }

    void itemPictureAndPlaceholder() {
        QTemporaryDir dir;
        Touch(dir.filePath(QStringLiteral("7.Jpg")));
        Touch(dir.filePath(QStringLiteral("INGEN.jpg")));
        const TPictureFolder folder(dir.path());
        QCOMPARE(folder.ItemPicture(QStringLiteral("7")), dir.filePath(QStringLiteral("7.Jpg")));
        QCOMPARE(folder.ItemPicture(QStringLiteral("70")), dir.filePath(QStringLiteral("70.jpg")));
        QCOMPARE(folder.Placeholder(), dir.filePath(QStringLiteral("INGEN.jpg")));
    }
};

HABITRA_TEST(TestPictureFolder)
#include "PictureFolderTest.moc"
