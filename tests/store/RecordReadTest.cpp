#include "StoreFixture.h"
#include "TestRegistry.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

// Records read through the table, in blocks and from its cache, are the records in the file.
class TRecordReadTest : public QObject {
    Q_OBJECT

    // More items than the table keeps in its cache, so reads go back to the file.
    static constexpr int ItemCount = 2500;

    struct TFixture {
        TFixture() {
            TSqliteDatabase db;
            db.Open(Path());
            TTransaction transaction(db);
            TSqliteStatement insert(db, "INSERT INTO Habitra (Beskrivelse, Kobsdato, Vaerdi, Notater, Foto, "
                                        "Kategori) VALUES (?, ?, ?, ?, ?, ?)");
            static const char* const words[] = {"Stol", "bord", "Ækeskab", "Lampe", "cykel", "Ur", "Atlas"};
            static const char* const categories[] = {"Møbler", "Bøger", "Diverse"};
            for (int i = 0; i < ItemCount; ++i) {
                insert.BindAll(
                    {QStringLiteral("%1 %2").arg(QString::fromUtf8(words[(i * 5) % 7])).arg(i % 13),
                     i % 7 == 0 ? QVariant() : QVariant(QDate(1990, 1, 1).addDays(i * 3)),
                     QVariant(qint64(i) * 137),
                     i % 5 == 0 ? QVariant() : QVariant(QString("note %1\nend").arg(i)),
                     QVariant(qint64(i + 1)), QString::fromUtf8(categories[(i * 7) % 3])});
                insert.Execute();
                insert.Reset();
            }
            transaction.Commit();
            OpenTable(Table, Folder.DataPath(), Schema::ItemFile);
        }
        QString Path() const { return QDir(Folder.DataPath()).filePath(Schema::ItemFile); }
        // One line per record, as the file holds it; a null column reads "<null>".
        QString Describe(const std::function<QVariant(const QString& field)>& value) const {
            const QDate date = value("Kobsdato").toDate();
            const QVariant amount = value("Vaerdi");
            const QVariant notes = value("Notater");
            return QStringList{QString::number(value("Foto").toLongLong()),
                               value("Beskrivelse").toString(),
                               date.isValid() ? date.toString(Qt::ISODate) : "<null>",
                               amount.isNull() ? "<null>" : QString::number(amount.toLongLong()),
                               notes.isNull() ? "<null>" : notes.toString(),
                               value("Kategori").toString()}
                .join('|');
        }
        QString RowText(int row) const {
            return Describe(
                [&](const QString& field) { return Table.RowValue(row, Table.FieldByName(field)->Index()); });
        }
        QString CurrentText() const {
            return Describe([&](const QString& field) { return Table.FieldByName(field)->Value(); });
        }
        TProgramFolder Folder;
        TTable Table;
    };

private slots:
    void RecordsMatchTheFile_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("order");
        QTest::newRow("primary order") << QString() << QString() << "rowid";
        QTest::newRow("primary order, filtered") << QString() << "Kategori = 'Bøger'"
                                                 << "rowid";
        QTest::newRow("index order") << "IndexBeskrivelse" << QString()
                                     << "Beskrivelse COLLATE NOCASE, rowid";
        QTest::newRow("index order, filtered") << "IndexBeskrivelse"
                                               << "Kategori = 'Møbler'"
                                               << "Beskrivelse COLLATE NOCASE, rowid";
    }

    void RecordsMatchTheFile() {
        QFETCH(QString, index);
        QFETCH(QString, filter);
        QFETCH(QString, order);
        TFixture fixture;
        TTable& table = fixture.Table;
        table.SetIndexName(index);
        table.SetFilter(filter);
        table.SetFiltered(!filter.isEmpty());
        const QString where = filter.isEmpty() ? QString() : " WHERE " + filter;
        const QStringList expected = QueryFile(
            fixture.Path(), "SELECT Foto, Beskrivelse, Kobsdato, Vaerdi, Notater, Kategori FROM Habitra" +
                                where + " ORDER BY " + order);
        QCOMPARE(table.RecordCount(), expected.size());
        QVERIFY(expected.size() > 700);

        // Forward, as the export walks.
        QStringList walked;
        for (table.First(); !table.Eof(); table.Next()) {
            walked << fixture.CurrentText();
        }
        QCOMPARE(walked, expected);
        // Backward, each record read after those behind it.
        QStringList back;
        for (table.Last(); !table.Bof(); table.Prior()) {
            back.prepend(fixture.CurrentText());
        }
        QCOMPARE(back, expected);
        // Jumping about, as a grid does, so that blocks leave the cache and come back.
        for (int i = 0; i < 3 * expected.size(); i += 7) {
            const int row = int((qint64(i) * 769) % expected.size());
            QCOMPARE(fixture.RowText(row), expected.at(row));
        }
    }

    // A long walk reads ahead on another connection; what is posted on the way, and what the walk's
    // reader cannot read, must not change what the walk meets.
    void WalkMeetsWhatWasPostedOnTheWay() {
        TFixture fixture;
        TTable& table = fixture.Table;
        table.First();
        for (int i = 0; i < 300; ++i) {
            table.Next();
        }
        const TBookmark midway = table.GetBookmark();
        // Further on, in rows the walk has read ahead by now.
        table.SetRecNo(501);
        table.Edit();
        table.FieldByName("Beskrivelse")->SetAsString("Rettet undervejs");
        table.Post();
        table.SetRecNo(601);
        table.Delete();
        table.GotoBookmark(midway);
        const QStringList expected = QueryFile(
            fixture.Path(), "SELECT Foto, Beskrivelse, Kobsdato, Vaerdi, Notater, Kategori FROM Habitra "
                            "ORDER BY rowid");
        QStringList walked;
        for (; !table.Eof(); table.Next()) {
            walked << fixture.CurrentText();
        }
        QCOMPARE(walked, expected.mid(300));
        QVERIFY(walked.at(200).contains("|Rettet undervejs|"));
    }

    void WalkGoesOnWhenItsReaderCannotOpenTheFile() {
        TFixture fixture;
        TTable& table = fixture.Table;
        const QString sql =
            "SELECT Foto, Beskrivelse, Kobsdato, Vaerdi, Notater, Kategori FROM Habitra ORDER BY rowid";
        const QStringList expected = QueryFile(fixture.Path(), sql);
        QStringList walked;
        table.First();
        walked << fixture.CurrentText();
        // The table keeps the file it opened; a second connection finds nothing at the name.
        QVERIFY(QFile::rename(fixture.Path(), fixture.Path() + ".moved"));
        for (table.Next(); !table.Eof(); table.Next()) {
            walked << fixture.CurrentText();
        }
        QCOMPARE(walked, expected);
    }

    void WalkStoppedHalfwayLeavesNoReaderBehind() {
        TFixture fixture;
        auto table = std::make_unique<TTable>();
        OpenTable(*table, fixture.Folder.DataPath(), Schema::ItemFile);
        table->First();
        for (int i = 0; i < 200; ++i) {
            table->Next();
        }
        table->Close();
        // Another program with no busy wait writes at once: a read lock left behind would fail it.
        QueryFile(fixture.Path(), "UPDATE Habitra SET Beskrivelse = 'Efter lukning' WHERE Foto = 1000");
        table->Open();
        for (int i = 0; i < 300; ++i) {
            table->Next();
        }
        table.reset(); // mid-walk, with blocks on their way
        QCOMPARE(QueryFile(fixture.Path(), "SELECT Beskrivelse FROM Habitra WHERE Foto = 1000"),
                 QStringList{"Efter lukning"});
    }

    void StoredDates_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QDate>("date");
        QTest::newRow("leap day") << "2024-02-29" << QDate(2024, 2, 29);
        QTest::newRow("no such day") << "2023-02-29" << QDate();
        QTest::newRow("no such month") << "2024-13-01" << QDate();
        QTest::newRow("year zero") << "0000-01-01" << QDate();
        QTest::newRow("first day of the calendar") << "0001-01-01" << QDate(1, 1, 1);
        QTest::newRow("other separators") << "2024/02/03" << QDate(2024, 2, 3);
        QTest::newRow("with a time") << "2024-02-03T10:15" << QDate(2024, 2, 3);
        QTest::newRow("short year") << "24-02-03" << QDate();
        QTest::newRow("one-digit month") << "2024-2-03" << QDate();
        QTest::newRow("letters") << "2024-0a-03" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }

    void StoredDates() {
        QFETCH(QString, stored);
        QFETCH(QDate, date);
        TItemTableFixture fixture({{1, "Møbler", "Stol"}, {2, "Møbler", "Bord"}});
        QueryFile(fixture.ItemPath(),
                  QString("UPDATE Habitra SET Kobsdato = '%1' WHERE Foto = 2").arg(stored));
        fixture.Table.Refresh();
        const int field = fixture.Table.FieldByName("Kobsdato")->Index();
        QCOMPARE(fixture.Table.RowValue(1, field).toDate(), date);
        fixture.Table.Next();
        QCOMPARE(fixture.Table.FieldByName("Kobsdato")->AsDate(), date);
        QCOMPARE(fixture.Table.FieldByName("Kobsdato")->IsNull(), !date.isValid());
    }

    // Values another program stored in a kind other than the field's still read as the field's kind.
    void ValuesOfAnotherKind_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("integer as text") << "Foto"
                                         << "'12'" << QVariant(qint64(12));
        QTest::newRow("integer as real") << "Foto"
                                         << "12.0" << QVariant(qint64(12));
        QTest::newRow("amount as real") << "Vaerdi"
                                        << "12.5" << QVariant(qint64(1250));
        QTest::newRow("amount as text") << "Vaerdi"
                                        << "'7'" << QVariant(qint64(7));
        QTest::newRow("text as integer") << "Beskrivelse"
                                         << "42" << QVariant(QString("42"));
        QTest::newRow("memo as bytes") << "Notater"
                                       << "X'414243'" << QVariant(QString("ABC"));
        QTest::newRow("date as integer") << "Kobsdato"
                                         << "20240203" << QVariant();
    }

    void ValuesOfAnotherKind() {
        QFETCH(QString, field);
        QFETCH(QString, stored);
        QFETCH(QVariant, value);
        TItemTableFixture fixture({{1, "Møbler", "Stol"}});
        QueryFile(fixture.ItemPath(), QString("UPDATE Habitra SET %1 = %2").arg(field, stored));
        fixture.Table.Refresh();
        const QVariant read = fixture.Table.FieldByName(field)->Value();
        QCOMPARE(read.isNull(), value.isNull());
        if (!value.isNull()) {
            QCOMPARE(read.typeId(), value.typeId());
            QCOMPARE(read, value);
        }
    }

    // Reading holds no lock between calls: another program may write at once, and a record it
    // deleted before the table read it shows empty.
    void ReadingLeavesTheFileFree_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("order");
        QTest::newRow("primary order") << QString() << "rowid";
        QTest::newRow("index order") << "IndexBeskrivelse"
                                     << "Beskrivelse COLLATE NOCASE, rowid";
    }

    void ReadingLeavesTheFileFree() {
        QFETCH(QString, index);
        QFETCH(QString, order);
        TFixture fixture;
        TTable& table = fixture.Table;
        table.SetIndexName(index);
        const int foto = table.FieldByName("Foto")->Index();
        const QStringList fotos = QueryFile(fixture.Path(), "SELECT Foto FROM Habitra ORDER BY " + order);
        QueryFile(fixture.Path(), "DELETE FROM Habitra WHERE Foto = " + fotos.at(300));
        QCOMPARE(table.RowValue(299, foto).toString(), fotos.at(299));
        QVERIFY(table.RowValue(300, foto).isNull());
        QCOMPARE(table.RowValue(301, foto).toString(), fotos.at(301));

        // The other connection has no busy wait: a lock left behind would make its write fail.
        QueryFile(fixture.Path(), "UPDATE Habitra SET Beskrivelse = 'Skrevet' WHERE Foto = " + fotos.at(299));
        QCOMPARE(QueryFile(fixture.Path(), "SELECT Beskrivelse FROM Habitra WHERE Foto = " + fotos.at(299)),
                 QStringList{"Skrevet"});
        for (table.First(); !table.Eof(); table.Next()) {
        }
        QueryFile(fixture.Path(), "UPDATE Habitra SET Beskrivelse = 'Igen' WHERE Foto = " + fotos.at(299));
        QCOMPARE(QueryFile(fixture.Path(), "SELECT Beskrivelse FROM Habitra WHERE Foto = " + fotos.at(299)),
                 QStringList{"Igen"});

        table.Refresh();
        QCOMPARE(table.RecordCount(), ItemCount - 1);
        int written = -1;
        for (int row = 0; row < table.RecordCount(); ++row) {
            if (table.RowValue(row, foto).toString() == fotos.at(299)) {
                written = row;
            }
        }
        QVERIFY(written >= 0);
        QCOMPARE(table.RowValue(written, table.FieldByName("Beskrivelse")->Index()).toString(),
                 QString("Igen"));
    }
};

HABITRA_TEST(TRecordReadTest)
#include "RecordReadTest.moc"
