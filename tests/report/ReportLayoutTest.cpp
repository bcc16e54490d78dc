#include "ReportFixture.h"
#include "TestRegistry.h"
#include "report/ReportError.h"

#include <QTest>

// How bands flow onto pages over the records of the table.
class TReportLayoutTest : public QObject {
    Q_OBJECT

private:
    static int Details(const TReportPage& page) {
        return int(page.ItemsNamed(QStringLiteral("Field1")).size());
    }

private slots:
    void BandsOnEveryPage() {
        TReportFixture fixture;
        for (int i = 1; i <= 100; ++i) {
            fixture.AddItem(QStringLiteral("Ting %1").arg(i, 3, 10, QLatin1Char('0')), 100);
        }
        auto report = TReportFixture::ListReport(fixture.Table(), TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();

        // First page: (297 - 20 - 10.6 - 6.1 - 6.35) / 6.35 = 39.99 rows, so 39; later pages 41.66, so 41.
        QCOMPARE(int(pages.size()), 3);
        QCOMPARE(Details(pages[0]), 39);
        QCOMPARE(Details(pages[1]), 41);
        QCOMPARE(Details(pages[2]), 20);
        QStringList printed;
        for (const TReportPage& page : pages) {
            QCOMPARE(page.ItemsNamed(QStringLiteral("Titel")).size(), size_t(page.Number == 1 ? 1 : 0));
            QCOMPARE(page.ItemsNamed(QStringLiteral("Caption7")).size(), size_t(1));
            const TReportItem* footer = page.Item(QStringLiteral("PageNumber"));
            QVERIFY(footer);
            QCOMPARE(footer->Text, QStringLiteral("Side %1").arg(page.Number));
            // The footer sits on the bottom margin; details lie between the column header and the footer.
            QCOMPARE(footer->Rect.top(), 297.0 - 10 - 6.35 + 1.1);
            const double headerBottom = page.Item(QStringLiteral("Caption1"))->Rect.top() - 0.8 + 6.1;
            for (const TReportItem* field : page.ItemsNamed(QStringLiteral("Field1"))) {
                QVERIFY(field->Rect.top() - 1.1 >= headerBottom - 0.001);
                QVERIFY(field->Rect.top() - 1.1 + 6.35 <= footer->Rect.top() - 1.1 + 0.001);
                printed << field->Text;
            }
        }
        QCOMPARE(printed.size(), 100);
        QCOMPARE(printed.front(), QStringLiteral("Ting 001"));
        QCOMPARE(printed.back(), QStringLiteral("Ting 100"));
        QVERIFY(std::is_sorted(printed.begin(), printed.end()));
    }

    void RunningSumIsNeverReset() {
        TReportFixture fixture;
        for (int i = 0; i < 39; ++i) {
            fixture.AddItem(QStringLiteral("Side et"), i == 0 ? 500 : 250); // 5,00 + 38 x 2,50 = 100
        }
        for (int i = 0; i < 41; ++i) {
            fixture.AddItem(QStringLiteral("Side to"), i == 0 ? 0 : 125); // 40 x 1,25 = 50
        }
        for (int i = 0; i < 5; ++i) {
            fixture.AddItem(QStringLiteral("Side tre"), 500); // 25
        }
        auto report = TReportFixture::ListReport(fixture.Table(), TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(int(pages.size()), 3);
        const qint64 expected[] = {10000, 15000, 17500};
        const QString texts[] = {QStringLiteral("Kr 100,00"), QStringLiteral("Kr 150,00"),
                                 QStringLiteral("Kr 175,00")};
        for (int i = 0; i < 3; ++i) {
            const TReportItem* sum = pages[size_t(i)].Item(QStringLiteral("Sum"));
            QVERIFY(sum && sum->Value);
            QCOMPARE(sum->Value->Cents(), expected[i]);
            QCOMPARE(sum->Text, texts[i]);
            // Sized to its text from its left edge.
            QCOMPARE(sum->Rect.left(), 5 + 179.4);
        }
        // A second layout starts the sum again from zero.
        QCOMPARE(report->Layout().back().Item(QStringLiteral("Sum"))->Value->Cents(), qint64(17500));
    }

    void PrintIfEmpty_data() {
        QTest::addColumn<bool>("printIfEmpty");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void PrintIfEmpty() {
        QFETCH(bool, printIfEmpty);
        TReportFixture fixture;
        fixture.AddItem(QStringLiteral("Stol"), 100, QStringLiteral("Møbler"));
        fixture.Table().SetFilter(QStringLiteral("Kategori = 'Bøger'"));
        fixture.Table().SetFiltered(true);
        auto report = TReportFixture::ListReport(fixture.Table(), TFormatSettings::Danish());
        report->SetPrintIfEmpty(printIfEmpty);
        const std::vector<TReportPage> pages = report->Layout();
        if (!printIfEmpty) {
            QVERIFY(pages.empty());
            return;
        }
        QCOMPARE(int(pages.size()), 1);
        QCOMPARE(Details(pages[0]), 0);
        QVERIFY(pages[0].Item(QStringLiteral("Titel")));
        QVERIFY(pages[0].Item(QStringLiteral("Caption1")));
        QCOMPARE(pages[0].Item(QStringLiteral("PageNumber"))->Text, QStringLiteral("Side 1"));
        QCOMPARE(pages[0].Item(QStringLiteral("Sum"))->Text, QStringLiteral("Kr 0,00"));
    }

    void WalksFilterAndOrderAndLeavesTableAtEnd() {
        TReportFixture fixture;
        fixture.AddItem(QStringLiteral("Reol"), 100);
        fixture.AddItem(QStringLiteral("Bog om fugle"), 200, QStringLiteral("Bøger"));
        fixture.AddItem(QStringLiteral("Arkivskab"), 300);
        fixture.AddItem(QStringLiteral("Lænestol"), 400);
        TTable& table = fixture.Table();
        table.SetIndexName(QStringLiteral("IndexBeskrivelse"));
        table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
        table.SetFiltered(true);
        auto report = TReportFixture::ListReport(table, TFormatSettings::Danish());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(int(pages.size()), 1);
        QStringList texts;
        for (const TReportItem* item : pages[0].ItemsNamed(QStringLiteral("Field1"))) {
            texts << item->Text;
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("Arkivskab"), QStringLiteral("Lænestol"),
                                     QStringLiteral("Reol")}));
        QCOMPARE(pages[0].Item(QStringLiteral("Sum"))->Value->Cents(), qint64(800));
        // The date is a little wider than its 17.2 mm box: kept whole on its line and cut at the edge.
        QCOMPARE(pages[0].ItemsNamed(QStringLiteral("Field6")).front()->Text, QStringLiteral("01-03-2004"));
        QVERIFY(pages[0].ItemsNamed(QStringLiteral("Field6")).front()->Overflows);
        QCOMPARE(pages[0].ItemsNamed(QStringLiteral("Field7")).front()->Text, QStringLiteral("3,00"));
        QVERIFY(table.Eof());
        QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(), QStringLiteral("Reol"));
        QVERIFY(!table.ControlsDisabled());
    }
};

HABITRA_TEST(TReportLayoutTest)
#include "ReportLayoutTest.moc"
