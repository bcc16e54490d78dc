#include "ExportFixture.h"
#include "TestRegistry.h"
#include "export/DataExportASCII.h"
#include "export/ExportError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
QString ErrorOf(TDataExportASCII& exporter) {
    try {
        exporter.RunExport();
    } catch (const EExportError& error) {
        return error.Message();
    }
    return {};
}

// Runs with the working directory set to a folder, and puts the old one back.
class TWorkingDirectory {
public:
    explicit TWorkingDirectory(const QString& path) : m_previous(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~TWorkingDirectory() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

void AddOne(TItemTable& items) {
    items.Add({QString::fromUtf8("Lænestol"),
               {},
               {},
               {},
               {},
               QDate(2001, 2, 3),
               99950,
               {},
               7,
               QString::fromUtf8("Møbler")});
}
} // namespace

class ExportFileTest : public QObject {
    Q_OBJECT
private slots:
    void MissingFolderChainIsCreated() {
        TPlatformScope platform;
        TItemTable items;
        AddOne(items);
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a/b/c/ud.txt"));
        exporter->SetFileName(path);
        exporter->RunExport();
        QCOMPARE(Lines(ReadFile(path)).size(), 2);
        // The file is complete when the desktop is asked to open it.
        QCOMPARE(platform.Platform().Opened.size(), size_t(1));
        QCOMPARE(platform.Platform().Opened.front().Path, path);
        QCOMPARE(platform.Platform().Opened.front().SizeThen, QFileInfo(path).size());
    }

    void RelativeNamesFollowTheWorkingDirectory() {
        TPlatformScope platform;
        TItemTable items;
        AddOne(items);
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        TWorkingDirectory cwd(dir.path());
        exporter->SetFileName(QStringLiteral("Habitra.txt"));
        exporter->RunExport();
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("Habitra.txt"))));
        exporter->SetFileName(QStringLiteral("ny/mappe/x.csv"));
        exporter->RunExport();
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("ny/mappe/x.csv"))));
        QCOMPARE(platform.Platform().Opened.back().Path, dir.filePath(QStringLiteral("ny/mappe/x.csv")));
    }

    void ExistingFileIsReplaced() {
        TPlatformScope platform;
        TItemTable items;
        AddOne(items);
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ud.txt"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(10000, 'x'));
        }
        exporter->SetFileName(path);
        exporter->RunExport();
        const QByteArray bytes = ReadFile(path);
        QVERIFY(!bytes.contains('x'));
        QVERIFY(bytes.endsWith("\"M\xf8"
                               "bler\"\r\n"));
    }

    void ShowFileOff() {
        TPlatformScope platform;
        TItemTable items;
        auto exporter = MakeExporter(items.Table());
        exporter->SetShowFile(false);
        QTemporaryDir dir;
        exporter->SetFileName(dir.filePath(QStringLiteral("ud.txt")));
        exporter->RunExport();
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("ud.txt"))));
        QVERIFY(platform.Platform().Opened.empty());
    }

    // Each failure carries its fixed text and nothing is handed to the desktop.
    void Failures_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("empty name") << 0;
        QTest::newRow("name of a folder") << 1;
        QTest::newRow("folder under a plain file") << 2;
        QTest::newRow("folder without write permission") << 3;
        QTest::newRow("disk full") << 4;
    }
    void Failures() {
        QFETCH(int, kind);
        TPlatformScope platform;
        TItemTable items;
        AddOne(items);
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        TWorkingDirectory cwd(dir.path());
        QString name;
        QString expected;
        switch (kind) {
        case 0:
            expected = QStringLiteral("Cannot create file \"\". No such file or directory");
            break;
        case 1:
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("mappe")));
            name = dir.filePath(QStringLiteral("mappe"));
            expected = QStringLiteral("Cannot create file \"%1\". Is a directory").arg(name);
            break;
        case 2: {
            QFile plain(dir.filePath(QStringLiteral("plain")));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            name = dir.filePath(QStringLiteral("plain/under/ud.txt"));
            expected = QStringLiteral("Directory \"%1\" not found and cannot be created")
                           .arg(dir.filePath(QStringLiteral("plain/under")));
            break;
        }
        case 3: {
            const QString locked = dir.filePath(QStringLiteral("laast"));
            name = locked + QStringLiteral("/ud.txt");
            if (::geteuid() == 0) {
                // Permissions do not stop root; a plain file where the folder should be does.
                QFile plain(locked);
                QVERIFY(plain.open(QIODevice::WriteOnly));
                expected = QStringLiteral("Directory \"%1\" not found and cannot be created").arg(locked);
            } else {
                QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("laast")));
                QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
                expected = QStringLiteral("Cannot create file \"%1\". Permission denied").arg(name);
            }
            break;
        }
        case 4:
            if (!QFileInfo::exists(QStringLiteral("/dev/full"))) {
                QSKIP("no /dev/full here");
            }
            name = dir.filePath(QStringLiteral("fuld.txt"));
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), name));
            expected = QStringLiteral("Stream write error");
            break;
        }
        exporter->SetFileName(name);
        QCOMPARE(ErrorOf(*exporter), expected);
        QVERIFY(platform.Platform().Opened.empty());
        QVERIFY(!items.Table().ControlsDisabled());
        QFile::setPermissions(dir.filePath(QStringLiteral("laast")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void OnlyDelimitedTextIsWritten() {
        TItemTable items;
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        exporter->SetFileName(dir.filePath(QStringLiteral("ud.txt")));
        exporter->SetExportType(etSYLK);
        QCOMPARE(ErrorOf(*exporter), QStringLiteral("Export type not supported"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("ud.txt"))));
    }

    // A cancel, at the first report or after the last record, leaves the file as it was (or no file),
    // nothing beside it, the cursor where it stood and nothing handed to the desktop.
    void CancelLeavesNothing_data() {
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<bool>("atTheEnd");
        QTest::newRow("new file") << false << false << false;
        QTest::newRow("old file kept") << true << false << false;
        QTest::newRow("filtered set, walked") << true << true << false;
        QTest::newRow("after the last record") << false << false << true;
        QTest::newRow("old file, after the last record") << true << true << true;
    }
    void CancelLeavesNothing() {
        QFETCH(bool, oldFile);
        QFETCH(bool, filtered);
        QFETCH(bool, atTheEnd);
        TPlatformScope platform;
        TItemTable items;
        items.AddMany(1500, [](int i) {
            return TItem{QStringLiteral("Ting %1").arg(i), {}, {}, {}, {}, {}, i, {}, i, QStringLiteral("A")};
        });
        TTable& table = items.Table();
        if (filtered) {
            table.SetFilter(QStringLiteral("Kategori = 'A'"));
            table.SetFiltered(true);
        }
        table.SetRecNo(7);
        auto exporter = MakeExporter(table);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ud.txt"));
        const QByteArray old("tidligere eksport\r\n");
        if (oldFile) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        exporter->SetFileName(path);
        std::vector<std::pair<int, int>> reports;
        exporter->SetProgress([&](int done, int total) {
            reports.emplace_back(done, total);
            return atTheEnd ? done < total : false;
        });
        QVERIFY_THROWS_EXCEPTION(EExportCancelled, exporter->RunExport());
        QCOMPARE(reports.back().second, 1500);
        QCOMPARE(reports.back().first, atTheEnd ? 1500 : reports.front().first);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 oldFile ? QStringList{QStringLiteral("ud.txt")} : QStringList{});
        if (oldFile) {
            QCOMPARE(ReadFile(path), old);
        }
        QCOMPARE(table.RecNo(), 7);
        QVERIFY(!table.ControlsDisabled());
        QVERIFY(platform.Platform().Opened.empty());
        // Without the cancel the same export writes the file.
        exporter->SetProgress({});
        exporter->RunExport();
        QCOMPARE(Lines(ReadFile(path)).size(), 1501);
    }

    void UnmappableCharactersBecomeQuestionMarks() {
        TPlatformScope platform;
        TItemTable items;
        items.Add({QString::fromUtf8("Łódź €5 😀"), {}, {}, {}, {}, {}, std::nullopt, {}, std::nullopt, {}});
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        exporter->SetFileName(dir.filePath(QStringLiteral("ud.txt")));
        exporter->RunExport();
        QVERIFY(ReadFile(dir.filePath(QStringLiteral("ud.txt")))
                    .contains("\r\n\"?\xf3"
                              "d? \x80"
                              "5 ?\";"));
    }
};

HABITRA_TEST(ExportFileTest)
#include "ExportFileTest.moc"
