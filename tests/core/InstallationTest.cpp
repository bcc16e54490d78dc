#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "core/CommandLine.h"
#include "core/Installation.h"
#include "store/Error.h"
#include "store/Sqlite.h"
#include "store/Table.h"
#include "toolkit/Platform.h"
#include "ui_Unit1.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A scratch root: <root>/usr/bin as the executable's folder, <root>/usr/share/habitra with the
// shipped language files, help and placeholder, as the package unpacks.
struct TPackageRoot {
    QTemporaryDir Dir;
    QString Bin() const { return Dir.filePath(QStringLiteral("usr/bin")); }
    QString Share() const { return Dir.filePath(QStringLiteral("usr/share/habitra")) + QLatin1Char('/'); }
    QString Home() const { return Dir.filePath(QStringLiteral("home")); }
    QString UserFolder() const { return Home() + QStringLiteral("/.local/share/Habitra/"); }

    TPackageRoot() {
        QDir root(Dir.path());
        root.mkpath(QStringLiteral("usr/bin"));
        root.mkpath(QStringLiteral("usr/share/habitra/Billeder"));
        root.mkpath(QStringLiteral("usr/share/habitra/Help"));
        root.mkpath(QStringLiteral("home"));
        const QDir shipped(TProgramFolder::SourcePath(QStringLiteral("resources/languages")));
        for (const QString& name : shipped.entryList({QStringLiteral("*.lng")}, QDir::Files)) {
            QFile::copy(shipped.filePath(name), Share() + name);
        }
        QFile::copy(TProgramFolder::SourcePath(QStringLiteral("resources/help/Index.html")),
                    Share() + QStringLiteral("Help/Index.html"));
        QFile::copy(Shipped(), Share() + QStringLiteral("Billeder/Ingen.jpg"));
    }
    QProcessEnvironment Environment() const {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), Home());
        return environment;
    }
    TInstallation Locate() const { return TInstallation::Locate(Bin(), Environment()); }
    static QString Shipped() {
        return TProgramFolder::SourcePath(QStringLiteral("resources/pictures/Ingen.jpg"));
    }
};

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Query(const QString& file, const QString& sql) {
    TSqliteDatabase db;
    db.Open(file);
    TSqliteStatement query(db, sql);
    QStringList row;
    if (query.Step()) {
        for (int i = 0; i < query.ColumnCount(); ++i) {
            row << query.Text(i);
        }
    }
    return row.join(QLatin1Char('|'));
}
} // namespace

// Where the program keeps its files: a program folder as it always was, or an installed package
// with the user's own data folder made on the first start.
class InstallationTest : public QObject {
    Q_OBJECT
private slots:
    void locate_data() {
        QTest::addColumn<QString>("layout"); // what the executable's folder and its root hold
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<bool>("programFolder");
        QTest::addColumn<QString>("userFolder"); // relative to the root, without the trailing separator
        QTest::addColumn<QString>("shareFolder");
        const auto row = [](const char* name, const char* layout, const char* xdg, bool programFolder,
                            const char* userFolder, const char* shareFolder) {
            QTest::newRow(name) << QString::fromLatin1(layout) << QString::fromLatin1(xdg) << programFolder
                                << QString::fromLatin1(userFolder) << QString::fromLatin1(shareFolder);
        };
        const char* home = "home/.local/share/Habitra";
        const char* share = "usr/share/habitra";
        row("program folder: the executable beside Data/", "Data/", "", true, "usr/bin", "");
        row("program folder wins over XDG_DATA_HOME", "Data/", "xdg", true, "usr/bin", "");
        row("package, no XDG_DATA_HOME", "share", "", false, home, share);
        row("package, XDG_DATA_HOME", "share", "xdg", false, "xdg/Habitra", share);
        row("relative XDG_DATA_HOME is ignored", "share", "relative", false, home, share);
        row("a file named Data is no program folder", "Data file", "", false, home, share);
        row("without a share folder", "", "", false, home, "");
    }
    void locate() {
        QFETCH(QString, layout);
        QFETCH(QString, xdg);
        QFETCH(bool, programFolder);
        QFETCH(QString, userFolder);
        QFETCH(QString, shareFolder);
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath(QStringLiteral("usr/bin"));
        if (layout == QLatin1String("Data/")) {
            root.mkpath(QStringLiteral("usr/bin/Data"));
        }
        if (layout == QLatin1String("Data file")) {
            QFile file(root.filePath(QStringLiteral("usr/bin/Data")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (layout != QLatin1String("")) {
            root.mkpath(QStringLiteral("usr/share/habitra"));
        }
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        if (xdg == QLatin1String("xdg")) {
            environment.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("xdg")));
        } else if (!xdg.isEmpty()) {
            environment.insert(QStringLiteral("XDG_DATA_HOME"), xdg);
        }
        const TInstallation installation =
            TInstallation::Locate(root.filePath(QStringLiteral("usr/bin")), environment);
        QCOMPARE(installation.IsProgramFolder(), programFolder);
        QCOMPARE(installation.UserFolder(), root.filePath(userFolder) + QLatin1Char('/'));
        QCOMPARE(installation.ShareFolder(),
                 shareFolder.isEmpty() ? QString() : root.filePath(shareFolder) + QLatin1Char('/'));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("home/.local")))); // nothing made yet
    }

    void firstStartMakesTheDataFolder() {
        TPackageRoot root;
        const TInstallation installation = root.Locate();
        installation.Prepare();
        const QDir data(root.UserFolder() + QStringLiteral("Data"));
        QCOMPARE(data.entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("Config.DB"), QStringLiteral("Habitra.db"),
                              QStringLiteral("Regnr.DB")}));
        QCOMPARE(Query(data.filePath(QStringLiteral("Config.DB")), QStringLiteral("SELECT * FROM Config")),
                 QStringLiteral("564|1024|-1|768|1024"));
        QCOMPARE(Bytes(root.UserFolder() + QStringLiteral("Billeder/Ingen.jpg")),
                 Bytes(TPackageRoot::Shipped()));
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(root.UserFolder()).permissions() & others,
                 QFile::Permissions()); // private to its user
        // Program files stay in the share folder.
        QCOMPARE(QDir(root.UserFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("Billeder"), QStringLiteral("Data")}));
    }

    void laterStartsKeepTheUsersData() {
        TPackageRoot root;
        const TInstallation installation = root.Locate();
        installation.Prepare();
        const QString data = root.UserFolder() + QStringLiteral("Data/");
        {
            TSqliteDatabase db;
            db.Open(data + QStringLiteral("Habitra.db"));
            db.Execute(QStringLiteral("INSERT INTO Habitra (Beskrivelse, Foto) VALUES ('Sofa', 7)"));
            TSqliteDatabase config;
            config.Open(data + QStringLiteral("Config.DB"));
            config.Execute(QStringLiteral("UPDATE Config SET Sprog = 2"));
        }
        QVERIFY(QFile::remove(data + QStringLiteral("Regnr.DB")));
        // The user's own placeholder, its name in other letter case.
        const QString pictures = root.UserFolder() + QStringLiteral("Billeder/");
        QVERIFY(
            QFile::rename(pictures + QStringLiteral("Ingen.jpg"), pictures + QStringLiteral("ingen.JPG")));
        QFile own(pictures + QStringLiteral("ingen.JPG"));
        QVERIFY(own.open(QIODevice::Append));
        own.write("own");
        own.close();

        installation.Prepare();
        QCOMPARE(Query(data + QStringLiteral("Habitra.db"),
                       QStringLiteral("SELECT Beskrivelse, Foto FROM Habitra")),
                 QStringLiteral("Sofa|7"));
        QCOMPARE(Query(data + QStringLiteral("Config.DB"), QStringLiteral("SELECT Sprog FROM Config")),
                 QStringLiteral("2"));
        QVERIFY(QFileInfo::exists(data + QStringLiteral("Regnr.DB"))); // a missing table is made again
        QCOMPARE(QDir(pictures).entryList(QDir::Files), QStringList{QStringLiteral("ingen.JPG")});
        QVERIFY(Bytes(pictures + QStringLiteral("ingen.JPG")).endsWith("own"));
    }

    void aFolderThatCannotBeMadeIsAClearError() {
        TPackageRoot root;
        QDir().mkpath(root.Home() + QStringLiteral("/.local/share"));
        QFile blocker(root.UserFolder().chopped(1)); // a file where the data folder belongs
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("mine");
        blocker.close();
        try {
            root.Locate().Prepare();
            QFAIL("no error");
        } catch (const EHabitraError& error) {
            QVERIFY2(error.Message().contains(root.UserFolder() + QStringLiteral("Data")),
                     qPrintable(error.Message()));
        }
        QCOMPARE(Bytes(blocker.fileName()), QByteArray("mine"));
    }

    void aProgramFolderIsLeftAsItIs() {
        TProgramFolder folder;
        QVERIFY(QDir(folder.PicturePath()).removeRecursively());
        QVERIFY(QFile::remove(folder.DataPath() + QStringLiteral("/Regnr.DB")));
        const TInstallation installation = TInstallation::Locate(folder.Path(), QProcessEnvironment());
        QVERIFY(installation.IsProgramFolder());
        const QString before = QDir::currentPath();
        installation.Prepare();
        installation.Enter();
        QCOMPARE(QDir::currentPath(), before);
        QVERIFY(!QFileInfo::exists(folder.PicturePath()));
        QVERIFY(!QFileInfo::exists(folder.DataPath() + QStringLiteral("/Regnr.DB")));
    }

    // The main window of an installed package: the tables in the user's data folder, reached through
    // the working directory; the language files and help from the share folder.
    void packagedMainWindow() {
        TPackageRoot root;
        const TInstallation installation = root.Locate();
        installation.Prepare();
        TMainWindowFixture fixture; // only for its answerer and for restoring the working directory
        installation.Enter();
        TSqliteDatabase config;
        config.Open(root.UserFolder() + QStringLiteral("Data/Config.DB"));
        config.Execute(QStringLiteral("UPDATE Config SET Sprog = 0"));
        TSqliteDatabase items;
        items.Open(root.UserFolder() + QStringLiteral("Data/Habitra.db"));
        items.Execute(QStringLiteral(
            "INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Ur', 7, 'Antikviteter')"));
        TTestPlatform& platform = TTestPlatform::Install();
        fixture.Program = std::make_unique<TProgram>(TFormatSettings::Danish(), installation.UserFolder(),
                                                     installation.ShareFolder());
        TForm1& form = fixture.Program->Form1();
        fixture.Form = &form;
        form.show();
        QTest::qWait(30);
        QCOMPARE(form.Controls().Funktioner1->title(), QStringLiteral("Functions"));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1); // the user's item table
        QCOMPARE(form.Register().PictureFile(), root.UserFolder() + QStringLiteral("Billeder/7.jpg"));
        form.Controls().Dataplacering1->trigger();
        QTRY_VERIFY(fixture.Answerer->Texts.size() >= 1);
        QVERIFY2(fixture.Answerer->Texts.last().startsWith(
                     QStringLiteral("Data for this program are located in: \n\r\n\r") + root.UserFolder() +
                     QStringLiteral("Data\n\r\n\r")),
                 qPrintable(fixture.Answerer->Texts.last()));
        form.Controls().Help1->trigger();
        // At the section of the language the window shows.
        QCOMPARE(platform.Opened, QStringList{root.Share() + QStringLiteral("Help/Index.html#en")});
        TTestPlatform::Uninstall();
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output"); // a pattern
        QTest::newRow("no arguments start the program") << QStringList{} << false << 0 << "";
        QTest::newRow("toolkit options are the toolkit's")
            << QStringList{"-platform", "offscreen", "-style", "fusion", "-reverse"} << false << 0 << "";
        QTest::newRow("version") << QStringList{"--version"} << true << 0
                                 << "^Habitra \\d+\\.\\d+\\.\\d+\\.\\d+\\n$";
        QTest::newRow("short version") << QStringList{"-v"} << true << 0 << "^Habitra \\d";
        QTest::newRow("help lists the options")
            << QStringList{"--help"} << true << 0
            << "^Usage: habitra \\[options\\]\\n(.|\\n)*-h, --help(.|\\n)*-v, --version";
        QTest::newRow("help keeps the toolkit's options out")
            << QStringList{"-h"} << true << 0 << "^(?!(.|\\n)*platform)";
        QTest::newRow("unknown option") << QStringList{"--nosuch"} << true << 2
                                        << "^habitra: Unknown option 'nosuch'.\\nTry 'habitra --help'";
        QTest::newRow("a toolkit option without its value") << QStringList{"-style"} << true << 2 << "style";
        QTest::newRow("stray argument")
            << QStringList{"file.txt"} << true << 2 << "unexpected argument 'file.txt'";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, answers);
        QFETCH(int, status);
        QFETCH(QString, output);
        const TCommandLine commandLine(QStringList{QStringLiteral("/usr/bin/habitra")} + arguments);
        QCOMPARE(commandLine.AnswersAlone(), answers);
        QCOMPARE(commandLine.ExitStatus(), status);
        QVERIFY2(QRegularExpression(output).match(commandLine.Output()).hasMatch(),
                 qPrintable(commandLine.Output()));
        QCOMPARE(commandLine.Output().isEmpty(), !answers);
    }
};

HABITRA_TEST(InstallationTest)
#include "InstallationTest.moc"
