#include "report/ReportGlyphRuns.h"
#include "TestRegistry.h"
#include "report/ReportFonts.h"

#include <QImage>
#include <QPainter>
#include <QTest>

// Texts gathered into glyph runs look exactly as when each is drawn on its own.
class TReportGlyphRunsTest : public QObject {
    Q_OBJECT

    static QImage Blank() {
        QImage image(900, 160, QImage::Format_RGB32);
        image.setDotsPerMeterX(11811); // 300 dpi
        image.setDotsPerMeterY(11811);
        image.fill(Qt::white);
        return image;
    }

private slots:
    void RunsLandWhereDrawTextPutsTheTexts_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("rightAligned");
        QTest::newRow("left, kerned pairs") << QStringList{"AVAT Type", "Yaris LTo", "Kildemoes"} << false;
        QTest::newRow("right-aligned amounts") << QStringList{"8790,00", "19799,00", "1,05"} << true;
        QTest::newRow("Danish letters, repeated") << QStringList{"Værktøj", "Ærø Møbler", "Værktøj"} << false;
    }
    void RunsLandWhereDrawTextPutsTheTexts() {
        QFETCH(QStringList, texts);
        QFETCH(bool, rightAligned);
        ReportFonts::Install();
        const QFont font(QStringLiteral("Arial"), 10);
        QImage expected = Blank();
        QImage gathered = Blank();
        {
            QPainter painter(&expected);
            painter.setFont(font);
            painter.setPen(Qt::darkBlue);
            for (int i = 0; i < texts.size(); ++i) {
                const QRectF box(10.25 + 290 * i, 40.5, 270, 60);
                if (rightAligned) {
                    painter.drawText(box, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, texts[i]);
                } else {
                    painter.drawText(QPointF(box.left(), box.top() + QFontMetricsF(font, &expected).ascent()),
                                     texts[i]);
                }
            }
        }
        {
            QPainter painter(&gathered);
            TReportGlyphRuns runs(painter);
            const double ascent = QFontMetricsF(font, &gathered).ascent();
            for (int i = 0; i < texts.size(); ++i) {
                const QRectF box(10.25 + 290 * i, 40.5, 270, 60);
                QVERIFY(runs.Add(texts[i], font, Qt::darkBlue, box.left(), box.right(), box.top() + ascent,
                                 rightAligned));
            }
            runs.Flush();
        }
        QVERIFY(gathered != Blank());
        QCOMPARE(gathered, expected);
    }
};

HABITRA_TEST(TReportGlyphRunsTest)
#include "ReportGlyphRunsTest.moc"
