#include "StoreFixture.h"
#include "TestRegistry.h"

#include "store/Error.h"
#include "store/Schema.h"

#include <QDir>
#include <QTest>

// Writes of many records through a table's own connection, in one transaction that may span a second
// file attached to it.
class TWriteThroughTest : public QObject {
    Q_OBJECT
private slots:
    void TheSetIsReadAnewAndTheCurrentRecordKept();
    void AFailedWriteLeavesBothFilesAsTheyWere();
    void APendingEditIsPostedFirst();
};

namespace {
const QString InsertItem =
    QStringLiteral("INSERT INTO Habitra (Foto, Kategori, Beskrivelse) VALUES (?, 'Møbler', ?)");

void AddItem(TSqliteDatabase& db, qint64 foto, const QString& description) {
    TSqliteStatement insert(db, InsertItem);
    insert.BindAll({QVariant(foto), QVariant(description)});
    insert.Execute();
}
} // namespace

void TWriteThroughTest::TheSetIsReadAnewAndTheCurrentRecordKept() {
    TItemTableFixture fixture;
    fixture.Table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
    fixture.Table.SetFiltered(true);
    fixture.Table.Next();
    QCOMPARE(fixture.CurrentFoto(), qint64(3));
    const QString counter = QDir(fixture.Folder.DataPath()).filePath(Schema::CounterFile);
    fixture.Table.WriteThrough([&](TSqliteDatabase& db) {
        TAttachedDatabase attached(db, counter, QStringLiteral("Counter"));
        TTransaction transaction(db);
        AddItem(db, 8, QStringLiteral("Sofa"));
        db.Execute(QStringLiteral("INSERT INTO Counter.Regnr (Regnr) VALUES (8)"));
        AddItem(db, 9, QStringLiteral("Reol"));
        transaction.Commit();
    });
    QCOMPARE(fixture.VisibleFotos(), (QList<qint64>{1, 3, 6, 8, 9}));
    QCOMPARE(fixture.CurrentFoto(), qint64(3));
    QCOMPARE(QueryFile(counter, QStringLiteral("SELECT Regnr FROM Regnr")), QStringList{"8"});
    // The attachment ended with the write: the connection writes its own file alone again.
    fixture.Table.Edit();
    fixture.Table.FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("Ny"));
    fixture.Table.Post();
    QCOMPARE(QueryFile(fixture.ItemPath(), QStringLiteral("SELECT Model FROM Habitra WHERE Foto = 3")),
             QStringList{"Ny"});
}

void TWriteThroughTest::AFailedWriteLeavesBothFilesAsTheyWere() {
    TItemTableFixture fixture;
    const QString counter = QDir(fixture.Folder.DataPath()).filePath(Schema::CounterFile);
    const QStringList before = fixture.StoredDescriptions();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Table.WriteThrough([&](TSqliteDatabase& db) {
        TAttachedDatabase attached(db, counter, QStringLiteral("Counter"));
        TTransaction transaction(db);
        AddItem(db, 8, QStringLiteral("Sofa"));
        db.Execute(QStringLiteral("INSERT INTO Counter.Regnr (Regnr) VALUES (8)"));
        db.Execute(QStringLiteral("INSERT INTO NoSuchTable VALUES (1)"));
        transaction.Commit();
    }));
    QCOMPARE(fixture.StoredDescriptions(), before);
    QCOMPARE(QueryFile(counter, QStringLiteral("SELECT count(*) FROM Regnr")), QStringList{"0"});
    QCOMPARE(fixture.Table.RecordCount(), int(before.size()));
    // A missing file is not attached as a new, empty one.
    TSqliteDatabase db;
    db.Open(fixture.ItemPath());
    const QString missing = counter + QStringLiteral(".none");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TAttachedDatabase(db, missing, QStringLiteral("Counter")));
    QVERIFY(!QFileInfo::exists(missing));
}

void TWriteThroughTest::APendingEditIsPostedFirst() {
    TItemTableFixture fixture;
    fixture.Table.Edit();
    fixture.Table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Lænestol"));
    fixture.Table.WriteThrough([](TSqliteDatabase& db) {
        TTransaction transaction(db);
        AddItem(db, 8, QStringLiteral("Sofa"));
        transaction.Commit();
    });
    QCOMPARE(fixture.Table.State(), dsBrowse);
    const QStringList stored = fixture.StoredDescriptions();
    QCOMPARE(stored.front(), QStringLiteral("Lænestol"));
    QCOMPARE(stored.back(), QStringLiteral("Sofa"));
}

HABITRA_TEST(TWriteThroughTest)
#include "WriteThroughTest.moc"
