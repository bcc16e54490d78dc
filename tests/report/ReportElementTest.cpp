#include "ReportFixture.h"
#include "TestRegistry.h"
#include "report/ReportDataField.h"
#include "report/ReportImage.h"
#include "report/ReportLabel.h"
#include "report/ReportPainter.h"

#include <QTest>

// What each kind of element puts on the page, and how it is drawn.
class TReportElementTest : public QObject {
    Q_OBJECT

private:
    // One detail band with one data field showing Beskrivelse.
    static std::unique_ptr<TReport> OneField(TTable& table, double width, double height, bool wordWrap) {
        auto report = std::make_unique<TReport>();
        report->SetDataSet(&table);
        report->AddBand(rbDetail, 20);
        auto* field = report->Band(rbDetail)->Add<TReportDataField>(QStringLiteral("Field"),
                                                                    QStringLiteral("Beskrivelse"));
        field->SetBounds(10, 2, width, height);
        field->SetWordWrap(wordWrap);
        return report;
    }

    // The leftmost and rightmost ink (darker than light grey) at the height of a box, in mm, at 150 dpi.
    static std::pair<double, double> InkSpan(const TReportPage& page, const QRectF& box) {
        const double dotsPerMm = 150 / 25.4;
        const QImage image = TReportPainter::Render(page, 150);
        int first = -1;
        int last = -1;
        for (int y = int(box.top() * dotsPerMm); y < int(box.bottom() * dotsPerMm); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 160) {
                    first = first < 0 ? x : std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        return {first / dotsPerMm, (last + 1) / dotsPerMm};
    }

    static const QString LongText() { return QStringLiteral("Spisebord i eg med seks stole og en bænk"); }

private slots:
    void MaskUsesRegionalSeparators_data() {
        QTest::addColumn<bool>("danish");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("expected");
        QTest::newRow("danish example") << true << qint64(1234550) << QStringLiteral("Kr 12.345,50");
        QTest::newRow("danish negative") << true << qint64(-123456) << QStringLiteral("Kr -1.234,56");
        QTest::newRow("english negative") << false << qint64(-123456) << QStringLiteral("Kr -1,234.56");
        QTest::newRow("danish millions") << true << qint64(1234567890) << QStringLiteral("Kr 12.345.678,90");
        QTest::newRow("english millions")
            << false << qint64(1234567890) << QStringLiteral("Kr 12,345,678.90");
    }
    void MaskUsesRegionalSeparators() {
        QFETCH(bool, danish);
        QFETCH(qint64, cents);
        QFETCH(QString, expected);
        TReportFixture fixture;
        fixture.AddItem(QStringLiteral("Maleri"), cents);
        auto report = TReportFixture::ListReport(fixture.Table(), danish ? TFormatSettings::Danish()
                                                                         : TFormatSettings::English());
        const std::vector<TReportPage> pages = report->Layout();
        QCOMPARE(pages.front().Item(QStringLiteral("Sum"))->Text, expected);
    }

    void WordWrapKeepsWholeLinesInsideTheBox() {
        TReportFixture fixture;
        fixture.AddItem(LongText(), 0);
        const TReportItem tall = OneField(fixture.Table(), 25, 18, true)->Layout().front().Items.front();
        QVERIFY2(tall.Lines().size() >= 3, qPrintable(tall.Text));
        QCOMPARE(tall.Lines().join(QLatin1Char(' ')), LongText());
        QVERIFY(!tall.Overflows);
        QVERIFY(tall.Lines().size() * tall.Style->LineHeight <= 18);

        // A field one line high shows the first line only.
        const TReportItem low = OneField(fixture.Table(), 25, 4.5, true)->Layout().front().Items.front();
        QCOMPARE(low.Text, tall.Lines().front());

        // Every line is drawn inside the box.
        const TReportPage page = OneField(fixture.Table(), 25, 18, true)->Layout().front();
        const QRectF box = page.Items.front().Rect;
        QCOMPARE(box, QRectF(20, 12, 25, 18)); // band at the 10 mm margins
        const auto [left, right] = InkSpan(page, box);
        QVERIFY2(left >= box.left() - 0.2 && right <= box.right() + 0.2,
                 qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
    }

    void TextIsClippedToItsBox() {
        TReportFixture fixture;
        fixture.AddItem(LongText(), 0);
        const TReportPage narrow = OneField(fixture.Table(), 25, 4.5, false)->Layout().front();
        const TReportItem& item = narrow.Items.front();
        QCOMPARE(item.Text, LongText());
        QVERIFY(item.Overflows);
        const auto [left, right] = InkSpan(narrow, item.Rect);
        QVERIFY(left >= item.Rect.left() - 0.2);
        QVERIFY2(right <= item.Rect.right() + 0.2, qPrintable(QString::number(right)));
        QVERIFY(right > item.Rect.right() - 5); // filled up to its edge

        // The same text in a wide box reaches well past that edge.
        const TReportPage wide = OneField(fixture.Table(), 150, 4.5, false)->Layout().front();
        QVERIFY(!wide.Items.front().Overflows);
        QVERIFY(InkSpan(wide, item.Rect).second > item.Rect.right() + 10);
    }

    void AutoSizedLabelsCentreAcrossTheBand() {
        TReportFixture fixture;
        auto report = TReportFixture::ListReport(fixture.Table(), TFormatSettings::Danish());
        report->SetPrintIfEmpty(true);
        const TReportPage page = report->Layout().front();
        const TReportItem* title = page.Item(QStringLiteral("Titel"));
        QCOMPARE(title->Text, QStringLiteral("Alle kategorier"));
        QCOMPARE(title->Rect.center().x(), 105.0);
        QVERIFY(title->Rect.width() > 20 && title->Rect.width() < 100);
        QCOMPARE(page.Item(QStringLiteral("PageNumber"))->Rect.width(), 20.1);
        QCOMPARE(page.Item(QStringLiteral("PageNumber"))->Rect.center().x(), 105.0);

        // A heading wider than the band wraps at its edge and grows downwards.
        TReport pictureReport;
        pictureReport.SetOrientation(QPageLayout::Landscape);
        pictureReport.SetMargins(QMarginsF(7, 10, 7, 10));
        auto* label = pictureReport.AddBand(rbTitle, 14)
                          .Add<TReportLabel>(QStringLiteral("QRLabel1"), LongText().repeated(3));
        QFont font(QStringLiteral("Arial"), 18);
        font.setBold(true);
        label->SetFont(font);
        label->SetAlignment(taCenter);
        label->SetAlignToBand(true);
        label->SetAutoSize(true);
        label->SetWordWrap(true);
        const TReportItem heading = pictureReport.Layout().front().Items.front();
        QCOMPARE(heading.Lines().size(), 2);
        QVERIFY(heading.Rect.left() >= 7 && heading.Rect.right() <= 297 - 7 + 0.001);
        QCOMPARE(heading.Rect.height(), 2 * heading.Style->LineHeight);
    }

    void PictureIsCentredAtItsOwnSize_data() {
        QTest::addColumn<int>("pixels"); // width; the picture is half as high
        QTest::newRow("smaller than the box") << 400;
        QTest::newRow("larger than the box") << 2000;
    }
    void PictureIsCentredAtItsOwnSize() {
        QFETCH(int, pixels);
        QImage picture(pixels, pixels / 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.setDotsPerMeterX(3780); // 96 dpi
        picture.setDotsPerMeterY(3780);
        TReport report;
        report.SetOrientation(QPageLayout::Landscape);
        auto* box = report.AddBand(rbPage, 0).Add<TReportImage>(QStringLiteral("QRImage1"));
        box->SetBounds(7.9, 25.1, 280.7, 173.6);
        box->SetPicture(picture);
        const std::vector<TReportPage> pages = report.Layout();
        QCOMPARE(int(pages.size()), 1);
        const TReportItem& item = pages.front().Items.front();
        const QRectF boxRect(7.9, 25.1, 280.7, 173.6);
        QCOMPARE(item.PictureRect.center(), boxRect.center());
        QVERIFY(qAbs(item.PictureRect.width() - pixels * 25.4 / 96) < 0.1);
        QVERIFY(qAbs(item.PictureRect.height() - pixels / 2 * 25.4 / 96) < 0.1);

        // Drawn at that size, never beyond the box.
        const double dotsPerMm = 50 / 25.4;
        const QImage image = TReportPainter::Render(pages.front(), 50);
        const auto red = [&](double xMm, double yMm) {
            return image.pixelColor(int(xMm * dotsPerMm), int(yMm * dotsPerMm)) == QColor(Qt::red);
        };
        const QRectF drawn = item.PictureRect.intersected(boxRect);
        QVERIFY(red(boxRect.center().x(), boxRect.center().y()));
        QVERIFY(red(drawn.left() + 1, drawn.top() + 1));
        QVERIFY(!red(drawn.left() - 1, drawn.center().y()));
        QVERIFY(!red(drawn.center().x(), drawn.top() - 1));
        QVERIFY(!red(boxRect.left() - 1, boxRect.center().y()));
    }
};

HABITRA_TEST(TReportElementTest)
#include "ReportElementTest.moc"
