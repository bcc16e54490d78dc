#include "ProgramFolder.h"
#include "TestPlatform.h"
#include "TestRegistry.h"
#include "overview/Unit3.h"
#include "report/ReportFonts.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct TListItem {
    const char* Beskrivelse;
    const char* Fabrikat;
    const char* Model;
    const char* Identifikation;
    const char* Kategori;
};

// Several categories in primary order; the last item is not a book, so a report that read the current
// item's category after its walk would caption book lists wrongly.
const TListItem Items[] = {
    {"Spisebord", "Børge Mogensen", "Shaker", "", "Møbler"},
    {"Kongens Fald", "Johannes V. Jensen", "Gyldendal", "87-00-12345-6", "Bøger"},
    {"Kind of Blue", "Miles Davis", "Columbia", "CK 64935", "Musikmedier"},
    {"Guitar", "Hagström", "Viking", "H-1234", "Musikinstrumenter"},
    {"Bærbar", "Lenovo", "T480", "PF-1A2B3C", "PC-Udstyr"},
    {"Kontorpakke", "Microsoft", "2019", "ABCDE-12345", "PC-Software"},
    {"Matador", "DR", "180 min", "", "Videobånd"},
    {"Den lille prins", "Antoine de Saint-Exupéry", "Lindhardt og Ringhof", "87-11-22222-1", "Bøger"},
    {"Gammel bog", "Ukendt", "", "", "BØGER"},
    {"Old book", "Unknown", "", "", "Books"},
};

// A program folder whose item table is open with Danish settings.
class TListFixture {
public:
    TListFixture() {
        ReportFonts::Install();
        Table.SetDatabaseName(Folder.DataPath());
        Table.SetTableName(Schema::ItemFile);
        Table.SetFieldDefs(Schema::ItemFields());
        Table.SetFormatSettings(TFormatSettings::Danish());
        Table.Open();
    }

    void Add(const TListItem& item, qint64 valueCents = 0) {
        Table.Append();
        Table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QString::fromUtf8(item.Beskrivelse));
        Table.FieldByName(QStringLiteral("Fabrikat"))->SetAsString(QString::fromUtf8(item.Fabrikat));
        Table.FieldByName(QStringLiteral("Model"))->SetAsString(QString::fromUtf8(item.Model));
        Table.FieldByName(QStringLiteral("Identifikation"))
            ->SetAsString(QString::fromUtf8(item.Identifikation));
        Table.FieldByName(QStringLiteral("Kobssted"))->SetAsString(QStringLiteral("Magasin, Århus"));
        Table.FieldByName(QStringLiteral("Kobsdato"))->SetAsDate(QDate(2004, 3, 1));
        Table.FieldByName(QStringLiteral("Vaerdi"))->SetAsMoney(TMoney::FromCents(valueCents));
        Table.FieldByName(QStringLiteral("Kategori"))->SetAsString(QString::fromUtf8(item.Kategori));
        Table.Post();
    }

    void AddAll() {
        for (const TListItem& item : Items) {
            Add(item, 10000);
        }
    }

    bool GoTo(const QString& beskrivelse) {
        for (Table.First(); !Table.Eof(); Table.Next()) {
            if (Table.FieldByName(QStringLiteral("Beskrivelse"))->AsString() == beskrivelse) {
                return true;
            }
        }
        return false;
    }

    TProgramFolder Folder;
    TTable Table;
};

QString TextOf(const TReportPage& page, const QString& name) {
    const TReportItem* item = page.Item(name);
    return item ? item->Text : QStringLiteral("<no %1>").arg(name);
}

QStringList Captions(const TReportPage& page) {
    QStringList captions;
    for (int i = 1; i <= 7; ++i) {
        captions << TextOf(page, QStringLiteral("QRLabel%1").arg(i));
    }
    return captions;
}

int Rows(const std::vector<TReportPage>& pages) {
    int rows = 0;
    for (const TReportPage& page : pages) {
        rows += int(page.ItemsNamed(QStringLiteral("QRDBText1")).size());
    }
    return rows;
}

const QStringList Design{"Beskrivelse", "Fabrikat", "Model", "Identifikation"};
const QStringList Fixed{"Købssted", "Købsdato", "Værdi"};
} // namespace

// The printed inventory list: its title and captions, page layout, running sums and the PDF a user prints.
class TListReportTest : public QObject {
    Q_OBJECT

private slots:
    void TitleAndCaptionsFollowListAndCurrentItem_data() {
        QTest::addColumn<QString>("listText");
        QTest::addColumn<QString>("filter"); // the category filtered to; empty: filtering off
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("rows");

        const QStringList books{"Titel", "Forfatter", "Forlag", "ISBN nr."};
        const int all = int(std::size(Items));
        QTest::newRow("nothing chosen, book current") << "Vælg kategori"
                                                      << ""
                                                      << "Kongens Fald"
                                                      << "Alle kategorier" << Design << all;
        QTest::newRow("nothing chosen, software current") << "Vælg kategori"
                                                          << ""
                                                          << "Kontorpakke"
                                                          << "Alle kategorier" << Design << all;
        QTest::newRow("books chosen, book current") << "Bøger"
                                                    << "Bøger"
                                                    << "Kongens Fald"
                                                    << "Bøger" << books << 2;
        QTest::newRow("all chosen, book current") << "Alle kategorier"
                                                  << ""
                                                  << "Kongens Fald"
                                                  << "Alle kategorier" << books << all;
        // The overview switched filtering off on reactivation and the search moved to another category.
        QTest::newRow("books chosen, software current")
            << "Bøger"
            << ""
            << "Kontorpakke"
            << "Bøger" << QStringList{"Beskrivelse", "Fabrikat", "Version", "Licensnummer"} << all;
        QTest::newRow("music media") << "Musikmedier"
                                     << "Musikmedier"
                                     << "Kind of Blue"
                                     << "Musikmedier"
                                     << QStringList{"Titel", "Kunstner", "Musikforlag", "Identifikation"}
                                     << 1;
        QTest::newRow("instruments") << "Musikinstrumenter"
                                     << "Musikinstrumenter"
                                     << "Guitar"
                                     << "Musikinstrumenter"
                                     << QStringList{"Instrument", "Fabrikat", "Model", "Identifikation"} << 1;
        QTest::newRow("pc equipment")
            << "PC-Udstyr"
            << "PC-Udstyr"
            << "Bærbar"
            << "PC-Udstyr" << QStringList{"Beskrivelse", "Fabrikat", "Model", "Serienummer"} << 1;
        QTest::newRow("video tapes") << "Videobånd"
                                     << "Videobånd"
                                     << "Matador"
                                     << "Videobånd"
                                     << QStringList{"Titel", "Fabrikat", "Spilletid", "Identifikation"} << 1;
        QTest::newRow("furniture") << "Møbler"
                                   << "Møbler"
                                   << "Spisebord"
                                   << "Møbler" << Design << 1;
        QTest::newRow("english category value") << "Alle kategorier"
                                                << ""
                                                << "Old book"
                                                << "Alle kategorier" << Design << all;
        QTest::newRow("category value in capitals") << "Alle kategorier"
                                                    << ""
                                                    << "Gammel bog"
                                                    << "Alle kategorier" << Design << all;
        QTest::newRow("prompt of another language")
            << "Choose category"
            << ""
            << "Guitar"
            << "Choose category" << QStringList{"Instrument", "Fabrikat", "Model", "Identifikation"} << all;
        QTest::newRow("prompt of another language, nothing special current")
            << "Velg kategori"
            << ""
            << "Spisebord"
            << "Velg kategori" << Design << all;
    }
    void TitleAndCaptionsFollowListAndCurrentItem() {
        QFETCH(QString, listText);
        QFETCH(QString, filter);
        QFETCH(QString, current);
        QFETCH(QString, title);
        QFETCH(QStringList, captions);
        QFETCH(int, rows);
        TListFixture fixture;
        fixture.AddAll();
        if (!filter.isEmpty()) {
            fixture.Table.SetFilter(QStringLiteral("Kategori = '%1'").arg(filter));
            fixture.Table.SetFiltered(true);
        }
        QVERIFY(fixture.GoTo(current));

        const auto report = CreateInventoryList(fixture.Table, listText, TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(pages.size(), size_t(1));
        QCOMPARE(TextOf(pages[0], QStringLiteral("QRSysData1")), title);
        QCOMPARE(report->Title(), title); // also the printer's document name
        QCOMPARE(Captions(pages[0]), captions + Fixed);
        QCOMPARE(Rows(pages), rows);
    }

    void NoPageWhenNoItemPasses() {
        TListFixture fixture;
        fixture.AddAll();
        fixture.Table.SetFilter(QStringLiteral("Kategori = 'Sportsudstyr'"));
        fixture.Table.SetFiltered(true);
        const auto report =
            CreateInventoryList(fixture.Table, QStringLiteral("Sportsudstyr"), TFormatSettings::Danish());
        QVERIFY(report->Layout().empty());
    }

    // Values adding up to 100, 50 and 25 kroner on three pages: each footer shows the sum so far.
    void FootersCarryRunningSums() {
        // Page 1 holds floor((297 - 20 - 10.6 - 6.1 - 6.35) / 6.35) = 39 rows, later pages
        // floor((297 - 20 - 6.1 - 6.35) / 6.35) = 41.
        const int perPage[] = {39, 41, 7};
        const qint64 pageCents[] = {10000, 5000, 2500};
        TListFixture fixture;
        int number = 0;
        for (int p = 0; p < 3; ++p) {
            const qint64 each = pageCents[p] / perPage[p];
            for (int r = 0; r < perPage[p]; ++r) {
                const qint64 cents = r == 0 ? pageCents[p] - each * (perPage[p] - 1) : each;
                const QByteArray name = QStringLiteral("Genstand %1").arg(++number).toUtf8();
                fixture.Add({name.constData(), "Fabrikat", "Model", "Id", "Diverse"}, cents);
            }
        }
        fixture.Table.First();
        const auto report =
            CreateInventoryList(fixture.Table, QStringLiteral("Alle kategorier"), TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(pages.size(), size_t(3));
        const QStringList sums{"Kr 100,00", "Kr 150,00", "Kr 175,00"};
        for (size_t p = 0; p < 3; ++p) {
            const TReportPage& page = pages[p];
            QCOMPARE(int(page.ItemsNamed(QStringLiteral("QRDBText1")).size()), perPage[p]);
            QCOMPARE(TextOf(page, QStringLiteral("QRSysData2")), QStringLiteral("Side %1").arg(p + 1));
            QCOMPARE(TextOf(page, QStringLiteral("QRExpr1")), sums[int(p)]);
            QCOMPARE(page.Items.back().Name(), QStringLiteral("QRExpr1")); // the footer closes the page
            QCOMPARE(page.Item(QStringLiteral("QRSysData1")) != nullptr, p == 0);
            QCOMPARE(Captions(page), Design + Fixed);
        }
        QCOMPARE(pages[2].ItemsNamed(QStringLiteral("QRDBText1")).back()->Text,
                 QStringLiteral("Genstand 87"));
    }

    // Where each column's caption and data field sit, mm from the page's corner (margins 5 left, 10 top).
    void ColumnsSitAtTheirPlaces_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("captionLeft");
        QTest::addColumn<double>("fieldLeft");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("alignment");
        QTest::newRow("Beskrivelse") << 1 << "Beskrivelse"
                                     << "Spisebord" << 2.1 << 2.1 << 40.5 << int(Qt::AlignLeft);
        // Word wrap in a box of one line: the words that fit, never a cut letter.
        QTest::newRow("Fabrikat") << 2 << "Fabrikat"
                                  << "Børge" << 44.5 << 44.5 << 25.7 << int(Qt::AlignLeft);
        QTest::newRow("Model") << 3 << "Model"
                               << "Shaker" << 72.0 << 72.0 << 25.7 << int(Qt::AlignLeft);
        QTest::newRow("Identifikation") << 4 << "Identifikation"
                                        << "" << 99.0 << 99.0 << 28.8 << int(Qt::AlignLeft);
        QTest::newRow("Kobssted") << 5 << "Købssted"
                                  << "Magasin, Århus" << 129.1 << 129.1 << 25.9 << int(Qt::AlignLeft);
        QTest::newRow("Kobsdato") << 6 << "Købsdato"
                                  << "01-03-2004" << 156.6 << 156.6 << 19.1 << int(Qt::AlignLeft);
        QTest::newRow("Vaerdi") << 7 << "Værdi"
                                << "1234,50" << 188.1 << 175.7 << 22.5 << int(Qt::AlignRight);
    }
    void ColumnsSitAtTheirPlaces() {
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(double, captionLeft);
        QFETCH(double, fieldLeft);
        QFETCH(double, width);
        QFETCH(int, alignment);
        TListFixture fixture;
        fixture.Add(Items[0], 123450);
        const auto report =
            CreateInventoryList(fixture.Table, QStringLiteral("Vælg kategori"), TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(pages.size(), size_t(1));

        const TReportItem* label = pages[0].Item(QStringLiteral("QRLabel%1").arg(column));
        QVERIFY(label);
        QCOMPARE(label->Text, caption);
        QCOMPARE(label->Rect.left(), 5 + captionLeft);
        QCOMPARE(label->Rect.top(), 10 + 10.6 + 0.8);
        QVERIFY(label->Style->Font.bold());
        QVERIFY(!label->Style->Background.isValid()); // transparent on the silver band
        QVERIFY2(!label->Overflows, "caption cut");

        const TReportItem* field = pages[0].Item(QStringLiteral("QRDBText%1").arg(column));
        QVERIFY(field);
        QCOMPARE(field->Text, text);
        QCOMPARE(field->Rect, QRectF(5 + fieldLeft, 10 + 10.6 + 6.1 + 1.1, width, 4.5));
        QVERIFY2(!field->Overflows, "text cut at the box's edge");
        QCOMPARE(int(field->Style->Alignment), alignment);
        QCOMPARE(field->Style->Font.family(), QStringLiteral("Arial"));
        QCOMPARE(field->Style->Font.pointSizeF(), 10.0);
        QVERIFY(!field->Style->Font.bold());
    }

    void BandsTitleAndFooterSitAtTheirPlaces() {
        TListFixture fixture;
        fixture.AddAll();
        fixture.Table.First();
        const auto report =
            CreateInventoryList(fixture.Table, QStringLiteral("Bøger"), TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(pages.size(), size_t(1));
        const TReportPage& page = pages[0];
        QCOMPARE(page.Size, QSizeF(210, 297));
        QCOMPARE(page.Orientation, QPageLayout::Portrait);

        const TReportItem* title = page.Item(QStringLiteral("QRSysData1"));
        QVERIFY(title);
        QCOMPARE(title->Rect.center().x(), 105.0);
        QCOMPARE(title->Rect.top(), 10 + 1.1);
        QVERIFY(title->Rect.width() < 30); // sized to "Bøger"
        QCOMPARE(title->Style->Font.pointSizeF(), 20.0);
        QCOMPARE(title->Style->FontColor, QColor(0, 0, 128));

        const auto fill = std::find_if(page.Items.begin(), page.Items.end(),
                                       [](const TReportItem& item) { return item.Kind == rikFill; });
        QVERIFY(fill != page.Items.end());
        QCOMPARE(fill->Rect, QRectF(5, 20.6, 200, 6.1));
        QCOMPARE(fill->Style->Background, QColor(192, 192, 192));

        const auto rows = page.ItemsNamed(QStringLiteral("QRDBText1"));
        QCOMPARE(rows.size(), std::size(Items));
        QCOMPARE(rows[1]->Rect.top() - rows[0]->Rect.top(), 6.35);

        const double footerTop = 297 - 10 - 6.35;
        const TReportItem* pageNumber = page.Item(QStringLiteral("QRSysData2"));
        QVERIFY(pageNumber);
        QCOMPARE(pageNumber->Rect, QRectF(105 - 20.1 / 2, footerTop + 1.1, 20.1, 4.5));
        QCOMPARE(pageNumber->Style->Alignment, Qt::AlignHCenter);
        const TReportItem* sum = page.Item(QStringLiteral("QRExpr1"));
        QVERIFY(sum);
        QCOMPARE(sum->Rect.left(), 5 + 179.4);
        QCOMPARE(sum->Rect.top(), footerTop + 1.1);
        QCOMPARE(sum->Text, QStringLiteral("Kr 1.000,00"));
        QCOMPARE(sum->Value, TMoney::FromCents(100000));
    }

    // A sum too wide for the room after its column ends at the band's edge instead of being cut.
    void LargeSumsAreNotCut_data() {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inItsColumn");
        QTest::newRow("tens of thousands") << qint64(1234550) << "Kr 12.345,50" << true;
        QTest::newRow("hundreds of thousands") << qint64(98765432) << "Kr 987.654,32" << false;
        QTest::newRow("millions") << qint64(123456789) << "Kr 1.234.567,89" << false;
    }
    void LargeSumsAreNotCut() {
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QFETCH(bool, inItsColumn);
        TListFixture fixture;
        fixture.Add(Items[0], cents);
        const auto report =
            CreateInventoryList(fixture.Table, QStringLiteral("Alle kategorier"), TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(pages.size(), size_t(1));
        const TReportItem* sum = pages[0].Item(QStringLiteral("QRExpr1"));
        QVERIFY(sum);
        QCOMPARE(sum->Text, text);
        QVERIFY2(!sum->Overflows, qPrintable(QStringLiteral("cut at %1 mm").arg(sum->Rect.right())));
        QVERIFY(sum->Rect.right() <= 205 + 1e-9);
        if (inItsColumn) {
            QCOMPARE(sum->Rect.left(), 5 + 179.4);
        } else {
            QVERIFY(sum->Rect.left() < 5 + 179.4);
            QCOMPARE(sum->Rect.right(), 205.0);
        }
    }

    // The printout as the user gets it: the preview renders to PDF and poppler reads it back.
    void PrintoutReadsBackFromPdf() {
        TListFixture fixture;
        fixture.AddAll();
        fixture.Add({"Atlas", "Kraks", "Gyldendal", "87-02-00000-1", "Bøger"}, 1214550);
        fixture.Table.SetFilter(QStringLiteral("Kategori = 'Bøger'"));
        fixture.Table.SetFiltered(true);
        QVERIFY(fixture.GoTo(QStringLiteral("Kongens Fald")));
        // Two books at 100,00 and the atlas at 12.145,50.
        QTemporaryDir dir;
        TTestPlatform& platform = TTestPlatform::Install();
        platform.PdfPath = dir.filePath(QStringLiteral("liste.pdf"));
        const auto uninstall = qScopeGuard([] { TTestPlatform::Uninstall(); });

        PrintInventoryList(fixture.Table, QStringLiteral("Bøger"), TFormatSettings::Danish());
        QCOMPARE(platform.Previews, 1);

        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), platform.PdfPath, QStringLiteral("-")});
        QVERIFY2(process.waitForFinished(30000) && process.exitCode() == 0,
                 "pdftotext (poppler-utils) could not read the PDF");
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        QCOMPARE(text.count(QLatin1Char('\f')), 1);
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 6);
        QCOMPARE(lines[0].trimmed(), QStringLiteral("Bøger"));
        // Each caption apart from its neighbours, in column order, on one line.
        QVERIFY2(
            QRegularExpression(QStringLiteral("^\\s*Titel\\s+Forfatter\\s+Forlag\\s+ISBN nr\\.\\s+Købssted"
                                              "\\s+Købsdato\\s+Værdi\\s*$"))
                .match(lines[1])
                .hasMatch(),
            qPrintable(lines[1]));
        QVERIFY2(text.contains(QRegularExpression(
                     QStringLiteral("Kongens Fald\\s+Johannes V\\.\\s+Gyldendal\\s+87-00-12345-6\\s+Magasin, "
                                    "Århus\\s+01-03-2004\\s+100,00\n"))),
                 qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Side 1\\s+Kr 12\\.345,50\\s*\n"))),
                 qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Spisebord"))); // only the books
    }
};

HABITRA_TEST(TListReportTest)

#include "ListReportTest.moc"
