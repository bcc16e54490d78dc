#include "ProgramFolder.h"
#include "TestRegistry.h"
#include "store/FormatSettings.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Table.h"

#include <QTest>

// ScanColumn reads the same values, in the same order, as RowValue does row by row.
class TColumnScanTest : public QObject {
    Q_OBJECT

    struct TFixture {
        TFixture() {
            TSqliteDatabase db;
            db.Open(Folder.FilePath("Data/Habitra.db"));
            db.Execute(
                "INSERT INTO Habitra (Beskrivelse, Kategori, Foto) VALUES ('Stol', 'Møbler', 1), "
                "('Bog', 'Bøger', 2), ('Ane', 'Møbler', 3), ('Cykel', 'Diverse', 4), ('Bord', 'Møbler', 5)");
            Table.SetDatabaseName(Folder.DataPath());
            Table.SetTableName(Schema::ItemFile);
            Table.SetFieldDefs(Schema::ItemFields());
            Table.SetFormatSettings(TFormatSettings::Danish());
            Table.Open();
        }
        QStringList Scanned(int fromRow) const {
            QStringList values;
            Table.ScanColumn(Table.FieldByName("Beskrivelse")->Index(), fromRow,
                             [&](int row, const QVariant& value) {
                                 values << QString::number(row) + "=" + value.toString();
                                 return false;
                             });
            return values;
        }
        QStringList ScannedUtf8(int fromRow) const {
            QStringList values;
            Table.ScanColumnUtf8(Table.FieldByName("Beskrivelse")->Index(), fromRow,
                                 [&](int row, QByteArrayView text) {
                                     values << QString::number(row) + "=" + QString::fromUtf8(text);
                                     return false;
                                 });
            return values;
        }
        QStringList Expected(int fromRow) const {
            QStringList values;
            for (int row = fromRow; row < Table.RecordCount(); ++row) {
                values << QString::number(row) + "=" +
                              Table.RowValue(row, Table.FieldByName("Beskrivelse")->Index()).toString();
            }
            return values;
        }
        TProgramFolder Folder;
        TTable Table;
    };

private slots:
    void matchesRowValues_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<int>("fromRow");
        QTest::newRow("primary order") << QString() << false << 0;
        QTest::newRow("from a later row") << QString() << false << 3;
        QTest::newRow("index order") << "IndexBeskrivelse" << false << 1;
        QTest::newRow("filtered, index order") << "IndexBeskrivelse" << true << 0;
        QTest::newRow("past the end") << QString() << false << 5;
    }

    void matchesRowValues() {
        QFETCH(QString, index);
        QFETCH(bool, filtered);
        QFETCH(int, fromRow);
        TFixture fixture;
        fixture.Table.SetIndexName(index);
        fixture.Table.SetFilter("Kategori = 'Møbler'");
        fixture.Table.SetFiltered(filtered);
        QCOMPARE(fixture.Scanned(fromRow), fixture.Expected(fromRow));
        QCOMPARE(fixture.ScannedUtf8(fromRow), fixture.Expected(fromRow));
        QCOMPARE(fixture.Table.RecNo(), 1); // the cursor did not move
    }

    void stopsAtTheFirstHit() {
        TFixture fixture;
        const int field = fixture.Table.FieldByName("Kategori")->Index();
        int visited = 0;
        const int hit = fixture.Table.ScanColumn(field, 1, [&](int, const QVariant& value) {
            ++visited;
            return value.toString() == "Møbler";
        });
        QCOMPARE(hit, 2);
        QCOMPARE(visited, 2);
    }

    void seesPendingChangesAndOtherWriters() {
        TFixture fixture;
        // A record being inserted and one changed in the file behind the set's back.
        fixture.Table.SetRecNo(2);
        fixture.Table.Insert();
        fixture.Table.FieldByName("Beskrivelse")->SetAsString("Ny");
        QCOMPARE(fixture.Scanned(0), fixture.Expected(0));
        QVERIFY(fixture.Scanned(0).contains("1=Ny"));
        QCOMPARE(fixture.ScannedUtf8(0), fixture.Expected(0));
        fixture.Table.Cancel();
        {
            TSqliteDatabase db;
            db.Open(fixture.Folder.FilePath("Data/Habitra.db"));
            db.Execute("DELETE FROM Habitra WHERE Foto = 2");
        }
        const QStringList scanned = fixture.Scanned(0);
        QCOMPARE(scanned.size(), 5);
        QCOMPARE(scanned.at(0), QString("0=Stol"));
        QCOMPARE(scanned.at(2), QString("2=Ane"));
        QCOMPARE(fixture.ScannedUtf8(0).at(2), QString("2=Ane"));
    }
};

HABITRA_TEST(TColumnScanTest)
#include "ColumnScanTest.moc"
