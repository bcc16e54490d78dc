#include "register/Register.h"
#include "ProgramFolder.h"
#include "TestPlatform.h"
#include "TestRegistry.h"
#include "register/ScopedFilter.h"
#include "store/DataSource.h"
#include "store/Error.h"
#include "store/Field.h"
#include "store/FilterParser.h"
#include "store/Sqlite.h"
#include "store/Table.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {
struct TRow {
    QString Beskrivelse;
    QString Kategori;
    qint64 Foto;
};

// A program folder with the given items and counter numbers, and a register over it, opened.
struct TRegisterFixture {
    TProgramFolder Folder;
    QString PreviousDirectory = QDir::currentPath();
    std::unique_ptr<TRegister> Register;

    explicit TRegisterFixture(const std::vector<TRow>& items, const std::vector<qint64>& counter = {}) {
        {
            TSqliteDatabase db;
            db.Open(Folder.FilePath(QStringLiteral("Data/Habitra.db")));
            TSqliteStatement insert(db, QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori, Foto) "
                                                       "VALUES (?,?,?)"));
            for (const TRow& item : items) {
                insert.BindAll({item.Beskrivelse, item.Kategori, item.Foto});
                insert.Execute();
                insert.Reset();
            }
        }
        {
            TSqliteDatabase db;
            db.Open(Folder.FilePath(QStringLiteral("Data/Regnr.DB")));
            for (const qint64 number : counter) {
                db.Execute(QStringLiteral("INSERT INTO Regnr VALUES (%1)").arg(number));
            }
        }
        QDir::setCurrent(Folder.Path()); // the register's "Data" is relative, as in the program
        Register = std::make_unique<TRegister>(TFormatSettings::Danish());
        Register->SetPictures(TPictureFolder(Folder.PicturePath()));
        Register->Open();
    }
    ~TRegisterFixture() {
        Register.reset();
        QDir::setCurrent(PreviousDirectory);
    }
    TTable& Items() const { return Register->HabitraTable(); }
    QString Picture(const QString& name) const { return QDir(Folder.PicturePath()).filePath(name); }
    // Stands on the item with this description; false when the current set has none.
    bool GoTo(const QString& beskrivelse) const {
        for (Items().First(); !Items().Eof(); Items().Next()) {
            if (Items().FieldByName(QStringLiteral("Beskrivelse"))->AsString() == beskrivelse) {
                return true;
            }
        }
        return false;
    }
};

const std::vector<TRow> Standard{
    {QStringLiteral("Stol"), QStringLiteral("Møbler"), 1},
    {QStringLiteral("Vase"), QStringLiteral("Antikviteter"), 2},
    {QStringLiteral("Bord"), QStringLiteral("Møbler"), 3},
    {QStringLiteral("Vase"), QStringLiteral("Antikviteter"), 4},
};

void WriteJpeg(const QString& path, const QColor& colour) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "JPEG"));
}

QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

class RegisterTest : public QObject {
    Q_OBJECT
private slots:
    void scopedFilterRestores_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<bool>("thrown");
        QTest::addColumn<QString>("narrowTo"); // a description; empty: every item
        QTest::addColumn<int>("inScope");
        QTest::addColumn<int>("count"); // items seen again afterwards
        QTest::newRow("category, left normally")
            << "Kategori = 'Møbler'" << true << false << "Vase" << 2 << 2;
        QTest::newRow("category, left by an error")
            << "Kategori = 'Møbler'" << true << true << "Vase" << 2 << 2;
        // The old text stays as it was, not in force.
        QTest::newRow("unfiltered, left by an error")
            << "Kategori = 'Møbler'" << false << true << "Vase" << 2 << 4;
        QTest::newRow("no filter, left by an error") << "" << false << true << "Vase" << 2 << 4;
        QTest::newRow("every item, from a category")
            << "Kategori = 'Møbler'" << true << false << "" << 4 << 2;
    }
    void scopedFilterRestores() {
        QFETCH(QString, filter);
        QFETCH(bool, filtered);
        QFETCH(bool, thrown);
        QFETCH(QString, narrowTo);
        QFETCH(int, inScope);
        QFETCH(int, count);
        TRegisterFixture fixture(Standard);
        TTable& items = fixture.Items();
        items.SetFilter(filter);
        items.SetFiltered(filtered);
        TDataSource source;
        source.SetDataSet(&items);
        int changes = 0;
        source.OnDataChange = [&](TDataSource&, TField*) { ++changes; };
        try {
            TScopedFilter narrowed(items, narrowTo.isEmpty()
                                              ? TFieldFilter()
                                              : TFieldFilter(QStringLiteral("Beskrivelse"), narrowTo));
            QCOMPARE(items.RecordCount(), inScope);
            if (thrown) {
                throw std::runtime_error("printer gone");
            }
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(changes, 2); // one narrowing, one putting back
        QCOMPARE(items.Filter(), filter);
        QCOMPARE(items.Filtered(), filtered);
        QCOMPARE(items.RecordCount(), count);
    }

    void nextPictureNumber_data() {
        QTest::addColumn<QList<qint64>>("counter");
        QTest::addColumn<qint64>("next");
        QTest::newRow("first number") << QList<qint64>{} << qint64(1);
        QTest::newRow("after the last, not the count") << QList<qint64>{1, 2, 41} << qint64(42);
    }
    void nextPictureNumber() {
        QFETCH(QList<qint64>, counter);
        QFETCH(qint64, next);
        TRegisterFixture fixture({}, {counter.begin(), counter.end()});
        QCOMPARE(fixture.Register->NextPictureNumber(), next);
        QCOMPARE(fixture.Register->NextPictureNumber(), next + 1);
        // Each number is kept as used, so that a later start goes on from there.
        TTable& numbers = fixture.Register->RegTable();
        QCOMPARE(numbers.RecordCount(), int(counter.size()) + 2);
        numbers.Last();
        QCOMPARE(numbers.FieldByName(QStringLiteral("Regnr"))->AsInteger(), next + 1);
    }

    void newItemIsNumbered_data() {
        QTest::addColumn<QString>("category");
        QTest::newRow("on a category page") << "Bøger";
        QTest::newRow("without a category") << "";
    }
    void newItemIsNumbered() {
        QFETCH(QString, category);
        TRegisterFixture fixture(Standard, {7});
        TTable& items = fixture.Items();
        items.AfterInsert = [&](TTable&) { fixture.Register->NumberNewItem(category); };
        items.Append();
        QCOMPARE(items.FieldByName(QStringLiteral("Foto"))->AsInteger(), qint64(8));
        QCOMPARE(items.FieldByName(QStringLiteral("Kategori"))->AsString(), category);
        QVERIFY(items.FieldByName(QStringLiteral("Kategori"))->IsNull() == category.isEmpty());
        items.Cancel();
    }

    void fetchPicture() {
        TRegisterFixture fixture(Standard);
        QVERIFY(fixture.GoTo(QStringLiteral("Bord")));
        QTemporaryDir chosen;
        const QString photo = QDir(chosen.path()).filePath(QStringLiteral("photo.jpg"));
        WriteJpeg(photo, Qt::red);
        const QString target = fixture.Register->FetchPicture(photo);
        QCOMPARE(target, fixture.Picture(QStringLiteral("3.jpg")));
        QCOMPARE(fixture.Register->PictureFile(), target);
        QVERIFY(!QImage(target).isNull());

        // A file that is no picture leaves the item's picture as it was.
        const QString text = QDir(chosen.path()).filePath(QStringLiteral("notes.jpg"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        QVERIFY_THROWS_EXCEPTION(EHabitraError, fixture.Register->FetchPicture(text));
        QCOMPARE(QImage(target).pixelColor(5, 5).red() > 200, true);
    }

    void printItem_data() {
        QTest::addColumn<bool>("pageFiltered"); // false: as the overview's jump leaves the table
        QTest::addColumn<bool>("pictureReadable");
        QTest::newRow("from its page") << true << true;
        QTest::newRow("from the unfiltered table") << false << true;
        QTest::newRow("picture unreadable") << true << false;
    }
    void printItem() {
        QFETCH(bool, pageFiltered);
        QFETCH(bool, pictureReadable);
        TRegisterFixture fixture(Standard);
        TTestPlatform& platform = TTestPlatform::Install();
        QTemporaryDir output;
        platform.PdfPath = QDir(output.path()).filePath(QStringLiteral("item.pdf"));
        WriteJpeg(fixture.Picture(QStringLiteral("4.jpg")), Qt::green);
        if (!pictureReadable) {
            QFile broken(fixture.Picture(QStringLiteral("4.jpg")));
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write("kaput");
        }
        TTable& items = fixture.Items();
        if (pageFiltered) {
            items.SetFilter(QStringLiteral("Kategori = 'Antikviteter'"));
            items.SetFiltered(true);
        }
        // The second of two vases: the printout is of the one stood on, whose picture is Foto 4.
        for (items.First(); !items.Eof() && items.FieldByName(QStringLiteral("Foto"))->AsInteger() != 4;
             items.Next()) {
        }
        bool printed = false;
        try {
            printed = fixture.Register->PrintItem();
        } catch (const EHabitraError&) {
        }
        QCOMPARE(printed, pictureReadable);
        QCOMPARE(platform.Previews, pictureReadable ? 1 : 0);
        if (pictureReadable) {
            QVERIFY(PdfText(platform.PdfPath).contains(QStringLiteral("Vase")));
        }
        // Afterwards the item's category, standing on its first item, whichever way it ended.
        QCOMPARE(items.Filter(), QStringLiteral("Kategori = 'Antikviteter'"));
        QVERIFY(items.Filtered());
        QCOMPARE(items.RecordCount(), 2);
        QCOMPARE(items.RecNo(), 1);
    }

    void printItemEmpty() {
        TRegisterFixture fixture({});
        TTestPlatform& platform = TTestPlatform::Install();
        QVERIFY(!fixture.Register->PrintItem());
        QCOMPARE(platform.Previews, 0);
    }

    void exportWritesEveryItem() {
        TRegisterFixture fixture(Standard);
        TTestPlatform& platform = TTestPlatform::Install();
        QTemporaryDir output;
        const QString file = QDir(output.path()).filePath(QStringLiteral("items.txt"));
        // Names the file in the prompt, then confirms the box that says it was written.
        QTimer answer;
        QStringList boxes;
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                boxes << box->text();
                box->accept();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                if (auto* edit = dialog->findChild<QLineEdit*>()) {
                    edit->setText(file);
                    dialog->accept();
                }
            }
        });
        answer.start(10);
        QVERIFY(fixture.Register->Export(nullptr));
        answer.stop();
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(written.readAll());
        // Every item, its texts quoted and its fields separated as the export's format is.
        for (const TRow& item : Standard) {
            QVERIFY2(text.contains(QLatin1Char('"') + item.Beskrivelse + QStringLiteral("\";")),
                     qPrintable(text));
        }
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(platform.Opened, QStringList{file});
    }
};

HABITRA_TEST(RegisterTest)
#include "RegisterTest.moc"
