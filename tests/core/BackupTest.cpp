#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "backup/BackupError.h"
#include "backup/BackupReader.h"
#include "backup/BackupReminder.h"
#include "core/BackupActions.h"
#include "store/ProgramSettings.h"
#include "store/Sqlite.h"
#include "store/Table.h"
#include "ui_Unit1.h"

#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A register of three antiques with pictures, in the fixture's folder, before the window starts.
void FillRegister(TMainWindowFixture& fixture) {
    fixture.Sql("Habitra.db", "INSERT INTO Habitra VALUES ('Chatol', 'Snedker', 'Rokoko', 'A-1', 'Auktion', "
                              "'1998-05-17', '12500.50', 'Arvet', 1, 'Antikviteter')");
    fixture.Sql("Habitra.db",
                "INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Ur', 2, 'Antikviteter')");
    fixture.Sql("Habitra.db",
                "INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Vase', 3, 'Antikviteter')");
    fixture.Sql("Regnr.DB", "INSERT INTO Regnr VALUES (1), (2), (3)");
    for (int foto = 1; foto <= 2; ++foto) {
        QFile file(QDir(fixture.Folder.PicturePath()).filePath(QStringLiteral("%1.jpg").arg(foto)));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(50000, char('a' + foto)));
    }
}

QStringList Items(const QString& dataFolder) {
    TSqliteDatabase db;
    db.Open(QDir(dataFolder).filePath("Habitra.db"));
    TSqliteStatement query(
        db, "SELECT Beskrivelse, Fabrikat, Kobsdato, Vaerdi, Notater, Foto FROM Habitra ORDER BY rowid");
    QStringList rows;
    while (query.Step()) {
        rows << QStringList{query.Text(0), query.Text(1), query.Text(2),
                            query.Text(3), query.Text(4), query.Text(5)}
                    .join('|');
    }
    return rows;
}

QStringList ArchiveItems(const QString& archive) {
    QTemporaryDir staging;
    TBackupReader(archive).Unpack(staging.path());
    return Items(staging.path() + "/Data");
}

QStringList Leftovers(const TMainWindowFixture& fixture) {
    return QDir(fixture.Folder.Path())
        .entryList({"Tidligere-*", ".Gendannelse-*"}, QDir::Dirs | QDir::Hidden);
}
} // namespace

class TBackupTest : public QObject {
    Q_OBJECT

private slots:
    // A user's round: back up, delete items, restore. The window shows the restored items at once,
    // and the register of before the restore lies whole in a dated folder.
    void BackupDeleteRestore() {
        TMainWindowFixture fixture;
        FillRegister(fixture);
        TForm1& form = fixture.Start();
        const QStringList original = Items(fixture.Folder.DataPath());
        QTemporaryDir archives;
        const QString archive = archives.filePath("Habitra-test.zip");
        QVERIFY(form.BackupActions1->Backup(archive));
        QVERIFY2(fixture.Answerer->Texts.join('#').contains("3 genstande, 2 billeder"),
                 qPrintable(fixture.Answerer->Texts.join('#')));
        QCOMPARE(form.Register().ProgramSettings().Value(BackupReminder::LastFolderSetting), archives.path());

        form.SpeedButton3Click();
        fixture.Answerer->SetButton("OK");
        form.Navigator(1)->BtnClick(nbDelete);
        form.Navigator(1)->BtnClick(nbDelete);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QFile::remove(fixture.Folder.PicturePath() + "/1.jpg");

        fixture.Answerer->SetButton("Ja");
        QVERIFY(form.BackupActions1->Restore(archive));
        QVERIFY(fixture.Answerer->Texts.at(fixture.Answerer->Count() - 2)
                    .contains("indeholder 3 genstande og 2 billeder"));
        QVERIFY(form.Register().HabitraTable().Active());
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 3);
        QCOMPARE(form.Register().HabitraTable().FieldByName("Beskrivelse")->AsString(), QString("Chatol"));
        QCOMPARE(Items(fixture.Folder.DataPath()), original);
        QCOMPARE(QFileInfo(fixture.Folder.PicturePath() + "/1.jpg").size(), 50000);
        const QStringList aside = QDir(fixture.Folder.Path()).entryList({"Tidligere-*"}, QDir::Dirs);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(Items(fixture.Folder.FilePath(aside.first() + "/Data")).size(), 1);
        QVERIFY(!QFileInfo::exists(fixture.Folder.FilePath(aside.first() + "/Billeder/1.jpg")));
        QVERIFY(QFileInfo::exists(fixture.Folder.FilePath(aside.first() + "/Billeder/2.jpg")));
        // The restored register is the one the program goes on with: a new item takes the next number.
        form.Navigator(1)->BtnClick(nbInsert);
        QCOMPARE(form.Register().HabitraTable().FieldByName("Foto")->AsInteger(), 4);
        form.Navigator(1)->BtnClick(nbCancel);
    }

    // Saying no to the question, or giving a damaged archive, leaves the register as it is.
    void RestoreRefusedChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("user says no") << "no";
        QTest::newRow("bad checksum") << "checksum";
        QTest::newRow("cut short") << "cut";
    }
    void RestoreRefusedChangesNothing() {
        QFETCH(QString, kind);
        TMainWindowFixture fixture;
        FillRegister(fixture);
        TForm1& form = fixture.Start();
        QTemporaryDir archives;
        const QString archive = archives.filePath("Habitra-test.zip");
        QVERIFY(form.BackupActions1->Backup(archive));
        fixture.Sql("Habitra.db", "DELETE FROM Habitra WHERE Foto = 3");
        const QStringList before = Items(fixture.Folder.DataPath());
        if (kind == "checksum") {
            QFile file(archive);
            file.open(QIODevice::ReadWrite);
            const QByteArray bytes = file.readAll();
            const qsizetype picture = bytes.indexOf(QByteArray(1000, 'b'));
            QVERIFY(picture > 0);
            file.seek(picture + 10);
            file.write("c"); // libarchive's CRC check or the manifest's checksum refuses it
        } else if (kind == "cut") {
            QFile file(archive);
            file.open(QIODevice::ReadWrite);
            file.resize(file.size() / 2);
        }
        fixture.Answerer->SetButton(kind == "no" ? "Nej" : "OK");
        if (kind == "no") {
            QVERIFY(!form.BackupActions1->Restore(archive));
        } else {
            try {
                form.BackupActions1->Restore(archive);
                QFAIL("the damaged archive was restored");
            } catch (const EBackupError& error) {
                QVERIFY2(error.Message().contains("kan ikke gendannes"), qPrintable(error.Message()));
            }
        }
        QCOMPARE(Items(fixture.Folder.DataPath()), before);
        QCOMPARE(Leftovers(fixture), QStringList());
        QVERIFY(form.Register().HabitraTable().Active());
    }

    // A failure while the restored register is put in place, or when its tables open, leaves the
    // previous register in place and open in the window.
    void FailureDuringRestoreKeepsRegister_data() {
        QTest::addColumn<QString>("step");
        QTest::newRow("moving data aside") << "data aside";
        QTest::newRow("moving pictures in") << "pictures in";
        QTest::newRow("opening the restored tables") << "open tables";
    }
    void FailureDuringRestoreKeepsRegister() {
        QFETCH(QString, step);
        TMainWindowFixture fixture;
        FillRegister(fixture);
        TForm1& form = fixture.Start();
        QTemporaryDir archives;
        const QString archive = archives.filePath("Habitra-test.zip");
        QVERIFY(form.BackupActions1->Backup(archive));
        form.SpeedButton3Click();
        form.Navigator(1)->BtnClick(nbDelete);
        const QStringList before = Items(fixture.Folder.DataPath());
        QCOMPARE(before.size(), 2);
        form.BackupActions1->RestoreStep = [&](const QString& current) {
            if (current == step) {
                throw EBackupError("Disken er fuld");
            }
        };
        fixture.Answerer->SetButton("Ja");
        QVERIFY_THROWS_EXCEPTION(EBackupError, form.BackupActions1->Restore(archive));
        QCOMPARE(Items(fixture.Folder.DataPath()), before);
        QVERIFY(QFileInfo::exists(fixture.Folder.PicturePath() + "/1.jpg"));
        QCOMPARE(Leftovers(fixture), QStringList());
        QVERIFY(form.Register().HabitraTable().Active());
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 2);
        QVERIFY(form.Register().ProgramSettings().IsOpen());
    }

    // An item being edited: stored first and backed up, or left out while the edit goes on, or no
    // backup at all, as the user answers.
    void BackupWhileEditing_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("archived");
        QTest::addColumn<int>("stateAfter");
        QTest::newRow("store first") << "Ja"
                                     << "Chatol med skuffer" << int(dsBrowse);
        QTest::newRow("leave it out") << "Nej"
                                      << "Chatol" << int(dsEdit);
        QTest::newRow("cancel") << "Annuller"
                                << "" << int(dsEdit);
    }
    void BackupWhileEditing() {
        QFETCH(QString, answer);
        QFETCH(QString, archived);
        QFETCH(int, stateAfter);
        TMainWindowFixture fixture;
        FillRegister(fixture);
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();
        form.Navigator(1)->BtnClick(nbEdit);
        form.Controls().DBEdit1->setFocus();
        form.Controls().DBEdit1->setCursorPosition(6);
        QTest::keyClicks(form.Controls().DBEdit1, " med skuffer");
        QTemporaryDir archives;
        const QString archive = archives.filePath("Habitra-test.zip");
        fixture.Answerer->SetButton(answer);
        QCOMPARE(form.BackupActions1->Backup(archive), !archived.isEmpty());
        QVERIFY(fixture.Answerer->Texts.first().contains("redigere"));
        QCOMPARE(int(form.Register().HabitraTable().State()), stateAfter);
        if (archived.isEmpty()) {
            QVERIFY(!QFileInfo::exists(archive));
            return;
        }
        QCOMPARE(ArchiveItems(archive).first().section('|', 0, 0), archived);
        QCOMPARE(form.Controls().DBEdit1->text(), QString("Chatol med skuffer"));
    }

    // The command line writes an archive while the window runs, without a display, and says why when
    // it cannot.
    void CommandLineBackupBesideRunningWindow() {
        TMainWindowFixture fixture;
        FillRegister(fixture);
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();
        form.Navigator(1)->BtnClick(nbEdit); // the window holds the table, mid-edit
        QTemporaryDir archives;
        const QString program = QStringLiteral(HABITRA_BINARY_DIR) + "/src/core/habitra";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        QProcess command;
        command.setProcessEnvironment(environment);
        command.setWorkingDirectory(fixture.Folder.Path());
        command.start(program, {"--backup", archives.path()});
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitStatus(), QProcess::NormalExit);
        QVERIFY2(command.exitCode() == 0, command.readAllStandardError().constData());
        const QString archive =
            archives.filePath("Habitra-" + QDate::currentDate().toString(Qt::ISODate) + ".zip");
        QVERIFY(QString::fromUtf8(command.readAllStandardOutput()).contains(archive));
        QCOMPARE(ArchiveItems(archive).size(), 3);
        QCOMPARE(form.Register().HabitraTable().State(), dsEdit);

        command.start(program, {"--backup", archives.filePath("no/such/folder/x.zip")});
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitCode(), 1);
        QVERIFY(QString::fromUtf8(command.readAllStandardError()).contains("findes ikke"));
        command.start(program, {"--backup"});
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitCode(), 2);
        QVERIFY(QString::fromUtf8(command.readAllStandardError()).contains("--backup"));
    }

    void Reminder_data() {
        QTest::addColumn<bool>("items");
        QTest::addColumn<int>("daysAgo");   // -1: never
        QTest::addColumn<QString>("shown"); // part of the note, empty when there is none
        QTest::newRow("empty register") << false << -1 << "";
        QTest::newRow("never backed up") << true << -1 << "endnu ikke taget";
        QTest::newRow("backed up last week") << true << 7 << "";
        QTest::newRow("backed up 45 days ago") << true << 45 << "45 dage siden";
    }
    // The note on the front page, which does not stop the user: shown when items exist and the last
    // backup is over 30 days old or missing; gone after a backup.
    void Reminder() {
        QFETCH(bool, items);
        QFETCH(int, daysAgo);
        QFETCH(QString, shown);
        TMainWindowFixture fixture;
        if (items) {
            FillRegister(fixture);
        }
        if (daysAgo >= 0) {
            TProgramSettings settings;
            settings.Open(fixture.Folder.DataPath());
            settings.SetValue(BackupReminder::LastDateSetting,
                              BackupReminder::SettingValue(QDateTime::currentDateTime().addDays(-daysAgo)));
        }
        TForm1& form = fixture.Start();
        QLabel* note = form.BackupActions1->Reminder();
        QCOMPARE(note->isVisible(), !shown.isEmpty());
        QCOMPARE(note->parentWidget(), form.Controls().Panel4);
        if (shown.isEmpty()) {
            return;
        }
        QVERIFY2(note->text().contains(shown), qPrintable(note->text()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        form.LanguageClick(0);
        QVERIFY2(note->text().contains("backup"), qPrintable(note->text()));
        QTemporaryDir archives;
        QVERIFY(form.BackupActions1->Backup(archives.filePath("x.zip")));
        QVERIFY(!note->isVisible());
    }
};

HABITRA_TEST(TBackupTest)
#include "BackupTest.moc"
