#include "BackupFixture.h"
#include "TestRegistry.h"

#include "backup/BackupError.h"
#include "backup/BackupReader.h"
#include "backup/BackupReminder.h"
#include "backup/BackupWriter.h"
#include "backup/RegisterSwap.h"
#include "backup/TableFiles.h"
#include "store/ProgramSettings.h"
#include "store/Sqlite.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString Write(const TBackupFixture& fixture, const QString& folder) {
    const QString target = QDir(folder).filePath("Habitra-test.zip");
    TBackupWriter(fixture.Folder.DataPath(), fixture.Folder.PicturePath()).Write(target);
    return target;
}

// Replaces a file's checksum and size in the manifest by those of `bytes`, so that only a deeper
// check finds what was done to the file.
void Relist(QByteArray& manifest, const QString& path, const QByteArray& bytes) {
    QJsonObject root = QJsonDocument::fromJson(manifest).object();
    QJsonArray files = root.value("files").toArray();
    for (qsizetype i = 0; i < files.size(); ++i) {
        QJsonObject file = files.at(i).toObject();
        if (file.value("path").toString() == path) {
            file.insert("sha256", QString::fromLatin1(
                                      QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
            file.insert("size", double(bytes.size()));
            files.replace(i, file);
        }
    }
    root.insert("files", files);
    manifest = QJsonDocument(root).toJson();
}
} // namespace

class TBackupArchiveTest : public QObject {
    Q_OBJECT

private slots:
    // Everything comes back into an empty program folder: every field of every item, the counter, the
    // settings record, the program's own settings and the pictures byte for byte.
    void RoundTripIntoEmptyFolder() {
        TBackupFixture fixture;
        QTemporaryDir archives;
        const QString archive = Write(fixture, archives.path());

        QTemporaryDir empty;
        const QString staging = QDir(empty.path()).filePath("staging");
        QDir().mkpath(staging);
        const TBackupManifest manifest = TBackupReader(archive).Unpack(staging);
        QCOMPARE(manifest.ItemCount, 3);
        QCOMPARE(manifest.Version, TBackupWriter::ProgramVersion());
        const QString data = QDir(empty.path()).filePath("Data");
        const QString pictures = QDir(empty.path()).filePath("Billeder");
        TRegisterSwap swap(data, pictures, empty.path());
        swap.Apply(staging + "/Data", staging + "/Billeder");

        QCOMPARE(TBackupFixture::Register(data), TBackupFixture::Register(fixture.Folder.DataPath()));
        QCOMPARE(TBackupFixture::Rows(data + "/Habitra.db", "Habitra").size(), 3);
        TProgramSettings settings;
        settings.Open(data);
        QCOMPARE(settings.Value("Overview.ColumnWidths"), QString("120,80,80"));
        QCOMPARE(TBackupFixture::Pictures(pictures), TBackupFixture::Pictures(fixture.Folder.PicturePath()));
        QCOMPARE(TBackupFixture::Pictures(pictures).size(), 3); // two pictures and the placeholder
    }

    // The archive is an ordinary zip: other tools read it, the photos are stored, the tables packed.
    // The previews the program keeps in a hidden folder beside the photos stay out.
    void ArchiveIsPlainZipWithStoredPictures() {
        TBackupFixture fixture;
        QVERIFY(QDir().mkpath(fixture.Folder.PicturePath() + "/.Visninger"));
        QFile preview(fixture.Folder.PicturePath() + "/.Visninger/1.jpg");
        QVERIFY(preview.open(QIODevice::WriteOnly));
        preview.write("derived");
        preview.close();
        QTemporaryDir archives;
        const QString archive = Write(fixture, archives.path());
        QProcess unzip;
        unzip.start("unzip", {"-v", archive});
        QVERIFY(unzip.waitForFinished());
        const QString listing = QString::fromUtf8(unzip.readAllStandardOutput());
        QVERIFY2(QRegularExpression(R"(\bStored\b.*Billeder/1\.jpg)").match(listing).hasMatch(),
                 qPrintable(listing));
        QVERIFY2(QRegularExpression(R"(\bDefl:\w\b.*Data/Habitra\.db)").match(listing).hasMatch(),
                 qPrintable(listing));
        QVERIFY(listing.contains("manifest.json"));
        QVERIFY(listing.contains("Data/Indstillinger.DB"));
        QVERIFY2(!listing.contains(".Visninger"), qPrintable(listing));
        unzip.start("unzip", {"-tq", archive});
        QVERIFY(unzip.waitForFinished());
        QCOMPARE(unzip.exitCode(), 0);
    }

    // The copy is taken through the engine: a write transaction left open by another connection
    // does not make it into the archive, and the archive's table is whole.
    void TableCopyIsConsistentWhileAnotherConnectionWrites() {
        TBackupFixture fixture;
        TSqliteDatabase writer;
        writer.Open(fixture.Folder.DataPath() + "/Habitra.db");
        writer.Execute("BEGIN");
        writer.Execute("INSERT INTO Habitra (Beskrivelse, Foto) VALUES ('Halvt skrevet', 9)");
        QTemporaryDir archives;
        const QString archive = Write(fixture, archives.path());
        writer.Execute("COMMIT");
        QTemporaryDir staging;
        const TBackupManifest manifest = TBackupReader(archive).Unpack(staging.path());
        QCOMPARE(manifest.ItemCount, 3);
        QCOMPARE(TBackupFixture::Rows(staging.path() + "/Data/Habitra.db", "Habitra").size(), 3);
    }

    // Cancelled half-way, the backup leaves nothing under the chosen name, nor a partial file; while
    // it is written, the chosen name does not exist yet.
    void CancelledBackupLeavesNoArchive() {
        TBackupFixture fixture;
        QTemporaryDir archives;
        const QString target = QDir(archives.path()).filePath("Habitra-test.zip");
        TBackupWriter writer(fixture.Folder.DataPath(), fixture.Folder.PicturePath());
        bool sawTargetMidway = false;
        int calls = 0;
        writer.SetProgress([&](const TBackupProgressState& state) {
            sawTargetMidway = sawTargetMidway || QFileInfo::exists(target);
            return ++calls < 4 || state.FilesDone == 0;
        });
        QVERIFY_THROWS_EXCEPTION(EBackupCancelled, writer.Write(target));
        QVERIFY(!sawTargetMidway);
        QVERIFY(calls >= 4);
        QCOMPARE(QDir(archives.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A backup into an existing file replaces it only when complete: a failure keeps the old one.
    void FailedBackupKeepsPreviousArchive() {
        TBackupFixture fixture;
        QTemporaryDir archives;
        const QString target = Write(fixture, archives.path());
        const QByteArray before = [&] {
            QFile file(target);
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        QFile::remove(fixture.Folder.DataPath() + "/Habitra.db");
        QVERIFY_THROWS_EXCEPTION(
            EBackupError,
            TBackupWriter(fixture.Folder.DataPath(), fixture.Folder.PicturePath()).Write(target));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void DamagedArchiveIsRefused_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("checksum in manifest") << "checksum"
                                              << "kontrolsummen";
        QTest::newRow("picture bytes changed") << "bytes"
                                               << "kontrolsummen";
        QTest::newRow("cut short") << "cut"
                                   << "afkortet";
        QTest::newRow("table fails integrity check") << "integrity"
                                                     << "er beskadiget";
        QTest::newRow("table lacks a field") << "field"
                                             << "mangler feltet Kategori";
        QTest::newRow("table missing") << "no table"
                                       << "tabellen \"Regnr.DB\" mangler";
        QTest::newRow("foreign zip") << "foreign"
                                     << "ikke hører til en sikkerhedskopi fra Habitra";
        QTest::newRow("manifest missing") << "no manifest"
                                          << "ingen indholdsfortegnelse";
        QTest::newRow("manifest of another program") << "other manifest"
                                                     << "ikke fra Habitra";
        QTest::newRow("entry outside the folders") << "escape"
                                                   << "hører til";
        QTest::newRow("file not in manifest") << "unlisted"
                                              << "står ikke i";
        QTest::newRow("not a zip at all") << "text"
                                          << "ikke et zip-arkiv";
    }

    // Each damage is found before anything is put in place, with a message that says what is wrong.
    void DamagedArchiveIsRefused() {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        TBackupFixture fixture;
        QTemporaryDir archives;
        const QString good = Write(fixture, archives.path());
        const QString bad = QDir(archives.path()).filePath("damaged.zip");
        const auto rewrite = [&](const std::function<bool(const QString&, QByteArray&)>& change,
                                 const QMap<QString, QByteArray>& extra = {}) {
            RewriteArchive(good, bad, change, extra);
        };
        QByteArray corruptTable;
        if (damage == "checksum") {
            rewrite([](const QString& path, QByteArray& bytes) {
                if (path == "manifest.json") {
                    Relist(bytes, "Billeder/1.jpg", "other bytes");
                }
                return true;
            });
        } else if (damage == "bytes") {
            rewrite([](const QString& path, QByteArray& bytes) {
                if (path == "Billeder/2.jpg") {
                    bytes[1000] = char(bytes[1000] ^ 0x20);
                }
                return true;
            });
        } else if (damage == "cut") {
            QFile::copy(good, bad);
            QFile file(bad);
            file.open(QIODevice::ReadWrite);
            file.resize(file.size() * 2 / 3);
        } else if (damage == "integrity" || damage == "field") {
            // A table that the engine opens but that is not sound, listed correctly in the manifest.
            const QString table = fixture.Folder.DataPath() + "/Habitra.db";
            if (damage == "field") {
                TSqliteDatabase db;
                db.Open(table);
                db.Execute("DROP INDEX IndexKategori");
                db.Execute("ALTER TABLE Habitra DROP COLUMN Kategori");
            } else {
                // The index claims another column than the one it was built from: its entries no
                // longer match the rows, as after a torn write.
                TSqliteDatabase db;
                db.Open(table);
                db.Execute("PRAGMA writable_schema = ON");
                db.Execute("UPDATE sqlite_master SET sql = 'CREATE INDEX IndexKategori ON Habitra (Model)' "
                           "WHERE name = 'IndexKategori'");
            }
            QFile file(table);
            file.open(QIODevice::ReadOnly);
            corruptTable = file.readAll();
            rewrite([&](const QString& path, QByteArray& bytes) {
                if (path == "Data/Habitra.db") {
                    bytes = corruptTable;
                } else if (path == "manifest.json") {
                    Relist(bytes, "Data/Habitra.db", corruptTable);
                }
                return true;
            });
        } else if (damage == "no table") {
            rewrite([](const QString& path, QByteArray& bytes) {
                if (path == "manifest.json") {
                    QJsonObject root = QJsonDocument::fromJson(bytes).object();
                    QJsonArray files;
                    for (const QJsonValue& file : root.value("files").toArray()) {
                        if (file.toObject().value("path").toString() != "Data/Regnr.DB") {
                            files.append(file);
                        }
                    }
                    root.insert("files", files);
                    bytes = QJsonDocument(root).toJson();
                }
                return path != "Data/Regnr.DB";
            });
        } else if (damage == "foreign") {
            rewrite([](const QString&, QByteArray&) { return false; }, {{"readme.txt", "Ferieplaner"}});
        } else if (damage == "no manifest") {
            rewrite([](const QString& path, QByteArray&) { return path != "manifest.json"; });
        } else if (damage == "other manifest") {
            rewrite([](const QString& path, QByteArray& bytes) {
                if (path == "manifest.json") {
                    bytes.replace("\"Habitra\"", "\"Andet\"");
                }
                return true;
            });
        } else if (damage == "escape") {
            rewrite([](const QString&, QByteArray&) { return true; },
                    {{"Billeder/../../evil.sh", "rm -rf ~"}});
        } else if (damage == "unlisted") {
            rewrite([](const QString&, QByteArray&) { return true; }, {{"Billeder/99.jpg", "extra"}});
        } else if (damage == "text") {
            QFile file(bad);
            file.open(QIODevice::WriteOnly);
            file.write("Dette er ikke et arkiv\n");
        }
        QTemporaryDir staging;
        try {
            TBackupReader(bad).Unpack(staging.path());
            QFAIL("the damaged archive was accepted");
        } catch (const EBackupCancelled&) {
            QFAIL("refused as cancelled");
        } catch (const EBackupError& error) {
            QVERIFY2(error.Message().contains(reason), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains("damaged.zip"), qPrintable(error.Message()));
        }
        QVERIFY(!QFileInfo::exists(QDir(staging.path()).filePath("../evil.sh")));
    }

    // A move that fails while the restored register is put in place puts every folder back.
    void FailedSwapPutsFoldersBack_data() {
        QTest::addColumn<QString>("failingStep");
        QTest::newRow("moving pictures aside") << "pictures aside";
        QTest::newRow("moving data in") << "data in";
        QTest::newRow("moving pictures in") << "pictures in";
    }
    void FailedSwapPutsFoldersBack() {
        QFETCH(QString, failingStep);
        TBackupFixture fixture;
        QTemporaryDir archives;
        const QString archive = Write(fixture, archives.path());
        {
            TSqliteDatabase db;
            db.Open(fixture.Folder.DataPath() + "/Habitra.db");
            db.Execute("DELETE FROM Habitra");
        }
        const QStringList before = TBackupFixture::Register(fixture.Folder.DataPath());
        const auto pictures = TBackupFixture::Pictures(fixture.Folder.PicturePath());
        const QString staging = fixture.Folder.FilePath(".staging");
        QDir().mkpath(staging);
        TBackupReader(archive).Unpack(staging);
        TRegisterSwap swap(fixture.Folder.DataPath(), fixture.Folder.PicturePath(), fixture.Folder.Path());
        swap.BeforeStep = [&](const QString& step) {
            if (step == failingStep) {
                throw EBackupError("disk full");
            }
        };
        QVERIFY_THROWS_EXCEPTION(EBackupError, swap.Apply(staging + "/Data", staging + "/Billeder"));
        QCOMPARE(TBackupFixture::Register(fixture.Folder.DataPath()), before);
        QCOMPARE(TBackupFixture::Pictures(fixture.Folder.PicturePath()), pictures);
        QCOMPARE(QDir(fixture.Folder.Path()).entryList({"Tidligere-*"}, QDir::Dirs), QStringList());
        QVERIFY(QFileInfo::exists(staging + "/Data/Habitra.db"));
    }

    // After a swap the previous register lies whole in the dated folder, and Revert brings it back.
    void SwapKeepsPreviousRegisterAside() {
        TBackupFixture fixture;
        QTemporaryDir archives;
        const QString archive = Write(fixture, archives.path());
        {
            TSqliteDatabase db;
            db.Open(fixture.Folder.DataPath() + "/Habitra.db");
            db.Execute("DELETE FROM Habitra WHERE Foto = 1");
        }
        const QStringList before = TBackupFixture::Register(fixture.Folder.DataPath());
        const QString staging = fixture.Folder.FilePath(".staging");
        QDir().mkpath(staging);
        TBackupReader(archive).Unpack(staging);
        TRegisterSwap swap(fixture.Folder.DataPath(), fixture.Folder.PicturePath(), fixture.Folder.Path());
        swap.Apply(staging + "/Data", staging + "/Billeder");
        QVERIFY(QFileInfo(swap.AsideFolder())
                    .fileName()
                    .startsWith("Tidligere-" + QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(TBackupFixture::Register(swap.AsideFolder() + "/Data"), before);
        QCOMPARE(TBackupFixture::Rows(fixture.Folder.DataPath() + "/Habitra.db", "Habitra").size(), 3);
        swap.Revert();
        QCOMPARE(TBackupFixture::Register(fixture.Folder.DataPath()), before);
        QVERIFY(!QFileInfo::exists(swap.AsideFolder()));
    }

    void ReminderIsDue_data() {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("daysAgo"); // -1: never backed up
        QTest::addColumn<bool>("due");
        QTest::newRow("no items, never") << 0 << -1 << false;
        QTest::newRow("items, never") << 5 << -1 << true;
        QTest::newRow("items, today") << 5 << 0 << false;
        QTest::newRow("items, 30 days") << 5 << 30 << false;
        QTest::newRow("items, 31 days") << 5 << 31 << true;
        QTest::newRow("no items, a year") << 0 << 365 << false;
    }
    void ReminderIsDue() {
        QFETCH(int, items);
        QFETCH(int, daysAgo);
        QFETCH(bool, due);
        const QDateTime now(QDate(2026, 12, 10), QTime(9, 0));
        const QString last = daysAgo < 0 ? QString() : BackupReminder::SettingValue(now.addDays(-daysAgo));
        QCOMPARE(BackupReminder::Due(items, last, now), due);
    }

    void HasRows_data() {
        QTest::addColumn<int>("added");
        QTest::addColumn<bool>("removed"); // all of them again
        QTest::newRow("never any") << 0 << false;
        QTest::newRow("some") << 3 << false;
        QTest::newRow("all removed") << 3 << true;
    }
    // The reminder asks only whether the register holds anything; a table that is not there is an error.
    void HasRows() {
        QFETCH(int, added);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        const QString path = dir.filePath("Habitra.db");
        {
            TSqliteDatabase db;
            db.Open(path, true);
            db.Execute("CREATE TABLE Habitra (Beskrivelse TEXT)");
            for (int i = 0; i < added; ++i) {
                db.Execute("INSERT INTO Habitra VALUES ('x')");
            }
            if (removed) {
                db.Execute("DELETE FROM Habitra");
            }
        }
        QCOMPARE(TableFiles::HasRows(path, "Habitra"), added > 0 && !removed);
        QVERIFY_THROWS_EXCEPTION(EBackupError, TableFiles::HasRows(path, "Regnr"));
    }
};

HABITRA_TEST(TBackupArchiveTest)
#include "BackupArchiveTest.moc"
