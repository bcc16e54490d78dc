#include "ImportFixture.h"
#include "TestRegistry.h"

#include "export/DataExportASCII.h"
#include "import/ImportError.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTest>

// From a file to stored items: the mapping proposed from the headings, the checks before writing,
// duplicates, and one transaction with new picture numbers.
class TImportTest : public QObject {
    Q_OBJECT
private slots:
    void RoundTripThroughTheExport();
    void ProposesTheMappingFromHeadings();
    void InvalidRowsAreRefusedAndTheOthersImported();
    void DuplicatesAreSkippedUnlessAsked();
    void FixedCategoryAndConventionsChosenByTheUser();
    void CancelWritesNothing();
    void FailedWriteLeavesTheRegisterAsItWas();
};

namespace {
QByteArray Export(TTable& table, const QString& path) {
    TDataExportASCII exporter(TFormatSettings::Danish());
    exporter.SetDataSet(&table);
    exporter.SetShowFile(false);
    exporter.SetFileName(path);
    exporter.RunExport();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The lines of an export without the picture-number column (the last but one).
QStringList WithoutFoto(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    QStringList lines = QString(decoder(bytes)).split(QStringLiteral("\r\n"));
    for (QString& line : lines) {
        const qsizetype last = line.lastIndexOf(QStringLiteral("\";\""));
        const qsizetype before = last > 0 ? line.lastIndexOf(QStringLiteral("\";\""), last - 1) : -1;
        if (before >= 0) {
            line.remove(before, last - before);
        }
    }
    return lines;
}

void Insert(TTable& table, const QStringList& values) {
    table.Append();
    const QStringList names{"Beskrivelse", "Fabrikat", "Model", "Identifikation", "Kobssted",
                            "Kobsdato",    "Vaerdi",   "Foto",  "Kategori"};
    for (int i = 0; i < names.size() && i < values.size(); ++i) {
        if (!values[i].isEmpty()) {
            table.FieldByName(names[i])->SetAsString(values[i]);
        }
    }
    table.Post();
}
} // namespace

void TImportTest::RoundTripThroughTheExport() {
    TImportFixture source;
    Insert(source.Items(), {"Chatol \"mahogni\"", "Ukendt; dansk", "Empire", "A-1", "Arvet", "01-02-1995",
                            "12345,5", "7", "Antikviteter"});
    Insert(source.Items(),
           {"Kongens Fald", "Johannes V. Jensen", "Gyldendal", "978-87", "", "", "", "1234", "Bøger"});
    Insert(source.Items(), {"Sofa", "", "", "", "IKEA, Taastrup", "31-12-2024", "-250", "12", "Møbler"});
    Insert(source.Items(),
           {"Æbleskivepande", "Scanpan", "", "", "", "29-02-2024", "1234567,89", "", "Værktøj"});
    Insert(source.Items(), {"Radio", "B&O", "Beosound", "SN 1", "", "", "0", "99", "Radio/TV/Video"});
    const QByteArray first =
        Export(source.Items(), QDir(source.DataPath()).filePath(QStringLiteral("../first.txt")));

    TImportFixture target;
    const QString file = target.WriteFile(QStringLiteral("first.txt"), first);
    const TImportSession session = target.Session(file);
    QCOMPARE(session.Separator(), QLatin1Char(';'));
    QCOMPARE(session.Mapping().HasHeadings, true);
    QCOMPARE(session.Mapping().ColumnFields,
             (QStringList{"Beskrivelse", "Fabrikat", "Model", "Identifikation", "Kobssted", "Kobsdato",
                          "Vaerdi", "", "Kategori"}));
    const TImportResult result = target.Write(session);
    QCOMPARE(result.Imported, 5);
    QCOMPARE(target.CounterNumbers(), (QList<qint64>{1, 2, 3, 4, 5}));

    const QByteArray second =
        Export(target.Items(), QDir(target.DataPath()).filePath(QStringLiteral("../second.txt")));
    QCOMPARE(WithoutFoto(second), WithoutFoto(first));
    QVERIFY(second != first); // the picture numbers are new ones
    QVERIFY(QString::fromLatin1(second)
                .split(QStringLiteral("\r\n"))
                .at(1)
                .endsWith(QStringLiteral("\"1\";\"Antikviteter\"")));
}

void TImportTest::ProposesTheMappingFromHeadings() {
    TImportFixture fixture;
    const QString file =
        fixture.WriteFile(QStringLiteral("headings.csv"),
                          "DESCRIPTION,Unknown,value:,Purchase "
                          "date.,Foto,description,Category\nStol,x,\"1,234.50\",12/31/2024,7,y,Furniture\n");
    const TImportSession session = fixture.Session(file);
    QCOMPARE(session.Separator(), QLatin1Char(','));
    // Letter case, a closing colon or full stop aside; a field to its first column only; no picture number.
    QCOMPARE(session.Mapping().ColumnFields,
             (QStringList{"Beskrivelse", "", "Vaerdi", "Kobsdato", "", "", "Kategori"}));
    QCOMPARE(int(session.Mapping().Conventions.Decimal), int(dcPoint));
    QCOMPARE(int(session.Mapping().Conventions.DateOrder), int(doMonthDayYear));
    const std::vector<TImportRow> rows = session.Rows();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].Problems, QStringList());
    QCOMPARE(rows[0].Values[6].toLongLong(), qint64(123450));
    QCOMPARE(rows[0].Values[5].toDate(), QDate(2024, 12, 31));

    // Without headings the first line is an item and no column is mapped.
    const QString plain = fixture.WriteFile(QStringLiteral("plain.csv"), "Stol;Møbler\nBord;Møbler\n");
    const TImportSession bare = fixture.Session(plain);
    QCOMPARE(bare.Mapping().HasHeadings, false);
    QCOMPARE(bare.Mapping().ColumnFields, (QStringList{"", ""}));
}

void TImportTest::InvalidRowsAreRefusedAndTheOthersImported() {
    TImportFixture fixture;
    const QString tooLong = QString(61, QLatin1Char('x'));
    const QString file = fixture.WriteFile(QStringLiteral("bad.txt"),
                                           (QStringLiteral("Beskrivelse;Vaerdi;Kobsdato;Kategori\n"
                                                           "Stol;100,00;01-01-2020;Møbler\n"
                                                           "Bord;ca. 500;01-01-2020;Møbler\n"
                                                           "\"Skab\nmed to linjer\";10;32-01-2020;Møbler\n"
                                                           "%1;1;;Møbler\n"
                                                           "Lampe;1;;Lamper\n"
                                                           "Hylde;1;;møbler\n"
                                                           "\n"
                                                           "Reol;1;;Møbler;ekstra\n"
                                                           "Ur;2;;Antikviteter\n")
                                                .arg(tooLong))
                                               .toUtf8());
    TImportSession session = fixture.Session(file);
    const std::vector<TImportRow> rows = session.Rows();
    QStringList refused;
    for (const TImportRow& row : rows) {
        if (row.Status == irRefused) {
            refused << QStringLiteral("%1: %2").arg(row.Line).arg(row.Problems.join(QStringLiteral("; ")));
        }
    }
    QCOMPARE(refused, (QStringList{
                          "3: Vaerdi \"ca. 500\" kan ikke læses som et beløb",
                          "4: Kobsdato \"32-01-2020\" kan ikke læses som en dato",
                          "6: Beskrivelse har 61 tegn, men feltet rummer kun 60",
                          "7: \"Lamper\" er ikke en af de 21 kategorier",
                          "8: \"møbler\" er ikke en af de 21 kategorier",
                          "10: linjen har 5 værdier, men filen har kun 4 kolonner",
                      }));
    // On screen the fields go by their captions in the language shown.
    const TImportSession shown =
        fixture.Session(file, {{QStringLiteral("Vaerdi"), QStringLiteral("Wert")},
                               {QStringLiteral("Kobsdato"), QStringLiteral("Kaufdatum")}});
    const std::vector<TImportRow> named = shown.Rows();
    QCOMPARE(named[1].Problems, QStringList{"Wert \"ca. 500\" kan ikke læses som et beløb"});
    QCOMPARE(named[2].Problems, QStringList{"Kaufdatum \"32-01-2020\" kan ikke læses som en dato"});
    const TImportResult result = fixture.Write(session);
    QCOMPARE(result.Imported, 2);
    QCOMPARE(fixture.StoredItems(),
             (QStringList{"Stol|<null>|<null>|<null>|<null>|2020-01-01|10000|<null>|1|Møbler",
                          "Ur|<null>|<null>|<null>|<null>|<null>|200|<null>|2|Antikviteter"}));
}

void TImportTest::DuplicatesAreSkippedUnlessAsked() {
    TImportFixture fixture;
    Insert(fixture.Items(), {"Stol", "", "", "SN1", "", "", "", "1", "Møbler"});
    const QString file = fixture.WriteFile(QStringLiteral("dup.txt"),
                                           "Beskrivelse;Identifikation;Kategori\n"
                                           "Stol;SN1;Møbler\n"  // the stored item
                                           "Stol;SN2;Møbler\n"  // another identification
                                           "Stol;SN1;Möbel\n"); // another category value
    TImportSession session = fixture.Session(file);
    std::vector<TImportRow> rows = session.Rows();
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(int(rows[0].Status), int(irDuplicate));
    QCOMPARE(int(rows[1].Status), int(irValid));
    QCOMPARE(int(rows[2].Status), int(irValid));
    QCOMPARE(fixture.Write(session).Imported, 2);
    QCOMPARE(fixture.StoredItems().size(), 3);

    // Asked for, a duplicate goes in too; the rows just written are duplicates themselves now.
    TImportSession again = fixture.Session(file);
    for (const TImportRow& row : again.Rows()) {
        QCOMPARE(int(row.Status), int(irDuplicate));
    }
    QCOMPARE(fixture.Write(again).Imported, 0);
    again.SetImportDuplicates(true);
    QCOMPARE(fixture.Write(again).Imported, 3);
    QCOMPARE(fixture.StoredItems().size(), 6);
}

void TImportTest::FixedCategoryAndConventionsChosenByTheUser() {
    TImportFixture fixture;
    const QString file =
        fixture.WriteFile(QStringLiteral("fixed.txt"), "Titel;Value;Purchase date\nBog;1.5;05-04-2024\n");
    TImportSession session = fixture.Session(file);
    // No category column: every row needs a fixed category.
    QCOMPARE(session.Rows().at(0).Problems, QStringList{"kategorien mangler"});
    session.SetFixedCategory(QStringLiteral("Bøger"));
    TImportConventions conventions;
    conventions.Decimal = dcPoint;
    conventions.DateOrder = doMonthDayYear;
    session.SetConventions(conventions);
    const TImportRow row = session.Rows().at(0);
    QCOMPARE(row.Problems, QStringList());
    QCOMPARE(row.Values[9].toString(), QStringLiteral("Bøger"));
    QCOMPARE(row.Values[6].toLongLong(), qint64(150));
    QCOMPARE(row.Values[5].toDate(), QDate(2024, 5, 4));
}

void TImportTest::CancelWritesNothing() {
    TImportFixture fixture;
    Insert(fixture.Items(), {"Stol", "", "", "", "", "", "", "1", "Møbler"});
    fixture.Counter().Append();
    fixture.Counter().Fields(0)->SetAsInteger(1);
    fixture.Counter().Post();
    QByteArray bytes("Beskrivelse;Kategori\n");
    for (int i = 0; i < 2000; ++i) {
        bytes += "Ting " + QByteArray::number(i) + ";Møbler\n";
    }
    const TImportSession session = fixture.Session(fixture.WriteFile(QStringLiteral("many.txt"), bytes));
    const QStringList items = fixture.StoredItems();
    int calls = 0;
    QVERIFY_THROWS_EXCEPTION(EImportCancelled, fixture.Write(session, [&](int done, int) {
        ++calls;
        return done < 1000;
    }));
    QVERIFY(calls >= 2);
    QCOMPARE(fixture.StoredItems(), items);
    QCOMPARE(fixture.CounterNumbers(), QList<qint64>{1});
    // The tables read what the files hold and go on working.
    QCOMPARE(fixture.Items().RecordCount(), 1);
    QCOMPARE(fixture.Counter().RecordCount(), 1);
    QCOMPARE(fixture.Write(session).Imported, 2000);
    QCOMPARE(fixture.Items().RecordCount(), 2001);
    QCOMPARE(fixture.CounterNumbers().back(), qint64(2001));
}

void TImportTest::FailedWriteLeavesTheRegisterAsItWas() {
    TImportFixture fixture;
    const TImportSession session = fixture.Session(
        fixture.WriteFile(QStringLiteral("ok.txt"), "Beskrivelse;Kategori\nStol;Møbler\nBord;Møbler\n"));
    // The second item cannot be stored, after the first item and two picture numbers were.
    {
        TSqliteDatabase db;
        db.Open(fixture.Items().FilePath());
        db.Execute(
            QStringLiteral("CREATE TRIGGER Refuse BEFORE INSERT ON Habitra WHEN NEW.Beskrivelse = 'Bord' "
                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    }
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Write(session));
    QCOMPARE(fixture.StoredItems(), QStringList());
    QCOMPARE(fixture.CounterNumbers(), QList<qint64>());
    QCOMPARE(fixture.Items().RecordCount(), 0);
    QCOMPARE(fixture.Counter().RecordCount(), 0);
}

HABITRA_TEST(TImportTest)
#include "ImportTest.moc"
