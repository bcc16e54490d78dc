#include "ExifJpeg.h"
#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "pictures/BilledUnit.h"
#include "pictures/JpegLoader.h"
#include "pictures/PictureArea.h"
#include "store/ProgramSettings.h"
#include "store/Table.h"
#include "toolkit/PictureLabel.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <climits>
#include <functional>
#include <memory>
#include <sys/stat.h>

// Makes the file that an item's picture number names.
using TPictureMaker = std::function<void(const QString& path)>;
Q_DECLARE_METATYPE(TPictureMaker)
// Spoils the fetch's copy and gives the file to offer in the dialog.
using TCopyBreaker = std::function<QString(const TMainWindowFixture& fixture, const QString& chosen)>;
Q_DECLARE_METATYPE(TCopyBreaker)

// Item pictures on the main window: showing, fetching, the full-size window and the printout.
class PicturesTest : public QObject {
    Q_OBJECT

    struct TItem {
        QString Beskrivelse;
        QString Foto; // empty: no picture number
        QString Kategori = QStringLiteral("Antikviteter");
    };

    static void AddItems(const TMainWindowFixture& fixture, const QList<TItem>& items) {
        for (const TItem& item : items) {
            fixture.Sql(
                QStringLiteral("Habitra.db"),
                QStringLiteral("INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('%1', %2, '%3')")
                    .arg(QString(item.Beskrivelse).replace(QLatin1Char('\''), QStringLiteral("''")),
                         item.Foto.isEmpty() ? QStringLiteral("NULL") : item.Foto, item.Kategori));
        }
    }

    static void WritePicture(const QString& path, const QColor& colour, const QSize& size) {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        SaveJpeg(image, path);
    }

    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void WriteAll(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(bytes);
    }

    // What a picture control shows, as its size and the colour of its middle pixel.
    static QString Look(const QImage& image) {
        if (image.isNull()) {
            return QStringLiteral("nothing");
        }
        const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
        return QStringLiteral("%1x%2 %3").arg(image.width()).arg(image.height()).arg(Colour(middle));
    }
    static QString Look(const TPictureLabel& label) { return Look(label.Picture()); }

    // The nearest of the test colours, so that JPEG's small shifts do not matter.
    static QString Colour(const QColor& colour) {
        const std::array<std::pair<const char*, QColor>, 6> named{{{"red", Qt::red},
                                                                   {"blue", Qt::blue},
                                                                   {"green", Qt::green},
                                                                   {"yellow", Qt::yellow},
                                                                   {"white", Qt::white},
                                                                   {"black", Qt::black}}};
        QString best;
        int bestDistance = INT_MAX;
        for (const auto& [name, known] : named) {
            const int distance = std::abs(colour.red() - known.red()) +
                                 std::abs(colour.green() - known.green()) +
                                 std::abs(colour.blue() - known.blue());
            if (distance < bestDistance) {
                best = QLatin1String(name);
                bestDistance = distance;
            }
        }
        return bestDistance < 120 ? best : QStringLiteral("other");
    }

    // What the picture area shows once its decode is done.
    static QString Shown(TForm1& form) {
        if (!form.PictureArea().WaitUntilShown()) {
            return QStringLiteral("still decoding");
        }
        return Look(*form.Controls().Image3);
    }

    static QString Folder(const TMainWindowFixture& fixture, const QString& name) {
        return QDir(fixture.Folder.PicturePath()).filePath(name);
    }

    // A placeholder of its own, so that it is told apart from every item picture.
    static void WritePlaceholder(const TMainWindowFixture& fixture,
                                 const QString& name = QStringLiteral("Ingen.jpg")) {
        QFile::remove(Folder(fixture, QStringLiteral("Ingen.jpg")));
        WritePicture(Folder(fixture, name), Qt::yellow, QSize(60, 40));
    }
    static QString PlaceholderLook() { return QStringLiteral("60x40 yellow"); }

    // Answers the next open-file dialog with `path`, or cancels it when `path` is empty. Gives up
    // after five seconds, so that it cannot answer a later test's dialog.
    static void AnswerOpenDialog(const QString& path) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        auto polls = std::make_shared<int>(0);
        connect(timer, &QTimer::timeout, timer, [timer, path, polls] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) {
                if (++*polls > 500) {
                    timer->stop();
                    timer->deleteLater();
                }
                return;
            }
            timer->stop();
            timer->deleteLater();
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            // selectFile leaves the name field alone while it has the focus, so type there as well.
            dialog->selectFile(path);
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(path);
            }
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
        });
        timer->start();
    }

    static QStringList PictureFolderEntries(const TMainWindowFixture& fixture) {
        return QDir(fixture.Folder.PicturePath())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    static QString Run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            return QStringLiteral("<%1 failed: %2>")
                .arg(program, QString::fromUtf8(process.readAllStandardError()));
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static quint32 Crc32(const QByteArray& bytes) {
        quint32 crc = 0xFFFFFFFFu;
        for (const char byte : bytes) {
            crc ^= quint8(byte);
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
            }
        }
        return ~crc;
    }

    // A HEIC file of `image` made by libheif's own encoder program (x265), at high quality; an
    // empty image gives a small grey one.
    static QByteArray MakeHeic(const QImage& image, const QString& near) {
        const QString png = near + QStringLiteral(".source.png");
        QImage source = image;
        if (source.isNull()) {
            source = QImage(64, 48, QImage::Format_RGB32);
            source.fill(Qt::gray);
        }
        source.convertToFormat(QImage::Format_RGB32).save(png, "PNG");
        const QString heic = near + QStringLiteral(".made.heic");
        const QString result = Run(QStringLiteral("heif-enc"), {QStringLiteral("-q"), QStringLiteral("95"),
                                                                png, QStringLiteral("-o"), heic});
        const QByteArray bytes = ReadAll(heic);
        QFile::remove(png);
        QFile::remove(heic);
        if (bytes.isEmpty()) {
            qWarning("heif-enc: %s", qPrintable(result));
        }
        return bytes;
    }

    // The first page at 254 dpi, about 10 dots per mm.
    static QImage RenderPage(const QString& pdf) {
        const QString prefix = pdf + QStringLiteral("-page");
        QFile::remove(prefix + QStringLiteral(".png"));
        Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, prefix});
        return QImage(prefix + QStringLiteral(".png"));
    }
    // The colour at a place on an A4 landscape page, in mm from its top-left corner.
    static QString At(const QImage& page, double x, double y) {
        return Colour(page.pixelColor(int(x * page.width() / 297.0), int(y * page.height() / 210.0)));
    }

    static void DoubleClickPicture(TForm1& form) {
        QTest::mouseDClick(form.Controls().Image3, Qt::LeftButton, {}, QPoint(5, 5));
    }

private slots:
    void cleanup() { TTestPlatform::Uninstall(); }

    void shownPictureOrPlaceholder_data() {
        using TMaker = TPictureMaker;
        QTest::addColumn<TMaker>("make");
        QTest::addColumn<QString>("look");
        const auto valid = [](const QString& path) { WritePicture(path, Qt::blue, QSize(120, 90)); };
        QTest::newRow("picture") << TMaker(valid) << QStringLiteral("120x90 blue");
        QTest::newRow("name in capitals on disk") << TMaker([valid](const QString& path) {
            valid(QFileInfo(path).path() + QStringLiteral("/12.JPG"));
        }) << QStringLiteral("120x90 blue");
        QTest::newRow("missing") << TMaker([](const QString&) {}) << PlaceholderLook();
        QTest::newRow("truncated") << TMaker([valid](const QString& path) {
            valid(path);
            const QByteArray bytes = ReadAll(path);
            WriteAll(path, bytes.left(bytes.size() * 2 / 3));
        }) << PlaceholderLook();
        QTest::newRow("corrupt") << TMaker([valid](const QString& path) {
            valid(path);
            QByteArray bytes = ReadAll(path);
            bytes.replace(2, 80, QByteArray(80, '\x00')); // the tables after the start marker
            WriteAll(path, bytes);
        }) << PlaceholderLook();
        QTest::newRow("not a JPEG") << TMaker([](const QString& path) {
            QImage image(120, 90, QImage::Format_RGB32);
            image.fill(Qt::blue);
            QVERIFY(image.save(path, "PNG"));
        }) << PlaceholderLook();
        QTest::newRow("folder of that name")
            << TMaker([](const QString& path) { QVERIFY(QDir().mkpath(path)); }) << PlaceholderLook();
    }

    void shownPictureOrPlaceholder() {
        QFETCH(TPictureMaker, make);
        QFETCH(QString, look);
        TMainWindowFixture fixture;
        WritePlaceholder(fixture, QStringLiteral("ingen.JPG")); // asked for as "Ingen.jpg"
        AddItems(fixture, {{QStringLiteral("Kommode"), QStringLiteral("12")}});
        make(Folder(fixture, QStringLiteral("12.jpg")));
        TForm1& form = fixture.Start();
        QCOMPARE(Shown(form), look);
        QCOMPARE(fixture.Answerer->Count(), 0); // silently
    }

    void pictureArea() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Maleri"), QStringLiteral("7")},
                           {QStringLiteral("Ur"), QStringLiteral("8")}});
        WritePicture(Folder(fixture, QStringLiteral("7.jpg")), Qt::red, QSize(900, 700));
        WritePicture(Folder(fixture, QStringLiteral("8.jpg")), Qt::green, QSize(100, 80));
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();
        QTest::qWait(20);
        const auto& ui = form.Controls();
        QCOMPARE(ui.Image3->toolTip(), QStringLiteral("Dobbeltklik for fuld størrelse"));
        QCOMPARE(ui.SpeedButton4->toolTip(), QStringLiteral("Hent et billede i JPEG-format"));

        // Natural size from the top-left corner, scroll bars only when larger than the box.
        QCOMPARE(ui.DBText1->text(), QStringLiteral("7"));
        QCOMPARE(Shown(form), QStringLiteral("900x700 red"));
        QCOMPARE(ui.Image3->geometry(), QRect(0, 0, 900, 700));
        QVERIFY(ui.ScrollBox1->horizontalScrollBar()->isVisible());
        QVERIFY(ui.ScrollBox1->verticalScrollBar()->isVisible());

        form.Register().HabitraTable().Next();
        QCOMPARE(ui.DBText1->text(), QStringLiteral("8"));
        QCOMPARE(Shown(form), QStringLiteral("100x80 green"));
        QTest::qWait(20);
        QCOMPARE(ui.Image3->geometry(), QRect(0, 0, 100, 80));
        QVERIFY(!ui.ScrollBox1->horizontalScrollBar()->isVisible());
        QVERIFY(!ui.ScrollBox1->verticalScrollBar()->isVisible());

        // A picture that changes on disk is read again at the next change of the item.
        WritePicture(Folder(fixture, QStringLiteral("7.jpg")), Qt::blue, QSize(200, 100));
        form.Register().HabitraTable().First();
        QCOMPARE(Shown(form), QStringLiteral("200x100 blue"));

        // A page without items has no picture number: the placeholder.
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(ui.DBText1->text(), QString());
        QCOMPARE(Shown(form), PlaceholderLook());
    }

    void emptyPictureNumberLooksForDotJpg() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Skab"), QString()}});
        WritePicture(Folder(fixture, QStringLiteral(".jpg")), Qt::green, QSize(30, 20));
        TForm1& form = fixture.Start();
        QCOMPARE(form.Register().PictureFile(), Folder(fixture, QStringLiteral(".jpg")));
        QCOMPARE(Shown(form), QStringLiteral("30x20 green"));
    }

    void placeholderUnreadable() {
        TMainWindowFixture fixture;
        QFile::remove(Folder(fixture, QStringLiteral("Ingen.jpg")));
        AddItems(fixture, {{QStringLiteral("Spejl"), QStringLiteral("3")},
                           {QStringLiteral("Vase"), QStringLiteral("4")}});
        WritePicture(Folder(fixture, QStringLiteral("3.jpg")), Qt::red, QSize(50, 50));
        TForm1& form = fixture.Start();
        QCOMPARE(Shown(form), QStringLiteral("50x50 red"));
        form.Register().HabitraTable().Next();
        QTRY_COMPARE(fixture.Answerer->Count(), 1);
        QVERIFY2(fixture.Answerer->Texts.last().contains(QStringLiteral("Ingen.jpg")),
                 qPrintable(fixture.Answerer->Texts.last()));
        QCOMPARE(fixture.Answerer->Titles.last(), QStringLiteral("Habitra"));
        QCOMPARE(Shown(form), QStringLiteral("50x50 red")); // keeps what it showed
    }

    void fetchReplacesPicture() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Lysekrone"), QStringLiteral("5")}});
        WritePicture(Folder(fixture, QStringLiteral("5.jpg")), Qt::red, QSize(80, 60));
        QTemporaryDir elsewhere;
        const QString chosen = QDir(elsewhere.path()).filePath(QStringLiteral("foto fra ferien.jpeg"));
        WritePicture(chosen, Qt::blue, QSize(160, 120));
        TForm1& form = fixture.Start();
        QCOMPARE(Shown(form), QStringLiteral("80x60 red"));

        AnswerOpenDialog(QString()); // cancelled: nothing happens
        form.Controls().SpeedButton4->click();
        QCOMPARE(Shown(form), QStringLiteral("80x60 red"));

        AnswerOpenDialog(chosen);
        form.Controls().SpeedButton4->click();
        QCOMPARE(fixture.Answerer->Count(), 0);
        QCOMPARE(ReadAll(Folder(fixture, QStringLiteral("5.jpg"))), ReadAll(chosen));
        QCOMPARE(Shown(form), QStringLiteral("160x120 blue"));
        QCOMPARE(PictureFolderEntries(fixture), (QStringList{"5.jpg", "Ingen.jpg"}));
        QVERIFY(form.OpenDialog1->nameFilters().join(QString()).contains(QLatin1Char('*')));

        // A new item that is not yet posted has its number already; the copy takes it.
        form.Navigator(1)->BtnClick(nbInsert);
        const QString foto = form.Register().HabitraTable().FieldByName(QStringLiteral("Foto"))->AsString();
        QVERIFY(!foto.isEmpty());
        QCOMPARE(Shown(form), PlaceholderLook());
        AnswerOpenDialog(chosen);
        form.Controls().SpeedButton4->click();
        QCOMPARE(ReadAll(Folder(fixture, foto + QStringLiteral(".jpg"))), ReadAll(chosen));
        QCOMPARE(Shown(form), QStringLiteral("160x120 blue"));
    }

    // A file that is not a readable picture is refused before anything is written: the item keeps
    // its picture on disk and on screen.
    void badPictureRefused_data() {
        using TMaker = TPictureMaker;
        QTest::addColumn<QString>("name");
        QTest::addColumn<TMaker>("make");
        QTest::addColumn<QString>("says");
        const auto jpeg = [](const QString& path) { WritePicture(path, Qt::blue, QSize(160, 120)); };
        QTest::newRow("text named .jpg")
            << "noter.jpg" << TMaker([](const QString& path) { WriteAll(path, "ikke et billede\n"); })
            << "er ikke et billede i JPEG-, PNG- eller HEIC-format";
        QTest::newRow("empty file") << "tom.png" << TMaker([](const QString& path) { WriteAll(path, ""); })
                                    << "er ikke et billede";
        QTest::newRow("truncated JPEG") << "halv.jpg" << TMaker([jpeg](const QString& path) {
            jpeg(path);
            const QByteArray bytes = ReadAll(path);
            WriteAll(path, bytes.left(bytes.size() / 2));
        }) << "kan ikke læses";
        QTest::newRow("corrupt JPEG") << "rod.jpg" << TMaker([jpeg](const QString& path) {
            jpeg(path);
            QByteArray bytes = ReadAll(path);
            bytes.replace(20, 200, QByteArray(200, '\x5A'));
            WriteAll(path, bytes);
        }) << "kan ikke læses";
        QTest::newRow("huge JPEG header") << "stor.jpg" << TMaker([jpeg](const QString& path) {
            jpeg(path);
            QByteArray bytes = ReadAll(path);
            const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
            bytes[frame + 5] = bytes[frame + 7] = char(0xFF); // 65000-odd pixels each way
            WriteAll(path, bytes);
        }) << "too large";
        QTest::newRow("truncated PNG") << "halv.png" << TMaker([](const QString& path) {
            QImage image(200, 200, QImage::Format_RGB32);
            image.fill(Qt::green);
            QVERIFY(image.save(path, "PNG"));
            const QByteArray bytes = ReadAll(path);
            WriteAll(path, bytes.left(bytes.size() / 2));
        }) << "kan ikke læses";
        QTest::newRow("huge PNG header") << "stor.png" << TMaker([](const QString& path) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::green);
            QVERIFY(image.save(path, "PNG"));
            QByteArray bytes = ReadAll(path);
            bytes.replace(16, 8, QByteArray("\x00\x00\xEA\x60\x00\x00\xEA\x60", 8)); // 60000 x 60000
            const quint32 crc = Crc32(bytes.mid(12, 17)); // the header chunk's type and data
            for (int i = 0; i < 4; ++i) {
                bytes[29 + i] = char(crc >> (24 - 8 * i));
            }
            WriteAll(path, bytes);
        }) << "too large (60000 x 60000 pixels)";
        QTest::newRow("truncated HEIC") << "halv.heic" << TMaker([](const QString& path) {
            WriteAll(path, MakeHeic(QImage(QStringLiteral(":/none")), path).left(40));
        }) << "kan ikke læses";
    }

    void badPictureRefused() {
        QFETCH(QString, name);
        QFETCH(TPictureMaker, make);
        QFETCH(QString, says);
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Tæppe"), QStringLiteral("6")}});
        WritePicture(Folder(fixture, QStringLiteral("6.jpg")), Qt::red, QSize(80, 60));
        const QByteArray before = ReadAll(Folder(fixture, QStringLiteral("6.jpg")));
        QTemporaryDir elsewhere;
        const QString chosen = QDir(elsewhere.path()).filePath(name);
        make(chosen);
        TForm1& form = fixture.Start();
        QCOMPARE(Shown(form), QStringLiteral("80x60 red"));
        const QStringList entries = PictureFolderEntries(fixture);

        AnswerOpenDialog(chosen);
        form.Controls().SpeedButton4->click();
        QTRY_COMPARE(fixture.Answerer->Count(), 1);
        const QString text = fixture.Answerer->Texts.constFirst();
        QVERIFY2(text.contains(chosen) && text.contains(says), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("uændret")), qPrintable(text));
        QCOMPARE(ReadAll(Folder(fixture, QStringLiteral("6.jpg"))), before);
        QCOMPARE(PictureFolderEntries(fixture), entries);
        QCOMPARE(Shown(form), QStringLiteral("80x60 red"));
    }

    // PNG and HEIC photos become upright JPEG files named by the picture number; a phone's JPEG is
    // copied as it is, its orientation tag honoured when shown.
    void fetchConverts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("copiedAsIs");
        QTest::newRow("PNG") << "foto.png" << false;
        QTest::newRow("PNG in capitals, transparent corner") << "FOTO.PNG" << false;
        QTest::newRow("HEIC") << "IMG_0001.HEIC" << false;
        QTest::newRow("HEIF named .jpg") << "telefon.jpg" << false;
        QTest::newRow("JPEG turned by EXIF") << "telefon6.jpg" << true;
    }

    void fetchConverts() {
        QFETCH(QString, name);
        QFETCH(bool, copiedAsIs);
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Cykel"), QStringLiteral("8")}});
        WritePicture(Folder(fixture, QStringLiteral("8.jpg")), Qt::blue, QSize(40, 40));
        QTemporaryDir elsewhere;
        const QString chosen = QDir(elsewhere.path()).filePath(name);
        // Upright: 96 x 64 with red top-left and green top-right, black elsewhere.
        QImage upright(96, 64, QImage::Format_ARGB32);
        upright.fill(Qt::black);
        QPainter paint(&upright);
        paint.fillRect(0, 0, 24, 24, Qt::red);
        paint.fillRect(72, 0, 24, 24, Qt::green);
        if (name.contains(QStringLiteral("transparent"))) {
            paint.setCompositionMode(QPainter::CompositionMode_Source);
            paint.fillRect(0, 40, 24, 24, Qt::transparent);
        }
        paint.end();
        if (name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
            QVERIFY(upright.save(chosen, "PNG"));
        } else if (copiedAsIs) {
            // Stored a quarter turn anticlockwise with orientation 6, as a phone held upright writes it.
            const QImage stored =
                upright.transformed(QTransform().rotate(-90)).convertToFormat(QImage::Format_RGB888);
            const QByteArray exif = QByteArray::fromHex("FFE10022457869660000"
                                                        "4D4D002A00000008"
                                                        "0001"
                                                        "011200030000000100060000"
                                                        "00000000");
            const QByteArray jpeg = EncodeJpeg(stored, chosen, 95);
            WriteAll(chosen, jpeg.left(2) + exif + jpeg.mid(2));
        } else {
            WriteAll(chosen, MakeHeic(upright, chosen));
        }
        TForm1& form = fixture.Start();

        AnswerOpenDialog(chosen);
        form.Controls().SpeedButton4->click();
        QCOMPARE(fixture.Answerer->Count(), 0);
        const QString target = Folder(fixture, QStringLiteral("8.jpg"));
        const QByteArray stored = ReadAll(target);
        QVERIFY(stored.startsWith("\xFF\xD8\xFF"));
        if (copiedAsIs) {
            QCOMPARE(stored, ReadAll(chosen));
        } else {
            QCOMPARE(ReadJpegHeader(target).Orientation, 1); // upright in its pixels
        }
        QCOMPARE(PictureFolderEntries(fixture), (QStringList{"8.jpg", "Ingen.jpg"}));
        QVERIFY(form.OpenDialog1->nameFilters().join(QLatin1Char(' ')).contains(QStringLiteral("*.heic")));
        QVERIFY(form.OpenDialog1->nameFilters().join(QLatin1Char(' ')).contains(QStringLiteral("*.png")));
        for (const QImage& image :
             {LoadJpeg(target), (void(Shown(form)), form.Controls().Image3->Picture())}) {
            QCOMPARE(image.size(), QSize(96, 64));
            QCOMPARE(Colour(image.pixelColor(8, 8)), QStringLiteral("red"));
            QCOMPARE(Colour(image.pixelColor(88, 8)), QStringLiteral("green"));
            QCOMPARE(Colour(image.pixelColor(88, 56)), QStringLiteral("black"));
            const bool transparent = name.contains(QStringLiteral("transparent"));
            QCOMPARE(Colour(image.pixelColor(8, 56)),
                     transparent ? QStringLiteral("white") : QStringLiteral("black"));
        }
    }

    void failedFetchIsReported_data() {
        using TBreaker = TCopyBreaker;
        QTest::addColumn<TBreaker>("breakCopy");
        QTest::addColumn<QString>("reason");
        QTest::newRow("picture folder is a file")
            << TBreaker([](const TMainWindowFixture& fixture, const QString& chosen) {
                   const QString folder = fixture.Folder.PicturePath();
                   QDir(folder).removeRecursively();
                   WriteAll(folder, "not a folder");
                   return chosen;
               })
            << QStringLiteral("Not a directory");
        QTest::newRow("target name taken by a folder")
            << TBreaker([](const TMainWindowFixture& fixture, const QString& chosen) {
                   const QString target = Folder(fixture, QStringLiteral("5.jpg"));
                   QFile::remove(target);
                   QDir().mkpath(target + QStringLiteral("/inside"));
                   return chosen;
               })
            << QStringLiteral("mappe"); // Qt's own words, in the window's Danish
        QTest::newRow("source cannot be read") << TBreaker([](const TMainWindowFixture&, const QString&) {
            return QStringLiteral("/proc/self/mem"); // opens, but reading its first page fails
        }) << QStringLiteral("Input/output error");
    }

    void failedFetchIsReported() {
        QFETCH(TCopyBreaker, breakCopy);
        QFETCH(QString, reason);
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Lysekrone"), QStringLiteral("5")}});
        WritePicture(Folder(fixture, QStringLiteral("5.jpg")), Qt::red, QSize(80, 60));
        QTemporaryDir elsewhere;
        const QString picture = QDir(elsewhere.path()).filePath(QStringLiteral("ny.jpg"));
        WritePicture(picture, Qt::blue, QSize(160, 120));
        TForm1& form = fixture.Start();
        const QByteArray before = ReadAll(Folder(fixture, QStringLiteral("5.jpg")));
        const QStringList entries = PictureFolderEntries(fixture);

        const QString chosen = breakCopy(fixture, picture);
        AnswerOpenDialog(chosen);
        form.Controls().SpeedButton4->click();
        QTRY_COMPARE(fixture.Answerer->Count(), 1);
        const QString text = fixture.Answerer->Texts.constFirst();
        QVERIFY2(text.contains(chosen) && text.contains(Folder(fixture, QStringLiteral("5.jpg"))),
                 qPrintable(text));
        QVERIFY2(text.contains(reason, Qt::CaseInsensitive), qPrintable(text));
        QCOMPARE(fixture.Answerer->Titles.constFirst(), QStringLiteral("Habitra"));
        // Nothing half-written is left: the old picture is whole and no stray file remains.
        if (QFileInfo(fixture.Folder.PicturePath()).isDir()) {
            QCOMPARE(PictureFolderEntries(fixture), entries);
            if (QFileInfo(Folder(fixture, QStringLiteral("5.jpg"))).isFile()) {
                QCOMPARE(ReadAll(Folder(fixture, QStringLiteral("5.jpg"))), before);
            }
        }
    }

    void fetchOwnPicture_data() {
        QTest::addColumn<QString>("offered"); // relative to the picture folder's parent
        QTest::newRow("the file itself") << QStringLiteral("Billeder/5.jpg");
        QTest::newRow("through a link") << QStringLiteral("link/5.jpg");
    }

    void fetchOwnPicture() {
        QFETCH(QString, offered);
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Lysekrone"), QStringLiteral("5")}});
        const QString own = Folder(fixture, QStringLiteral("5.jpg"));
        WritePicture(own, Qt::red, QSize(80, 60));
        QVERIFY(QFile::link(fixture.Folder.PicturePath(), fixture.Folder.FilePath(QStringLiteral("link"))));
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(own).constData(), &before), 0);
        const QByteArray bytes = ReadAll(own);
        TForm1& form = fixture.Start();

        AnswerOpenDialog(fixture.Folder.FilePath(offered));
        form.Controls().SpeedButton4->click();
        QTest::qWait(30);
        QCOMPARE(fixture.Answerer->Count(), 0);
        struct stat after {};
        QCOMPARE(::stat(QFile::encodeName(own).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino); // not written anew
        QCOMPARE(ReadAll(own), bytes);
        QCOMPARE(Shown(form), QStringLiteral("80x60 red"));
        QCOMPARE(PictureFolderEntries(fixture), (QStringList{"5.jpg", "Ingen.jpg"}));
    }

    void fullSizeWindowTitle() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Sofa"), QStringLiteral("12")},
                           {QStringLiteral("Lampe"), QStringLiteral("13")}});
        WritePicture(Folder(fixture, QStringLiteral("12.jpg")), Qt::red, QSize(1400, 900));
        WritePicture(Folder(fixture, QStringLiteral("13.jpg")), Qt::blue, QSize(300, 200));
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();
        TBilledForm& window = fixture.Program->BilledForm();
        QVERIFY(!window.isVisible());

        DoubleClickPicture(form);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("12")); // opened from closed: the picture number
        QVERIFY(window.windowState() & Qt::WindowMaximized);
        QCOMPARE(Look(*window.Image1), QStringLiteral("1400x900 red"));
        QCOMPARE(window.Image1->pos(), QPoint(0, 0));
        QVERIFY(form.isEnabled()); // not modal

        form.Register().HabitraTable().Next();
        DoubleClickPicture(form);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Lampe")); // already open: the description
        QCOMPARE(Look(*window.Image1), QStringLiteral("300x200 blue"));

        window.showMinimized();
        form.Register().HabitraTable().First();
        DoubleClickPicture(form);
        QVERIFY(!window.isMinimized());
        QCOMPARE(window.windowTitle(), QStringLiteral("Sofa"));

        window.close();
        QVERIFY(!window.isVisible());
        form.Register().HabitraTable().Next();
        DoubleClickPicture(form);
        QCOMPARE(window.windowTitle(), QStringLiteral("13"));
        QCOMPARE(fixture.Answerer->Count(), 0);
    }

    void missingPictureMessage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("Danish") << -1 << QStringLiteral("Der er ikke noget billede af Lampe");
        QTest::newRow("English") << 0 << QStringLiteral("No picture of Lampe");
        QTest::newRow("German") << 3 << QStringLiteral("Kein bild von Lampe gefunden!");
    }

    void missingPictureMessage() {
        QFETCH(int, language);
        QFETCH(QString, message);
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Lampe"), QStringLiteral("13")},
                           {QStringLiteral("Sofa"), QStringLiteral("14")}});
        WritePicture(Folder(fixture, QStringLiteral("14.jpg")), Qt::red, QSize(40, 30));
        TForm1& form = fixture.Start();
        form.LanguageClick(language);
        QCOMPARE(Shown(form), PlaceholderLook());
        TBilledForm& window = fixture.Program->BilledForm();

        DoubleClickPicture(form);
        QTRY_COMPARE(fixture.Answerer->Count(), 1);
        QCOMPARE(fixture.Answerer->Texts.constFirst(), message);
        QCOMPARE(fixture.Answerer->Titles.constFirst(), QStringLiteral("Habitra"));
        QVERIFY(!window.isVisible());

        // An open window is not given the placeholder either: it keeps the last picture.
        form.Register().HabitraTable().Next();
        DoubleClickPicture(form);
        QVERIFY(window.isVisible());
        form.Register().HabitraTable().First();
        DoubleClickPicture(form);
        QTRY_COMPARE(fixture.Answerer->Count(), 2);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("14")); // title and picture still of one item
        QCOMPARE(Look(*window.Image1), QStringLiteral("40x30 red"));
    }

    // A phone photo stored a quarter turn off, with EXIF orientation 6: upright in the picture
    // area, in the full-size window and on the printout, where it keeps its own size.
    void phonePhotoUpright() {
        TMainWindowFixture fixture;
        TTestPlatform& platform = TTestPlatform::Install();
        QTemporaryDir output;
        platform.PdfPath = QDir(output.path()).filePath(QStringLiteral("billede.pdf"));
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Cykel"), QStringLiteral("3")}});
        QImage stored(300, 200, QImage::Format_RGB888); // left half red, right half green as stored
        stored.fill(Qt::green);
        QPainter(&stored).fillRect(0, 0, 150, 200, Qt::red);
        WriteAll(Folder(fixture, QStringLiteral("3.jpg")),
                 ExifJpeg::WithOrientation(EncodeJpeg(stored, QStringLiteral("3"), 95), 6));
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();

        const auto upright = [](const QImage& image) {
            return QStringLiteral("%1x%2 %3 over %4")
                .arg(image.width())
                .arg(image.height())
                .arg(Colour(image.pixelColor(100, 50)), Colour(image.pixelColor(100, 250)));
        };
        const QString expected = QStringLiteral("200x300 red over green");
        QCOMPARE(Shown(form).left(7), QStringLiteral("200x300"));
        QCOMPARE(upright(form.Controls().Image3->Picture()), expected);

        DoubleClickPicture(form);
        TBilledForm& window = fixture.Program->BilledForm();
        QVERIFY(window.isVisible());
        QCOMPARE(upright(window.Image1->Picture()), expected);
        window.close();

        form.Controls().SpeedButton1->click();
        QCOMPARE(platform.Previews, 1);
        // At 96 dpi the upright picture is 52.9 mm wide and 79.4 mm high, centred at 148.25, 111.9.
        const QImage page = RenderPage(platform.PdfPath);
        QCOMPARE(At(page, 148.25, 111.9 - 25), QStringLiteral("red"));
        QCOMPARE(At(page, 148.25, 111.9 + 25), QStringLiteral("green"));
        QCOMPARE(At(page, 148.25 + 24, 111.9 + 25), QStringLiteral("green"));
        QCOMPARE(At(page, 148.25 + 29, 111.9), QStringLiteral("white"));
        QCOMPARE(At(page, 148.25, 111.9 - 42), QStringLiteral("white"));
    }

    // Fit to frame is off at first, chosen from the picture area's context menu and kept in the
    // program's own settings for the next start.
    void fitToFrameRemembered() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Maleri"), QStringLiteral("7")}});
        WritePicture(Folder(fixture, QStringLiteral("7.jpg")), Qt::red, QSize(900, 700));
        {
            TForm1& form = fixture.Start();
            form.SpeedButton3Click();
            QVERIFY(!form.PictureArea().FitToFrame());
            QCOMPARE(Shown(form), QStringLiteral("900x700 red"));
            QAction* fit = form.PictureArea().FitAction();
            QVERIFY(!fit->isChecked());
            fit->trigger();
            QCOMPARE(Shown(form), QStringLiteral("410x319 red"));
            QCOMPARE(form.Register().ProgramSettings().Value(QStringLiteral("Pictures.FitToFrame")),
                     QStringLiteral("1"));
            form.close();
        }
        fixture.Program.reset();
        TForm1& again = fixture.Start();
        QVERIFY(again.PictureArea().FitToFrame());
        QVERIFY(again.PictureArea().FitAction()->isChecked());
        QCOMPARE(Shown(again), QStringLiteral("410x319 red"));
    }

    // Stepping through items faster than pictures decode shows only the item the user stops at.
    void steppingShowsOnlyTheCurrentItem() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        QList<TItem> items;
        for (int i = 1; i <= 8; ++i) {
            items.append({QStringLiteral("Ting %1").arg(i), QString::number(i)});
            WritePicture(Folder(fixture, QStringLiteral("%1.jpg").arg(i)), i == 8 ? Qt::blue : Qt::red,
                         QSize(1500 + i, 1000));
        }
        AddItems(fixture, items);
        TForm1& form = fixture.Start();
        QCOMPARE(Shown(form), QStringLiteral("1501x1000 red"));
        QSignalSpy shown(&form.PictureArea(), &TPictureArea::pictureShown);
        for (int i = 2; i <= 8; ++i) {
            form.Navigator(1)->BtnClick(nbNext);
        }
        QCOMPARE(form.Controls().DBText1->text(), QStringLiteral("8"));
        QCOMPARE(Shown(form), QStringLiteral("1508x1000 blue"));
        QVERIFY(!shown.isEmpty());
        for (const QList<QVariant>& signal : shown) {
            QCOMPARE(signal.first().toString(), Folder(fixture, QStringLiteral("8.jpg")));
        }
    }

    // The filter change, the move to the page's item and the page's own call land on one picture.
    void pageChangeShowsItsPictureOnce() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Vase"), QStringLiteral("1")},
                           {QStringLiteral("Bog"), QStringLiteral("2"), QStringLiteral("Bøger")}});
        WritePicture(Folder(fixture, QStringLiteral("1.jpg")), Qt::red, QSize(1501, 1000));
        WritePicture(Folder(fixture, QStringLiteral("2.jpg")), Qt::blue, QSize(1502, 1000));
        TForm1& form = fixture.Start();
        QCOMPARE(Shown(form), QStringLiteral("1501x1000 red"));
        QSignalSpy shown(&form.PictureArea(), &TPictureArea::pictureShown);
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(Shown(form), QStringLiteral("1502x1000 blue"));
        int complete = 0;
        for (const QList<QVariant>& signal : shown) {
            QCOMPARE(signal.first().toString(), Folder(fixture, QStringLiteral("2.jpg")));
            complete += signal.at(1).toBool() ? 1 : 0;
        }
        QCOMPARE(complete, 1);
    }

    void refusalInTheUsersLanguage() {
        TMainWindowFixture fixture;
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Lamp"), QStringLiteral("6")}});
        QTemporaryDir elsewhere;
        const QString chosen = QDir(elsewhere.path()).filePath(QStringLiteral("notes.jpg"));
        WriteAll(chosen, "not a picture");
        TForm1& form = fixture.Start();
        form.LanguageClick(0);
        AnswerOpenDialog(chosen);
        form.Controls().SpeedButton4->click();
        QTRY_COMPARE(fixture.Answerer->Count(), 1);
        QCOMPARE(fixture.Answerer->Texts.constFirst(),
                 QStringLiteral("The file \"%1\" is not a picture in JPEG, PNG or HEIC format and was not "
                                "fetched; the stored picture is unchanged.")
                     .arg(chosen));
        QVERIFY(!QFileInfo::exists(Folder(fixture, QStringLiteral("6.jpg"))));
        QVERIFY(form.OpenDialog1->nameFilters().constFirst().startsWith(QStringLiteral("Pictures (")));
    }

    // Two vases share category and description; the one the user stands on is printed.
    void printsTheCurrentItem() {
        TMainWindowFixture fixture;
        TTestPlatform& platform = TTestPlatform::Install();
        QTemporaryDir output;
        platform.PdfPath = QDir(output.path()).filePath(QStringLiteral("billede.pdf"));
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Vase"), QStringLiteral("1")},
                           {QStringLiteral("Vase"), QStringLiteral("2")},
                           {QStringLiteral("Bord"), QStringLiteral("3")},
                           {QStringLiteral("Vase"), QStringLiteral("4"), QStringLiteral("Møbler")}});
        WritePicture(Folder(fixture, QStringLiteral("1.jpg")), Qt::red, QSize(600, 150));
        WritePicture(Folder(fixture, QStringLiteral("2.jpg")), Qt::blue, QSize(150, 450));
        fixture.Sql(QStringLiteral("Regnr.DB"), QStringLiteral("INSERT INTO Regnr VALUES (4)"));
        TForm1& form = fixture.Start();
        form.Register().HabitraTable().Next();
        QCOMPARE(form.Register().PictureFile(), Folder(fixture, QStringLiteral("2.jpg")));

        form.Controls().SpeedButton1->click();
        QCOMPARE(fixture.Answerer->Count(), 0);
        QCOMPARE(platform.Previews, 1);
        QVERIFY(Run(QStringLiteral("pdfinfo"), {platform.PdfPath})
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        const QString text = Run(QStringLiteral("pdftotext"), {platform.PdfPath, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("Vase")) && !text.contains(QStringLiteral("Habitra")),
                 qPrintable(text));

        // The picture box's middle is at 148.25 mm, 111.9 mm; at 96 dpi the blue picture is 39.7 mm
        // wide and 119.1 mm high, the red one 158.8 mm wide and 39.7 mm high.
        const QImage page = RenderPage(platform.PdfPath);
        QVERIFY(std::abs(page.width() - 2970) <= 2 && std::abs(page.height() - 2100) <= 2); // landscape
        QCOMPARE(At(page, 148.25, 111.9), QStringLiteral("blue"));
        QCOMPARE(At(page, 148.25, 111.9 + 50), QStringLiteral("blue"));
        QCOMPARE(At(page, 148.25 + 40, 111.9), QStringLiteral("white"));
        QCOMPARE(At(page, 148.25 + 19.5, 111.9 - 59), QStringLiteral("blue"));
        QCOMPARE(At(page, 148.25 + 20.5, 111.9 - 59), QStringLiteral("white"));
        QCOMPARE(At(page, 148.25, 111.9 + 60), QStringLiteral("white"));

        // A third vase, new and not yet stored.
        form.Navigator(1)->BtnClick(nbInsert);
        form.Register()
            .HabitraTable()
            .FieldByName(QStringLiteral("Beskrivelse"))
            ->SetAsString(QStringLiteral("Vase"));
        QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Foto"))->AsString(),
                 QStringLiteral("5"));
        WritePicture(Folder(fixture, QStringLiteral("5.jpg")), Qt::green, QSize(100, 100));
        form.Controls().SpeedButton1->click();
        QCOMPARE(fixture.Answerer->Count(), 0);
        QCOMPARE(platform.Previews, 2);
        QCOMPARE(At(RenderPage(platform.PdfPath), 148.25, 111.9), QStringLiteral("green"));
    }

    void filterAfterPrintout_data() {
        QTest::addColumn<int>("row"); // of the item printed, on the antiques page
        QTest::addColumn<bool>("pictureReadable");
        QTest::addColumn<bool>("printed");
        QTest::newRow("printed") << 2 << true << true;
        QTest::newRow("picture unreadable") << 2 << false << false;
        // The filter doubles the quote, so such an item prints like any other.
        QTest::newRow("quote in the description") << 3 << true << true;
    }

    void filterAfterPrintout() {
        QFETCH(int, row);
        QFETCH(bool, pictureReadable);
        QFETCH(bool, printed);
        TMainWindowFixture fixture;
        TTestPlatform& platform = TTestPlatform::Install();
        QTemporaryDir output;
        platform.PdfPath = QDir(output.path()).filePath(QStringLiteral("billede.pdf"));
        WritePlaceholder(fixture);
        AddItems(fixture, {{QStringLiteral("Bord"), QStringLiteral("1")},
                           {QStringLiteral("Vase"), QStringLiteral("2")},
                           {QStringLiteral("Bob's vase"), QStringLiteral("3")},
                           {QStringLiteral("Vase"), QStringLiteral("5"), QStringLiteral("Møbler")}});
        for (const QString& foto : {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5")}) {
            WritePicture(Folder(fixture, foto + QStringLiteral(".jpg")), Qt::green, QSize(40, 40));
        }
        if (!pictureReadable) {
            WriteAll(Folder(fixture, QStringLiteral("2.jpg")), "kaput");
        }
        TForm1& form = fixture.Start();
        form.Register().HabitraTable().SetRecNo(row);
        const QString description =
            form.Register().HabitraTable().FieldByName(QStringLiteral("Beskrivelse"))->AsString();

        form.Controls().SpeedButton1->click();
        QCOMPARE(platform.Previews, printed ? 1 : 0);
        QCOMPARE(fixture.Answerer->Count(), printed ? 0 : 1);
        if (printed) {
            const QString text = Run(QStringLiteral("pdftotext"), {platform.PdfPath, QStringLiteral("-")});
            QVERIFY2(text.contains(description), qPrintable(text));
        } else {
            QVERIFY2(fixture.Answerer->Texts.constFirst().contains(QStringLiteral("2.jpg")),
                     qPrintable(fixture.Answerer->Texts.constFirst()));
        }
        // The category again, standing on its first item.
        QCOMPARE(form.Register().HabitraTable().Filter(), QStringLiteral("Kategori = 'Antikviteter'"));
        QVERIFY(form.Register().HabitraTable().Filtered());
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 3);
        QCOMPARE(form.Register().HabitraTable().RecNo(), 1);
        QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Bord"));
    }
};

HABITRA_TEST(PicturesTest)
#include "PicturesTest.moc"
