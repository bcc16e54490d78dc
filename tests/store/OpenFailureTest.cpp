#include "StoreFixture.h"
#include "TestRegistry.h"

#include "store/Error.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <unistd.h>

// Tables that cannot be opened or written: the error must name the file, and nothing is half open.
class TOpenFailureTest : public QObject {
    Q_OBJECT
private slots:
    void BadTableFile_data();
    void BadTableFile();
    void MissingDataFolder();
    void ReadOnlyTable();
};

namespace {
// File permissions do not bind root; the checks then run as "nobody" for their duration.
class TUnprivileged {
public:
    TUnprivileged() {
        if (geteuid() == 0) {
            m_switched = setegid(65534) == 0 && seteuid(65534) == 0;
        }
    }
    ~TUnprivileged() {
        if (m_switched && seteuid(0) == 0) {
            (void)setegid(0);
        }
    }
    TUnprivileged(const TUnprivileged&) = delete;
    TUnprivileged& operator=(const TUnprivileged&) = delete;

private:
    bool m_switched = false;
};

const QFile::Permissions ReadAll = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions ExecAll = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

void OpenUnprivileged(TTable& table, const QString& folder, const QString& file) {
    TUnprivileged unprivileged;
    OpenTable(table, folder, file);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

enum TDamage {
    dmMissing,
    dmGarbage,
    dmEmpty,
    dmHeaderOnly,
    dmTruncated,
    dmOtherTable,
    dmMissingField,
    dmUnreadable
};
Q_DECLARE_METATYPE(TDamage)

void TOpenFailureTest::BadTableFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<TDamage>("damage");
    const QStringList files{Schema::ItemFile, Schema::CounterFile, Schema::SettingsFile};
    for (const QString& file : files) {
        const QByteArray name = file.toUtf8();
        QTest::addRow("%s missing", name.constData()) << file << dmMissing;
        QTest::addRow("%s garbage", name.constData()) << file << dmGarbage;
        QTest::addRow("%s of another table", name.constData()) << file << dmOtherTable;
        QTest::addRow("%s lacking a field", name.constData()) << file << dmMissingField;
    }
    QTest::newRow("empty file") << Schema::ItemFile << dmEmpty;
    QTest::newRow("only the header") << Schema::ItemFile << dmHeaderOnly;
    QTest::newRow("truncated") << Schema::ItemFile << dmTruncated;
    QTest::newRow("unreadable") << Schema::ItemFile << dmUnreadable;
}

void TOpenFailureTest::BadTableFile() {
    QFETCH(QString, file);
    QFETCH(TDamage, damage);
    TProgramFolder folder;
    const QString path = QDir(folder.DataPath()).filePath(file);
    const QString table = QFileInfo(file).completeBaseName();
    const QByteArray original = ReadFile(path);
    switch (damage) {
    case dmMissing:
        QVERIFY(QFile::remove(path));
        break;
    case dmGarbage: {
        QByteArray bytes;
        for (int i = 0; i < 200; ++i) {
            bytes += "Stol;Bord;Skab;1234,50;\r\n";
        }
        WriteFile(path, bytes);
        break;
    }
    case dmEmpty:
        WriteFile(path, {});
        break;
    case dmHeaderOnly:
        WriteFile(path, original.left(60));
        break;
    case dmTruncated: {
        // Enough items to fill many pages, then cut the file in the middle.
        std::vector<TSeedItem> items;
        for (int i = 0; i < 2000; ++i) {
            items.push_back(
                {i, QStringLiteral("Bøger"), QStringLiteral("Bog nummer %1 med en lang titel").arg(i)});
        }
        SeedItems(path, items);
        const QByteArray full = ReadFile(path);
        WriteFile(path, full.left(full.size() / 2 + 100));
        break;
    }
    case dmOtherTable: {
        // A whole database of the program, but holding another of its tables.
        const QString other = file == Schema::SettingsFile ? Schema::CounterFile : Schema::SettingsFile;
        QVERIFY(QFile::remove(path));
        QueryFile(QDir(folder.DataPath()).filePath(other), QStringLiteral("VACUUM INTO '%1'").arg(path));
        break;
    }
    case dmMissingField:
        QueryFile(path, QStringLiteral("DROP TABLE %1").arg(table));
        QueryFile(path, QStringLiteral("CREATE TABLE %1 (Andet INTEGER)").arg(table));
        break;
    case dmUnreadable:
        QFile::setPermissions(folder.Path(), ReadAll | ExecAll | QFile::WriteOwner);
        QFile::setPermissions(folder.DataPath(), ReadAll | ExecAll | QFile::WriteOwner);
        QFile::setPermissions(path, {});
        break;
    }

    TTable subject;
    try {
        OpenUnprivileged(subject, folder.DataPath(), file);
        QFAIL("the table opened");
    } catch (const EDatabaseError& error) {
        QVERIFY2(error.Message().contains(path), qPrintable(error.Message()));
    }
    QVERIFY(!subject.Active());
    QCOMPARE(subject.FieldCount(), 0);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, subject.First());

    // Once the file is whole again the same object opens it.
    QFile::setPermissions(path, ReadAll | QFile::WriteOwner);
    QFile::remove(path);
    Schema::CreateMissingTables(folder.DataPath());
    OpenTable(subject, folder.DataPath(), file);
    QVERIFY(subject.Active());
}

void TOpenFailureTest::MissingDataFolder() {
    TProgramFolder folder;
    const QString missing = folder.FilePath(QStringLiteral("Mangler"));
    TTable table;
    try {
        OpenTable(table, missing, Schema::ItemFile);
        QFAIL("the table opened");
    } catch (const EDatabaseError& error) {
        QVERIFY2(error.Message().contains(QDir(missing).filePath(Schema::ItemFile)),
                 qPrintable(error.Message()));
    }
    QVERIFY(!table.Active());
    QVERIFY(!QFileInfo::exists(missing)); // nothing was created
}

void TOpenFailureTest::ReadOnlyTable() {
    TItemTableFixture fixture;
    fixture.Table.Close();
    const QString path = fixture.ItemPath();
    QFile::setPermissions(fixture.Folder.Path(), ReadAll | ExecAll | QFile::WriteOwner);
    QFile::setPermissions(fixture.Folder.DataPath(), ReadAll | ExecAll);
    QFile::setPermissions(path, ReadAll);
    const QByteArray before = ReadFile(path);

    TTable table;
    OpenUnprivileged(table, fixture.Folder.DataPath(), Schema::ItemFile);
    {
        TUnprivileged unprivileged;
        QVERIFY(!table.CanModify());
        // Browsing, filtering and ordering work.
        table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
        table.SetFiltered(true);
        table.SetIndexName(Schema::IndexBeskrivelse);
        QList<QString> seen;
        for (table.First(); !table.Eof(); table.Next()) {
            seen << table.FieldByName(QStringLiteral("Beskrivelse"))->AsString();
        }
        QCOMPARE(seen, (QList<QString>{QStringLiteral("bord"), QStringLiteral("Kid's bike"),
                                       QStringLiteral("Stol")}));

        // Every change is refused with a message naming the file.
        const auto refused = [&](const std::function<void()>& change) {
            try {
                change();
                return QStringLiteral("accepted");
            } catch (const EDatabaseError& error) {
                return error.Message().contains(path) ? QString() : error.Message();
            }
        };
        QCOMPARE(refused([&] { table.Edit(); }), QString());
        QCOMPARE(refused([&] { table.Insert(); }), QString());
        QCOMPARE(refused([&] { table.Delete(); }), QString());
        QCOMPARE(table.State(), dsBrowse);
        QCOMPARE(table.RecordCount(), 3);
    }
    table.Close();
    QCOMPARE(ReadFile(path), before);
    QFile::setPermissions(fixture.Folder.DataPath(), ReadAll | ExecAll | QFile::WriteOwner);
}

HABITRA_TEST(TOpenFailureTest)
#include "OpenFailureTest.moc"
