#include "ExportFixture.h"
#include "TestRegistry.h"
#include "export/DataExportASCII.h"
#include "export/ExportError.h"
#include "store/DataSource.h"
#include "store/NumberFormat.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QBuffer>
#include <QTest>

namespace {
const QStringList ExportedNames = {"Beskrivelse", "Fabrikat", "Model", "Identifikation", "Kobssted",
                                   "Kobsdato",    "Vaerdi",   "Foto",  "Kategori"};

QByteArray ExportToBytes(TDataExportASCII& exporter) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    exporter.ExportTo(buffer);
    return buffer.data();
}

// A data line with "" everywhere except one column.
QString LineWith(const QString& field, const QString& cell) {
    QStringList cells;
    for (const QString& name : ExportedNames) {
        cells << (name == field ? cell : QStringLiteral("\"\""));
    }
    return cells.join(QLatin1Char(';'));
}

// Takes fewer bytes than it is given once its room is used up.
class TFailingDevice : public QIODevice {
public:
    explicit TFailingDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray Written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        const qint64 taken = std::min(size, m_room - qint64(Written.size()));
        Written.append(data, taken);
        return taken;
    }

private:
    qint64 m_room;
};
} // namespace

class DataExportTest : public QObject {
    Q_OBJECT
private slots:
    void WholeFile() {
        TItemTable items;
        items.Add({QStringLiteral("  Stol \"Arne\"  "), QStringLiteral("Fritz; Hansen"), QString(),
                   QStringLiteral(" \tX1\r\n"), QString::fromUtf8("Bøger & æøå"), QDate(2024, 3, 5),
                   123456750, QStringLiteral("note\nmed \"citat\""), 1234, QString::fromUtf8("Møbler")});
        items.Add({QStringLiteral("Tom"),
                   {},
                   {},
                   {},
                   {},
                   QDate(),
                   std::nullopt,
                   {},
                   std::nullopt,
                   QString::fromUtf8("Møbler")});
        auto exporter = MakeExporter(items.Table());
        const QByteArray expected =
            "\"Beskrivelse\";\"Fabrikat\";\"Model\";\"Identifikation\";\"Kobssted\";\"Kobsdato\";\"Vaerdi\";"
            "\"Foto\";\"Kategori\"\r\n"
            "\"Stol \"\"Arne\"\"\";\"Fritz; Hansen\";\"\";\"X1\";\"B\xf8ger & \xe6\xf8\xe5\";\"05-03-2024\";"
            "\"1.234.567,50\";\"1.234\";\"M\xf8"
            "bler\"\r\n"
            "\"Tom\";\"\";\"\";\"\";\"\";\"\";\"\";\"\";\"M\xf8"
            "bler\"\r\n";
        QCOMPARE(ExportToBytes(*exporter), expected);
    }

    void Cells_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("cell");
        QTest::newRow("quote doubled") << "Beskrivelse" << QVariant(QString::fromUtf8("12\" skærm"))
                                       << QString::fromUtf8("\"12\"\" skærm\"");
        QTest::newRow("only quotes") << "Model" << QVariant(QStringLiteral("\"\"")) << "\"\"\"\"\"\"";
        QTest::newRow("semicolon kept") << "Fabrikat" << QVariant(QStringLiteral("a;b")) << "\"a;b\"";
        QTest::newRow("blanks trimmed") << "Kobssted" << QVariant(QStringLiteral("  a  b  ")) << "\"a  b\"";
        QTest::newRow("control codes trimmed")
            << "Kategori" << QVariant(QStringLiteral("\t\x01x y\x1f\n")) << "\"x y\"";
        QTest::newRow("grouped value") << "Vaerdi" << QVariant(qint64(123456750)) << "\"1.234.567,50\"";
        QTest::newRow("small value") << "Vaerdi" << QVariant(qint64(5)) << "\"0,05\"";
        QTest::newRow("zero value") << "Vaerdi" << QVariant(qint64(0)) << "\"0,00\"";
        QTest::newRow("negative value") << "Vaerdi" << QVariant(qint64(-123456)) << "\"-1.234,56\"";
        QTest::newRow("whole value") << "Vaerdi" << QVariant(qint64(100000)) << "\"1.000,00\"";
        QTest::newRow("picture number") << "Foto" << QVariant(qint64(1234)) << "\"1.234\"";
        QTest::newRow("picture zero") << "Foto" << QVariant(qint64(0)) << "\"0\"";
        QTest::newRow("picture beyond 32 bits") << "Foto" << QVariant(qint64(3000000000)) << "\"0\"";
        QTest::newRow("date") << "Kobsdato" << QVariant(QDate(1999, 12, 31)) << "\"31-12-1999\"";
        QTest::newRow("no date") << "Kobsdato" << QVariant() << "\"\"";
    }
    void Cells() {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QString, cell);
        TItemTable items;
        TTable& table = items.Table();
        table.Append();
        table.FieldByName(field)->SetValue(value);
        table.Post();
        auto exporter = MakeExporter(table);
        const QStringList lines = Lines(ExportToBytes(*exporter));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(1), LineWith(field, cell));
    }

    void RegionalSettingsDecideNumbersAndDates() {
        TItemTable items;
        TTable& table = items.Table();
        table.Close();
        table.SetFormatSettings(TFormatSettings::English());
        table.Open();
        items.Add({QStringLiteral("x"), {}, {}, {}, {}, QDate(2024, 3, 5), 123456750, {}, 98765, {}});
        TDataExportASCII exporter(TFormatSettings::English());
        exporter.SetDataSet(&table);
        const QStringList lines = Lines(ExportToBytes(exporter));
        QCOMPARE(lines.value(1), QStringLiteral("\"x\";\"\";\"\";\"\";\"\";\"05/03/2024\";\"1,234,567.50\";"
                                                "\"98,765\";\"\""));
    }

    // A date cell is its field's text formatted in the column's pattern; where that text is already in
    // the pattern and reads back as written, the export passes it on. Either way the cells must be what
    // formatting the text gives, whatever the regional patterns of the table and of the export are.
    void DateCellsAreTheFieldTextFormatted_data() {
        QTest::addColumn<QString>("tablePattern");
        QTest::addColumn<QString>("exportPattern");
        QTest::addColumn<QString>("columnPattern"); // empty: the export's own
        for (const char* pattern :
             {"dd-MM-yyyy", "d/M/yyyy", "yyyy-MM-dd", "dd/MM/yy", "d. MMMM yyyy", "MM-yyyy"}) {
            QTest::newRow(pattern) << QString::fromLatin1(pattern) << QString::fromLatin1(pattern)
                                   << QString();
        }
        QTest::newRow("table and export differ") << "MM/dd/yyyy"
                                                 << "dd-MM-yyyy" << QString();
        QTest::newRow("column in the table's pattern, export in another") << "MM/dd/yyyy"
                                                                          << "dd-MM-yyyy"
                                                                          << "MM/dd/yyyy";
    }
    void DateCellsAreTheFieldTextFormatted() {
        QFETCH(QString, tablePattern);
        QFETCH(QString, exportPattern);
        QFETCH(QString, columnPattern);
        TFormatSettings tableSettings = TFormatSettings::Danish();
        tableSettings.ShortDateFormat = tablePattern;
        TFormatSettings exportSettings = TFormatSettings::Danish();
        exportSettings.ShortDateFormat = exportPattern;
        TItemTable items;
        TTable& table = items.Table();
        table.Close();
        table.SetFormatSettings(tableSettings);
        table.Open();
        const QList<QDate> dates = {QDate(2024, 3, 5), QDate(2024, 2, 29), QDate(1999, 12, 31),
                                    QDate(999, 1, 2), QDate(2000, 2, 29)};
        for (const QDate& date : dates) {
            items.Add({QStringLiteral("x"), {}, {}, {}, {}, date, std::nullopt, {}, std::nullopt, {}});
        }
        TDataExportASCII exporter(exportSettings);
        exporter.SetDataSet(&table);
        if (!columnPattern.isEmpty()) {
            exporter.UserFormats().insert(QStringLiteral("Kobsdato"), columnPattern);
        }
        const QStringList lines = Lines(ExportToBytes(exporter));
        QCOMPARE(lines.size(), dates.size() + 1);
        const int dateColumn = int(ExportedNames.indexOf(QStringLiteral("Kobsdato")));
        for (int i = 0; i < dates.size(); ++i) {
            const QString text = FormatDate(dates.at(i), tablePattern);
            const QString cell = TDataExportFormatText::FormatText(
                ectDate, columnPattern.isEmpty() ? exportPattern : columnPattern, text, exportSettings);
            QCOMPARE(lines.at(i + 1).split(QLatin1Char(';')).at(dateColumn), "\"" + cell + "\"");
        }
    }

    // The walk covers exactly the filtered set in its index order, and leaves the table on its last record
    // with the controls attached again.
    void WalksCurrentSelection() {
        TItemTable items;
        TTable& table = items.Table();
        for (const char* name : {"Cykel", "Bord", "Ur", "Anker", "Stol"}) {
            const QString category = QLatin1String(name) == QLatin1String("Ur") ? QStringLiteral("Andet")
                                                                                : QStringLiteral("Møbler");
            items.Add({QLatin1String(name), {}, {}, {}, {}, {}, std::nullopt, {}, std::nullopt, category});
        }
        table.SetIndexName(Schema::IndexBeskrivelse);
        table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
        table.SetFiltered(true);
        table.Next();
        TDataSource source;
        source.SetDataSet(&table);
        int changes = 0;
        source.OnDataChange = [&](TDataSource&, TField*) { ++changes; };
        auto exporter = MakeExporter(table);
        const QStringList lines = Lines(ExportToBytes(*exporter));
        QStringList names;
        for (const QString& line : lines.mid(1)) {
            names << line.section(QLatin1Char(';'), 0, 0);
        }
        QCOMPARE(names, QStringList({"\"Anker\"", "\"Bord\"", "\"Cykel\"", "\"Stol\""}));
        QCOMPARE(table.RecNo(), table.RecordCount());
        QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Stol"));
        QVERIFY(!table.ControlsDisabled());
        // One refresh when the controls are attached again, none per record.
        QCOMPARE(changes, 1);
        QVERIFY(table.Filtered());
        QCOMPARE(table.IndexName(), Schema::IndexBeskrivelse);
    }

    // Dates recur across items; each line still gets its own, in every run.
    // The whole set is read straight from the file, a filtered one by walking the cursor: both write
    // the same bytes, in the order of the index in force, for texts the fast reading does not cover
    // too (long UTF-8 sequences, bytes that are no UTF-8, a number where text belongs).
    void ReadingTheFileWritesWhatTheWalkWrites_data() {
        QTest::addColumn<QString>("index");
        QTest::newRow("record order") << QString();
        QTest::newRow("description index") << Schema::IndexBeskrivelse;
        QTest::newRow("category index") << Schema::IndexKategori;
    }
    void ReadingTheFileWritesWhatTheWalkWrites() {
        QFETCH(QString, index);
        TItemTable items;
        const QString category = QString::fromUtf8("Møbler");
        items.AddMany(40, [&](int i) {
            return TItem{QString::fromUtf8(i % 3 == 0 ? "  Ærø \"%1\"\t" : "Kaffe € — %1").arg(39 - i),
                         i % 2 ? QString() : QStringLiteral("Fabrikat %1").arg(i % 5),
                         QStringLiteral("M"),
                         i % 4 ? QStringLiteral("\r\nX%1 ").arg(i) : QString(),
                         QString::fromUtf8("Bøger"),
                         i % 3 ? QDate(2000, 1, 1).addDays(i * 97) : QDate(),
                         i % 5 ? std::optional<qint64>(i * 12345) : std::nullopt,
                         {},
                         i % 7 ? std::optional<qint64>(i) : std::nullopt,
                         category};
        });
        {
            TSqliteDatabase db;
            db.Open(items.Table().FilePath());
            db.Execute(QStringLiteral("UPDATE Habitra SET Model = 42 WHERE rowid = 2"));
            TSqliteStatement bad(db, QStringLiteral("UPDATE Habitra SET Fabrikat = ? WHERE rowid = 3"));
            bad.BindUtf8(1, QByteArrayView("\xe6\xc3\x28 \xf0\x9f\x98\x80"));
            bad.Execute();
        }
        TTable& table = items.Table();
        table.Refresh();
        table.SetIndexName(index);
        auto exporter = MakeExporter(table);
        const QByteArray whole = ExportToBytes(*exporter);
        table.SetFilter(QStringLiteral("Kategori = '%1'").arg(category));
        table.SetFiltered(true);
        const QByteArray walked = ExportToBytes(*exporter);
        QCOMPARE(Lines(whole).size(), 41);
        QCOMPARE(whole, walked);
    }

    // Records another connection wrote after the table read its set are not the set's: they are left
    // out, as the walk leaves them out.
    void RecordsWrittenSinceTheSetWasReadAreLeftOut() {
        TItemTable items;
        items.Add({QStringLiteral("Stol"), {}, {}, {}, {}, {}, std::nullopt, {}, 1, QStringLiteral("A")});
        items.Add({QStringLiteral("Bord"), {}, {}, {}, {}, {}, std::nullopt, {}, 2, QStringLiteral("A")});
        {
            TSqliteDatabase db;
            db.Open(items.Table().FilePath());
            db.Execute(QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori) VALUES ('Ny', 'A')"));
        }
        auto exporter = MakeExporter(items.Table());
        const QStringList lines = Lines(ExportToBytes(*exporter));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(1).startsWith(QStringLiteral("\"Stol\"")));
        QVERIFY(lines.at(2).startsWith(QStringLiteral("\"Bord\"")));
    }

    void RecurringDates() {
        TItemTable items;
        for (const QDate date : {QDate(2024, 3, 5), QDate(2023, 1, 2), QDate(2024, 3, 5), QDate()}) {
            items.Add({QStringLiteral("x"), {}, {}, {}, {}, date, std::nullopt, {}, std::nullopt, {}});
        }
        auto exporter = MakeExporter(items.Table());
        const QByteArray first = ExportToBytes(*exporter);
        QStringList dates;
        for (const QString& line : Lines(first).mid(1)) {
            dates << line.section(QLatin1Char(';'), 5, 5);
        }
        QCOMPARE(dates, QStringList({"\"05-03-2024\"", "\"02-01-2023\"", "\"05-03-2024\"", "\"\""}));
        QCOMPARE(ExportToBytes(*exporter), first);
    }

    void EmptySetWritesCaptionsOnly() {
        TItemTable items;
        items.Add(
            {QStringLiteral("x"), {}, {}, {}, {}, {}, std::nullopt, {}, std::nullopt, QStringLiteral("A")});
        items.Table().SetFilter(QStringLiteral("Kategori = 'B'"));
        items.Table().SetFiltered(true);
        auto exporter = MakeExporter(items.Table());
        const QStringList lines = Lines(ExportToBytes(*exporter));
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.at(0).startsWith(QStringLiteral("\"Beskrivelse\";")));
    }

    void PendingEditIsPosted() {
        TItemTable items;
        TTable& table = items.Table();
        items.Add({QStringLiteral("Gammel"), {}, {}, {}, {}, {}, std::nullopt, {}, std::nullopt, {}});
        table.Edit();
        table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Ny"));
        auto exporter = MakeExporter(table);
        const QStringList lines = Lines(ExportToBytes(*exporter));
        QCOMPARE(lines.value(1).section(QLatin1Char(';'), 0, 0), QStringLiteral("\"Ny\""));
        QCOMPARE(table.State(), dsBrowse);
        table.Refresh();
        QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Ny"));
    }

    void ClosedSourceFails() {
        TItemTable items;
        auto exporter = MakeExporter(items.Table());
        items.Table().Close();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        try {
            exporter->ExportTo(buffer);
            QFAIL("no error");
        } catch (const EExportError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Export source (DataSet) is closed"));
        }
        QVERIFY(!items.Table().ControlsDisabled());
        QVERIFY(buffer.data().isEmpty());
    }

    // A failing write ends the loop with "Stream write error"; the controls are attached again and what
    // the device took stays.
    void ShortWrite_data() {
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("items");
        QTest::newRow("nothing taken") << 0 << 1;
        QTest::newRow("part of the only block") << 50 << 1;
        QTest::newRow("after whole blocks") << 70000 << 2000;
    }
    void ShortWrite() {
        QFETCH(int, room);
        QFETCH(int, items);
        TItemTable table;
        table.AddMany(items, [](int i) {
            return TItem{QStringLiteral("Genstand %1 med en lang beskrivelse").arg(i),
                         QStringLiteral("Fabrikat"),
                         {},
                         {},
                         {},
                         QDate(2020, 1, 1),
                         i * 100,
                         {},
                         i,
                         QStringLiteral("Bøger")};
        });
        auto exporter = MakeExporter(table.Table());
        TFailingDevice device(room);
        try {
            exporter->ExportTo(device);
            QFAIL("no error");
        } catch (const EExportError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Stream write error"));
        }
        QCOMPARE(device.Written.size(), room);
        QVERIFY(device.Written.startsWith(QByteArray("\"Beskrivelse\"").left(room)));
        QVERIFY(!table.Table().ControlsDisabled());
    }

    // Header and footer lines, captions off, field choice and overrides, record window.
    void Settings_data() {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("header and footer") << 0
                                           << QStringList({"Top", "\"Beskrivelse\";\"Foto\"", "\"A\";\"1\"",
                                                           "\"B\";\"2\"", "\"C\";\"3\"", "Bund;"});
        QTest::newRow("no captions") << 1 << QStringList({"\"A\";\"1\"", "\"B\";\"2\"", "\"C\";\"3\""});
        QTest::newRow("caption and format overrides")
            << 2 << QStringList({"\"Navn\";\"Foto\"", "\"A\";\"001\"", "\"B\";\"002\"", "\"C\";\"003\""});
        QTest::newRow("skip and limit") << 3 << QStringList({"\"Beskrivelse\";\"Foto\"", "\"B\";\"2\""});
        QTest::newRow("current record only") << 4 << QStringList({"\"Beskrivelse\";\"Foto\"", "\"B\";\"2\""});
        QTest::newRow("no quoting") << 5 << QStringList({"Beskrivelse;Foto", "A;1", "B;2", "C;3"});
    }
    void Settings() {
        QFETCH(int, setting);
        QFETCH(QStringList, expected);
        TItemTable items;
        for (int i = 0; i < 3; ++i) {
            items.Add({QString(QLatin1Char('A' + i)), {}, {}, {}, {}, {}, std::nullopt, {}, i + 1, {}});
        }
        auto exporter = MakeExporter(items.Table());
        exporter->SetExportedFields({"Foto", "Beskrivelse"});
        switch (setting) {
        case 0:
            exporter->SetHeader({"Top"});
            exporter->SetFooter({"Bund"});
            break;
        case 1:
            exporter->SetAllowCaptions(false);
            break;
        case 2:
            exporter->Captions().insert(QStringLiteral("Beskrivelse"), QStringLiteral("Navn"));
            exporter->UserFormats().insert(QStringLiteral("Foto"), QStringLiteral("000"));
            break;
        case 3:
            exporter->SetSkipRecCount(1);
            exporter->SetExportRecCount(1);
            break;
        case 4:
            items.Table().First();
            items.Table().Next();
            exporter->SetGoToFirstRecord(false);
            exporter->SetCurrentRecordOnly(true);
            break;
        case 5:
            exporter->SetCSVQuoteStrings(false);
            break;
        }
        QCOMPARE(Lines(ExportToBytes(*exporter)), expected);
    }

    void FormatText_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cell");
        const QString integer = QStringLiteral("#,###,##0");
        const QString number = QStringLiteral("#,###,##0.00");
        QTest::newRow("integer") << int(ectInteger) << integer << "1234567"
                                 << "1.234.567";
        QTest::newRow("integer negative") << int(ectInteger) << integer << "-1234"
                                          << "-1.234";
        QTest::newRow("integer not a number") << int(ectInteger) << integer << "12a"
                                              << "0";
        QTest::newRow("integer nine digits") << int(ectInteger) << integer << "999999999"
                                             << "999.999.999";
        QTest::newRow("integer past int range") << int(ectInteger) << integer << "2147483648"
                                                << "0";
        QTest::newRow("integer minus zero") << int(ectInteger) << integer << "-0"
                                            << "0";
        QTest::newRow("integer leading zeros") << int(ectInteger) << integer << "007"
                                               << "7";
        QTest::newRow("integer plus sign") << int(ectInteger) << integer << "+12"
                                           << "12";
        QTest::newRow("bigint eighteen digits") << int(ectBigint) << integer << "-999999999999999999"
                                                << "-999.999.999.999.999.999";
        QTest::newRow("bigint") << int(ectBigint) << integer << "5000000000"
                                << "5.000.000.000";
        QTest::newRow("float rounded") << int(ectFloat) << number << "1234,565"
                                       << "1.234,57";
        QTest::newRow("float many digits") << int(ectFloat) << number << "0,123456789012345"
                                           << "0,12";
        QTest::newRow("float exponent") << int(ectFloat) << number << "1,5E3"
                                        << "1.500,00";
        QTest::newRow("float unreadable") << int(ectFloat) << number << "1.234,5"
                                          << "";
        QTest::newRow("float empty") << int(ectFloat) << number << ""
                                     << "";
        QTest::newRow("currency") << int(ectCurrency) << "kr. #,###,##0.00"
                                  << "1234,5"
                                  << "kr. 1.234,50";
        QTest::newRow("date pattern") << int(ectDate) << "yyyy-MM-dd"
                                      << "05-03-2024"
                                      << "2024-03-05";
        QTest::newRow("date unreadable") << int(ectDate) << "dd-MM-yyyy"
                                         << "31-02-2024"
                                         << "";
        QTest::newRow("time") << int(ectTime) << "HH:mm"
                              << "13:45:10"
                              << "13:45";
        QTest::newRow("date-time") << int(ectDateTime) << "dd-MM-yyyy HH:mm"
                                   << "05-03-2024 13:45:10"
                                   << "05-03-2024 13:45";
        QTest::newRow("string unchanged") << int(ectString) << ""
                                          << "1234"
                                          << "1234";
    }
    void FormatText() {
        QFETCH(int, type);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QString, cell);
        QCOMPARE(
            TDataExportFormatText::FormatText(TExportColType(type), pattern, text, TFormatSettings::Danish()),
            cell);
    }

    // Dates in the regional short form are read by a short cut for plain patterns; every text must come
    // out as QDate reading and writing it would.
    void DateCellsReadAsQDateReads_data() {
        QTest::addColumn<QString>("shortDate");
        for (const char* pattern : {"dd-MM-yyyy", "yyyy-MM-dd", "dd.MM.yyyy", "d/M/yyyy", "dd/MM/yy",
                                    "ddMMyyyy", "dd MM yyyy", "MM-dd-yyyy", "dd-dd-yyyy", "MM-yyyy"}) {
            QTest::newRow(pattern) << QString::fromLatin1(pattern);
        }
    }
    void DateCellsReadAsQDateReads() {
        QFETCH(QString, shortDate);
        TFormatSettings settings = TFormatSettings::Danish();
        settings.ShortDateFormat = shortDate;
        QStringList texts;
        for (const QDate& date :
             {QDate(2024, 3, 5), QDate(1999, 12, 31), QDate(999, 1, 2), QDate(2024, 2, 29)}) {
            texts << date.toString(shortDate);
        }
        texts << "05-03-2024"
              << "5-3-2024"
              << "31-02-2024"
              << "05-03-2024x"
              << "05-03-0000"
              << "2024-03-05"
              << "05-13-2024"
              << "05-03-2024 13:45:10"
              << ""
              << "0a-03-2024";
        for (const QString& text : std::as_const(texts)) {
            for (const char* output : {"yyyy-MM-dd", "d. MMMM yyyy", "dd/MM/yy"}) {
                const QString pattern = QString::fromLatin1(output);
                QString expected;
                const QDate date = QDate::fromString(text, shortDate);
                if (date.isValid()) {
                    expected = date.toString(pattern);
                } else {
                    const QDateTime dateTime =
                        QDateTime::fromString(text, shortDate + QLatin1Char(' ') + settings.LongTimeFormat);
                    expected = dateTime.isValid() ? dateTime.date().toString(pattern) : QString();
                }
                QCOMPARE(TDataExportFormatText::FormatText(ectDate, pattern, text, settings), expected);
            }
        }
    }

    void CurrencyFormatFollowsRegionalCode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("format");
        QTest::newRow("symbol first") << 0 << "kr.#,###,##0.00";
        QTest::newRow("symbol last") << 1 << "#,###,##0.00kr.";
        QTest::newRow("symbol blank first") << 2 << "kr. #,###,##0.00";
        QTest::newRow("symbol blank last") << 3 << "#,###,##0.00 kr.";
    }
    void CurrencyFormatFollowsRegionalCode() {
        QFETCH(int, code);
        QFETCH(QString, format);
        TFormatSettings settings = TFormatSettings::Danish();
        settings.CurrencyFormat = code;
        settings.ShortDateFormat = QStringLiteral("d/M/yyyy");
        settings.ShortTimeFormat = QStringLiteral("h.mm");
        const TExportFormats formats(settings);
        QCOMPARE(formats.CurrencyFormat, format);
        QCOMPARE(formats.DateFormat, QStringLiteral("d/M/yyyy"));
        QCOMPARE(formats.DateTimeFormat, QStringLiteral("d/M/yyyy h.mm"));
    }
};

HABITRA_TEST(DataExportTest)
#include "DataExportTest.moc"
