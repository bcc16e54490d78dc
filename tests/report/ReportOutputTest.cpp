#include "ReportFixture.h"
#include "TestRegistry.h"
#include "report/ReportDataField.h"
#include "report/ReportError.h"
#include "report/ReportExpression.h"
#include "report/ReportFonts.h"
#include "report/ReportImage.h"
#include "report/ReportPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

// The preview, PDF output, fonts and failures before anything is shown.
class TReportOutputTest : public QObject {
    Q_OBJECT

private slots:
    void ArialResolvesToItsMetricTwin() {
        ReportFonts::Install();
        QCOMPARE(QFontInfo(QFont(QStringLiteral("Arial"), 10)).family(), QStringLiteral("Liberation Sans"));
    }

    // The painter keeps the font and pen of one text for the next when they are equal: each text must
    // still look exactly as it does when drawn alone, whatever was drawn before it.
    void EachTextKeepsItsOwnFontAndColour() {
        ReportFonts::Install();
        const auto style = [](const QColor& colour, bool bold, Qt::Alignment alignment) {
            auto made = std::make_shared<TReportStyle>();
            made->Font = QFont(QStringLiteral("Arial"), 10);
            made->Font.setBold(bold);
            made->FontColor = colour;
            made->Alignment = alignment;
            made->LineHeight = 5;
            return made;
        };
        // Equal looks in styles of their own, a colour change alone, a font change alone, and back.
        const std::vector<std::shared_ptr<TReportStyle>> styles = {
            style(Qt::black, false, Qt::AlignLeft), style(Qt::black, false, Qt::AlignLeft),
            style(Qt::red, false, Qt::AlignLeft),   style(Qt::red, true, Qt::AlignRight),
            style(Qt::black, true, Qt::AlignLeft),  style(Qt::black, false, Qt::AlignHCenter),
        };
        TReportPage page;
        page.Size = QSizeF(80, 10.0 * double(styles.size()));
        for (size_t i = 0; i < styles.size(); ++i) {
            TReportItem item;
            item.Rect = QRectF(5, 2 + 10.0 * double(i), 60, 5);
            item.Text = QStringLiteral("Wergeland %1").arg(i);
            item.Style = styles[i];
            page.Items.push_back(item);
        }
        const double dpi = 150;
        const QImage together = TReportPainter::Render(page, dpi);
        const double dotsPerMm = dpi / 25.4;
        for (size_t i = 0; i < page.Items.size(); ++i) {
            TReportPage alone = page;
            alone.Items = {page.Items[i]};
            const QRectF mm(0, 10.0 * double(i), page.Size.width(), 10);
            const QRect band(qRound(mm.left() * dotsPerMm), qRound(mm.top() * dotsPerMm),
                             qRound(mm.width() * dotsPerMm), qRound(mm.height() * dotsPerMm));
            const QImage expected = TReportPainter::Render(alone, dpi).copy(band);
            QVERIFY2(expected != QImage(expected.size(), expected.format()), "the text drew nothing");
            QVERIFY2(together.copy(band) == expected, qPrintable(QStringLiteral("text %1 differs").arg(i)));
        }
    }

    void PreviewRendersPagesThatPdftotextReads() {
        TReportFixture fixture;
        for (int i = 1; i <= 45; ++i) {
            fixture.AddItem(QStringLiteral("Genstand %1").arg(i), 100000 + i, QStringLiteral("Møbler"),
                            QStringLiteral("Ærø Møbler"));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("liste.pdf"));
        auto platform = std::make_unique<TPdfPreviewPlatform>(path);
        TPdfPreviewPlatform* preview = platform.get();
        TPlatformScope scope(std::move(platform));
        auto report = TReportFixture::ListReport(fixture.Table(), TFormatSettings::Danish());
        report->SetTitle(QStringLiteral("Møbler"));
        report->Preview();
        QCOMPARE(preview->Previews, 1);

        bool ran = false;
        const QString text = PdfText(path, &ran);
        QVERIFY2(ran, "pdftotext (poppler-utils) could not read the PDF");
        QCOMPARE(text.count(QLatin1Char('\f')), 2); // two pages
        const QString firstPage = text.section(QLatin1Char('\f'), 0, 0);
        const QString secondPage = text.section(QLatin1Char('\f'), 1, 1);
        QCOMPARE(firstPage.section(QLatin1Char('\n'), 0, 0).trimmed(), QStringLiteral("Møbler"));
        for (const QString& expected :
             {QStringLiteral("Beskrivelse"), QStringLiteral("Købsdato"), QStringLiteral("Værdi"),
              QStringLiteral("Genstand 1 "), QStringLiteral("Ærø Møbler"), QStringLiteral("1000,01"),
              QStringLiteral("01-03-2004"), QStringLiteral("Side 1")}) {
            QVERIFY2(firstPage.contains(expected),
                     qPrintable(expected + QStringLiteral(" missing from:\n") + firstPage));
        }
        // 39 rows of 1000 plus 1..39 øre on the first page; the grand total on the second.
        QVERIFY2(firstPage.contains(QStringLiteral("Kr 39.007,80")), qPrintable(firstPage));
        QVERIFY(secondPage.contains(QStringLiteral("Genstand 45")));
        QVERIFY(secondPage.contains(QStringLiteral("Side 2")));
        QVERIFY(secondPage.contains(QStringLiteral("Kr 45.010,35")));
        QVERIFY(secondPage.contains(QStringLiteral("Beskrivelse"))); // column header on every page
    }

    void FailuresStopBeforeThePreview_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown field") << QStringLiteral("field") << QStringLiteral("\"Farve\"");
        QTest::newRow("bad expression") << QStringLiteral("expression") << QStringLiteral("\"Avg(Vaerdi)\"");
        QTest::newRow("text summed") << QStringLiteral("text sum")
                                     << QStringLiteral("\"Fabrikat\" holds text");
        QTest::newRow("closed table") << QStringLiteral("closed") << QStringLiteral("is not open");
        QTest::newRow("no picture") << QStringLiteral("picture") << QStringLiteral("\"QRImage1\"");
    }
    void FailuresStopBeforeThePreview() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        TReportFixture fixture;
        fixture.AddItem(QStringLiteral("Sofa"), 100, QStringLiteral("Møbler"), QStringLiteral("ikke et tal"));
        auto report = TReportFixture::ListReport(fixture.Table(), TFormatSettings::Danish());
        TReportBand& footer = *report->Band(rbPageFooter);
        if (fault == QLatin1String("field")) {
            footer.Add<TReportDataField>(QStringLiteral("Extra"), QStringLiteral("Farve"));
        } else if (fault == QLatin1String("expression")) {
            footer.Add<TReportExpression>(QStringLiteral("Extra"), QStringLiteral("Avg(Vaerdi)"));
        } else if (fault == QLatin1String("text sum")) {
            footer.Add<TReportExpression>(QStringLiteral("Extra"), QStringLiteral("Sum(Fabrikat)"));
        } else if (fault == QLatin1String("closed")) {
            fixture.Table().Close();
        } else {
            report->AddBand(rbPage, 0).Add<TReportImage>(QStringLiteral("QRImage1"));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fejl.pdf"));
        auto platform = std::make_unique<TPdfPreviewPlatform>(path);
        TPdfPreviewPlatform* preview = platform.get();
        TPlatformScope scope(std::move(platform));
        try {
            report->Preview();
            QFAIL("the report did not fail");
        } catch (const EReportError& error) {
            QVERIFY2(error.Message().contains(message), qPrintable(error.Message()));
        }
        QCOMPARE(preview->Previews, 0);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!fixture.Table().ControlsDisabled());
    }

    // Stopped on its first or third page, a PDF leaves nothing behind: no file, an earlier file of the
    // same name untouched, the table on the record it was on. Run to its end it reports every record.
    void CancelledPdfLeavesNoFileAndTheTableWhereItWas_data() {
        QTest::addColumn<int>("stopAtCall");
        QTest::addColumn<bool>("earlierFile");
        QTest::newRow("before the first page") << 1 << false;
        QTest::newRow("after two pages") << 3 << false;
        QTest::newRow("over an earlier file") << 3 << true;
        QTest::newRow("not stopped") << 0 << true;
    }
    void CancelledPdfLeavesNoFileAndTheTableWhereItWas() {
        QFETCH(int, stopAtCall);
        QFETCH(bool, earlierFile);
        TReportFixture fixture;
        for (int i = 1; i <= 130; ++i) { // four pages
            fixture.AddItem(QStringLiteral("Genstand %1").arg(i), 100 * i);
        }
        TTable& table = fixture.Table();
        table.MoveBy(16);
        const int recNo = table.RecNo();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("liste.pdf"));
        const QByteArray earlier("an earlier list");
        if (earlierFile) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(earlier);
        }
        auto report = TReportFixture::ListReport(table, TFormatSettings::Danish());
        int calls = 0;
        QList<int> done;
        QSet<int> totals;
        const auto progress = [&](int records, int total) {
            done << records;
            totals << total;
            return ++calls != stopAtCall;
        };
        if (stopAtCall == 0) {
            report->SaveToPdf(path, progress);
            QCOMPARE(done.front(), 0);
            QCOMPARE(done.back(), 130);
            QCOMPARE(totals, QSet<int>{130});
            QVERIFY(std::is_sorted(done.begin(), done.end()));
            bool ran = false;
            QVERIFY(PdfText(path, &ran).contains(QStringLiteral("Genstand 130")));
            QVERIFY(ran);
            return;
        }
        QVERIFY_THROWS_EXCEPTION(EReportCancelled, report->SaveToPdf(path, progress));
        QCOMPARE(calls, stopAtCall);
        QCOMPARE(table.RecNo(), recNo);
        QVERIFY(!table.ControlsDisabled());
        QFile file(path);
        QCOMPARE(file.exists(), earlierFile);
        if (earlierFile) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), earlier);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 earlierFile ? QStringList{"liste.pdf"} : QStringList{});
    }
};

HABITRA_TEST(TReportOutputTest)
#include "ReportOutputTest.moc"
