#include "StoreFixture.h"
#include "TestRegistry.h"

#include "store/Error.h"
#include "store/Schema.h"

#include <QDir>
#include <QTest>

// Opening, moving, the record states and how field values are stored and read back.
class TTableTest : public QObject {
    Q_OBJECT
private slots:
    void OpenGivesFirstRecordAndFields();
    void ClosedTableRefusesWork();
    void NavigationAndEndOfData();
    void EmptyTableNavigation();
    void InsertPostCancelDelete();
    void PostedItemIsOnDisk();
    void EditCancelRestores();
    void RefreshReadsOtherWriters();
    void CounterFromEmptyTable();
    void EditOnEmptyTableBeginsNewRecord();
    void TextIsCutToWidth_data();
    void TextIsCutToWidth();
    void IntegerAsText_data();
    void IntegerAsText();
    void DateMoneyAndMemo();
    void BadValueKeepsEditing_data();
    void BadValueKeepsEditing();
    void Bookmarks();
    void FieldList();
};

void TTableTest::OpenGivesFirstRecordAndFields() {
    TItemTableFixture fixture;
    QVERIFY(fixture.Table.Active());
    QCOMPARE(fixture.Table.State(), dsBrowse);
    QCOMPARE(fixture.Table.RecordCount(), 7);
    QCOMPARE(fixture.CurrentFoto(), 1);
    QVERIFY(fixture.Table.Bof());
    QVERIFY(!fixture.Table.Eof());
    QCOMPARE(fixture.Table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Stol"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Table.FieldByName(QStringLiteral("Pris")));

    fixture.Table.Close();
    QVERIFY(!fixture.Table.Active());
    fixture.Table.Open();
    QCOMPARE(fixture.Table.RecordCount(), 7);
    QCOMPARE(fixture.CurrentFoto(), 1);
}

void TTableTest::ClosedTableRefusesWork() {
    TTable table;
    QVERIFY(!table.Active());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.First());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.Insert());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.Edit());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.FieldByName(QStringLiteral("Foto")));
}

void TTableTest::NavigationAndEndOfData() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    QList<qint64> walked;
    for (table.First(); !table.Eof(); table.Next()) {
        walked << fixture.CurrentFoto();
    }
    QCOMPARE(walked, (QList<qint64>{1, 2, 3, 4, 5, 6, 7}));
    // Next on the last record raised the flag and stayed there.
    QCOMPARE(fixture.CurrentFoto(), 7);
    table.Next();
    QVERIFY(table.Eof());
    QCOMPARE(fixture.CurrentFoto(), 7);

    table.Prior();
    QVERIFY(!table.Eof());
    QCOMPARE(fixture.CurrentFoto(), 6);
    table.First();
    table.Prior();
    QVERIFY(table.Bof());
    QCOMPARE(fixture.CurrentFoto(), 1);

    table.Last();
    QCOMPARE(fixture.CurrentFoto(), 7);
    QVERIFY(table.Eof());
    QCOMPARE(table.RecNo(), 7);
    QCOMPARE(table.MoveBy(-3), -3);
    QCOMPARE(fixture.CurrentFoto(), 4);
}

void TTableTest::EmptyTableNavigation() {
    TItemTableFixture fixture(std::vector<TSeedItem>{});
    TTable& table = fixture.Table;
    QVERIFY(table.IsEmpty());
    QVERIFY(table.Eof());
    QVERIFY(table.Bof());
    table.First();
    QVERIFY(table.Eof());
    table.Next();
    QVERIFY(table.Eof());
    table.Last();
    QVERIFY(table.Bof());
    QCOMPARE(table.FieldByName(QStringLiteral("Foto"))->AsString(), QString());
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.Delete());
}

void TTableTest::InsertPostCancelDelete() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.MoveBy(2); // Foto 3
    table.Insert();
    QCOMPARE(table.State(), dsInsert);
    QCOMPARE(table.RecNo(), 3); // at the current position
    QCOMPARE(table.RecordCount(), 8);
    QVERIFY(table.FieldByName(QStringLiteral("Foto"))->IsNull());
    table.Cancel();
    QCOMPARE(table.State(), dsBrowse);
    QCOMPARE(table.RecordCount(), 7);
    QCOMPARE(fixture.CurrentFoto(), 3);

    table.Insert();
    table.FieldByName(QStringLiteral("Foto"))->SetAsInteger(8);
    table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Lampe"));
    table.Post();
    QCOMPARE(table.State(), dsBrowse);
    QCOMPARE(table.RecordCount(), 8);
    QCOMPARE(fixture.CurrentFoto(), 8); // the posted item stays current
    QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Lampe"));

    // Deleting moves to the record that took its place; deleting the last one moves back.
    table.First();
    table.Next();
    table.Delete();
    QCOMPARE(fixture.CurrentFoto(), 3);
    QCOMPARE(table.RecordCount(), 7);
    table.Last();
    table.Delete();
    QCOMPARE(fixture.CurrentFoto(), 7);
    QCOMPARE(QueryFile(fixture.ItemPath(), QStringLiteral("SELECT Foto FROM Habitra ORDER BY rowid")),
             (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                          QStringLiteral("6"), QStringLiteral("7")}));

    while (!table.IsEmpty()) {
        table.Delete();
    }
    QVERIFY(table.Eof());
    QCOMPARE(QueryFile(fixture.ItemPath(), QStringLiteral("SELECT count(*) FROM Habitra")),
             QStringList{QStringLiteral("0")});
}

void TTableTest::PostedItemIsOnDisk() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.Edit();
    QCOMPARE(table.State(), dsEdit);
    table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Lænestol"));
    QCOMPARE(fixture.StoredDescriptions().first(), QStringLiteral("Stol")); // not before Post
    table.Post();
    // Another connection sees it as soon as Post returns: it was committed.
    QCOMPARE(fixture.StoredDescriptions().first(), QStringLiteral("Lænestol"));
    QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Lænestol"));
    QCOMPARE(fixture.CurrentFoto(), 1);

    // Posting without a change writes nothing and leaves editing.
    table.Edit();
    table.Post();
    QCOMPARE(table.State(), dsBrowse);
}

void TTableTest::EditCancelRestores() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.Next();
    table.Edit();
    table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Globus"));
    table.FieldByName(QStringLiteral("Foto"))->Clear();
    table.Cancel();
    QCOMPARE(table.State(), dsBrowse);
    QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Atlas"));
    QCOMPARE(fixture.CurrentFoto(), 2);
    QCOMPARE(fixture.StoredDescriptions().at(1), QStringLiteral("Atlas"));
}

void TTableTest::RefreshReadsOtherWriters() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.MoveBy(3); // Foto 4
    SeedItems(fixture.ItemPath(), {{9, QStringLiteral("Bøger"), QStringLiteral("Ny bog")}});
    QueryFile(fixture.ItemPath(), QStringLiteral("UPDATE Habitra SET Beskrivelse = 'Cykel' WHERE Foto = 4"));
    QCOMPARE(table.RecordCount(), 7);
    table.Refresh();
    QCOMPARE(table.RecordCount(), 8);
    QCOMPARE(fixture.CurrentFoto(), 4);
    QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Cykel"));
    table.Last();
    QCOMPARE(fixture.CurrentFoto(), 9);
}

void TTableTest::CounterFromEmptyTable() {
    TProgramFolder folder;
    for (qint64 expected = 1; expected <= 3; ++expected) {
        // Each number is handed out by a freshly opened table, as after a restart.
        TTable counter;
        OpenTable(counter, folder.DataPath(), Schema::CounterFile);
        counter.Last();
        TField* regnr = counter.FieldByName(QStringLiteral("Regnr"));
        QCOMPARE(regnr->AsInteger(), expected - 1);
        const qint64 next = regnr->AsInteger() + 1;
        counter.Insert();
        regnr->SetAsInteger(next);
        counter.Post();
        QCOMPARE(regnr->AsInteger(), expected);
    }
    QCOMPARE(QueryFile(QDir(folder.DataPath()).filePath(Schema::CounterFile),
                       QStringLiteral("SELECT Regnr FROM Regnr ORDER BY rowid")),
             (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

void TTableTest::EditOnEmptyTableBeginsNewRecord() {
    TProgramFolder folder;
    const QString path = QDir(folder.DataPath()).filePath(Schema::SettingsFile);
    QueryFile(path, QStringLiteral("DELETE FROM Config"));
    TTable config;
    OpenTable(config, folder.DataPath(), Schema::SettingsFile);
    int afterInsert = 0;
    config.AfterInsert = [&](TTable&) { ++afterInsert; };
    for (int save = 0; save < 2; ++save) {
        config.Edit();
        QCOMPARE(config.State(), save == 0 ? dsInsert : dsEdit);
        config.FieldByName(QStringLiteral("Hojde"))->SetAsInteger(600 + save);
        config.FieldByName(QStringLiteral("Sprog"))->SetAsInteger(save);
        config.Post();
    }
    QCOMPARE(afterInsert, 1);
    QCOMPARE(QueryFile(path, QStringLiteral("SELECT Hojde, Sprog FROM Config")),
             QStringList{QStringLiteral("601|1")});
}

void TTableTest::TextIsCutToWidth_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("width");
    QTest::newRow("Beskrivelse") << QStringLiteral("Beskrivelse") << 60;
    QTest::newRow("Fabrikat") << QStringLiteral("Fabrikat") << 60;
    QTest::newRow("Model") << QStringLiteral("Model") << 60;
    QTest::newRow("Identifikation") << QStringLiteral("Identifikation") << 30;
    QTest::newRow("Kobssted") << QStringLiteral("Kobssted") << 60;
}

void TTableTest::TextIsCutToWidth() {
    QFETCH(QString, field);
    QFETCH(int, width);
    TItemTableFixture fixture;
    QString typed;
    for (int i = 0; i < 65; ++i) {
        typed += QChar(i % 2 ? u'ø' : QChar(u'a' + i % 26));
    }
    fixture.Table.Edit();
    fixture.Table.FieldByName(field)->SetAsString(typed);
    QCOMPARE(fixture.Table.FieldByName(field)->AsString(), typed.left(width));
    fixture.Table.Post();
    QCOMPARE(
        QueryFile(fixture.ItemPath(), QStringLiteral("SELECT %1 FROM Habitra WHERE Foto = 1").arg(field)),
        QStringList{typed.left(width)});

    // A text of exactly the width is kept whole.
    fixture.Table.Edit();
    fixture.Table.FieldByName(field)->SetAsString(typed.right(width));
    fixture.Table.Post();
    QCOMPARE(fixture.Table.FieldByName(field)->AsString(), typed.right(width));
}

void TTableTest::IntegerAsText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("number");
    QTest::newRow("empty") << QString() << QString() << qint64(0);
    QTest::newRow("12") << QStringLiteral("12") << QStringLiteral("12") << qint64(12);
    QTest::newRow("-3") << QStringLiteral("-3") << QStringLiteral("-3") << qint64(-3);
    QTest::newRow("leading zeros") << QStringLiteral("007") << QStringLiteral("7") << qint64(7);
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("0") << qint64(0);
    QTest::newRow("large") << QStringLiteral("1234567") << QStringLiteral("1234567") << qint64(1234567);
}

void TTableTest::IntegerAsText() {
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(qint64, number);
    TItemTableFixture fixture;
    fixture.Table.Edit();
    TField* foto = fixture.Table.FieldByName(QStringLiteral("Foto"));
    foto->SetAsString(typed);
    QCOMPARE(foto->AsString(), text);
    fixture.Table.Post();

    // Read back from the file by a table of its own.
    TTable reopened;
    OpenTable(reopened, fixture.Folder.DataPath(), Schema::ItemFile);
    TField* stored = reopened.FieldByName(QStringLiteral("Foto"));
    QCOMPARE(stored->AsString(), text);
    QCOMPARE(stored->AsInteger(), number);
    QCOMPARE(stored->DisplayText(), text);
    QCOMPARE(stored->IsNull(), typed.isEmpty());
}

void TTableTest::DateMoneyAndMemo() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    const QString notes = QStringLiteral("Købt på udsalg.\r\n\tKvittering i skuffen\r\nÆble, øl og å");
    table.Edit();
    table.FieldByName(QStringLiteral("Kobsdato"))->SetAsString(QStringLiteral("24-12-2023"));
    table.FieldByName(QStringLiteral("Vaerdi"))->SetAsString(QStringLiteral("1.234,5"));
    table.FieldByName(QStringLiteral("Notater"))->SetAsString(notes);
    table.Post();

    TTable reopened;
    OpenTable(reopened, fixture.Folder.DataPath(), Schema::ItemFile);
    TField* date = reopened.FieldByName(QStringLiteral("Kobsdato"));
    QCOMPARE(date->AsDate(), QDate(2023, 12, 24));
    QCOMPARE(date->AsString(), QStringLiteral("24-12-2023"));
    TField* value = reopened.FieldByName(QStringLiteral("Vaerdi"));
    QCOMPARE(value->AsMoney().Cents(), 123450);
    QCOMPARE(value->AsString(), QStringLiteral("1234,5"));
    QCOMPARE(value->DisplayText(), QStringLiteral("1234,50"));
    TField* memo = reopened.FieldByName(QStringLiteral("Notater"));
    QCOMPARE(memo->AsString(), notes);
    QCOMPARE(memo->AsBytes(), notes.toUtf8());
}

void TTableTest::BadValueKeepsEditing_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters in Vaerdi") << QStringLiteral("Vaerdi") << QStringLiteral("tolv kroner");
    QTest::newRow("three decimals") << QStringLiteral("Vaerdi") << QStringLiteral("12,345");
    QTest::newRow("30 February") << QStringLiteral("Kobsdato") << QStringLiteral("30-02-2020");
    QTest::newRow("month 13") << QStringLiteral("Kobsdato") << QStringLiteral("01-13-2020");
    QTest::newRow("letters in Foto") << QStringLiteral("Foto") << QStringLiteral("12a");
}

void TTableTest::BadValueKeepsEditing() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.Edit();
    table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Taburet"));
    const QVariant before = table.FieldByName(field)->Value();
    try {
        table.FieldByName(field)->SetAsString(typed);
        QFAIL("the value was accepted");
    } catch (const EDatabaseError& error) {
        QVERIFY2(error.Message().contains(typed) && error.Message().contains(field),
                 qPrintable(error.Message()));
    }
    QCOMPARE(table.State(), dsEdit);
    QCOMPARE(table.FieldByName(field)->Value(), before);
    QCOMPARE(fixture.CurrentFoto(), 1);
    table.Post();
    QCOMPARE(fixture.StoredDescriptions().first(), QStringLiteral("Taburet"));
}

void TTableTest::Bookmarks() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.MoveBy(4); // Foto 5
    TBookmark mark = table.GetBookmark();
    QVERIFY(table.BookmarkValid(mark));
    table.First();
    table.GotoBookmark(mark);
    QCOMPARE(fixture.CurrentFoto(), 5);

    // Still the same record in another order.
    table.SetIndexName(Schema::IndexBeskrivelse);
    table.Last();
    table.GotoBookmark(mark);
    QCOMPARE(fixture.CurrentFoto(), 5);

    // A record the filter hides cannot be reached; the cursor stays.
    table.SetFilter(QStringLiteral("Kategori = 'Bøger'"));
    table.SetFiltered(true);
    QVERIFY(!table.BookmarkValid(mark));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.GotoBookmark(mark));
    QCOMPARE(fixture.CurrentFoto(), 2);

    table.SetFiltered(false);
    table.FreeBookmark(mark);
    QVERIFY(!table.BookmarkValid(mark));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.GotoBookmark(mark));
}

void TTableTest::FieldList() {
    TItemTableFixture fixture;
    const QStringList expected{QStringLiteral("Beskrivelse"), QStringLiteral("Fabrikat"),
                               QStringLiteral("Model"),       QStringLiteral("Identifikation"),
                               QStringLiteral("Kobssted"),    QStringLiteral("Kobsdato"),
                               QStringLiteral("Vaerdi"),      QStringLiteral("Notater"),
                               QStringLiteral("Foto"),        QStringLiteral("Kategori")};
    QCOMPARE(fixture.Table.FieldCount(), expected.size());
    for (int i = 0; i < fixture.Table.FieldCount(); ++i) {
        TField* field = fixture.Table.Fields(i);
        QCOMPARE(field->FieldName(), expected.at(i));
        QCOMPARE(field->DisplayLabel(), expected.at(i));
        QCOMPARE(field->IsBlob(), expected.at(i) == QLatin1String("Notater"));
        QCOMPARE(fixture.Table.FieldByName(expected.at(i)), field);
    }
    QCOMPARE(fixture.Table.FieldByName(QStringLiteral("Kategori"))->Text(), QStringLiteral("Møbler"));
}

HABITRA_TEST(TTableTest)
#include "TableTest.moc"
