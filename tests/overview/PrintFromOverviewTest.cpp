#include "OverviewFixture.h"
#include "TestPlatform.h"
#include "TestRegistry.h"
#include "overview/CategoryComboBox.h"
#include "overview/Unit2.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QToolButton>

// The overview's Print button prints the listed items; the preview takes the activation, and
// coming back to the overview lists all items again while the list keeps its category.
class PrintFromOverviewTest : public QObject {
    Q_OBJECT

    static bool Activate(QWidget& window) {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

private slots:
    void printsTheChosenCategoryThenListsAllAgain() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        QVERIFY(Activate(form));
        auto* combo = form.findChild<TCategoryComboBox*>("ComboBox1");
        QVERIFY(combo);
        combo->setFocus();
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), "Bø");
        QCOMPARE(combo->ListText(), QStringLiteral("Bøger"));
        QCOMPARE(fixture.HabitraTable.RecordCount(), 2);

        TTestPlatform& platform = TTestPlatform::Install();
        QWidget preview; // what the real preview does: it becomes the active window while it is open
        platform.PdfPath = fixture.Folder.FilePath("list.pdf");
        QTest::mouseClick(form.findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
        QCOMPARE(platform.Previews, 1);
        QVERIFY(Activate(preview));
        preview.close();
        QVERIFY(Activate(form));
        const QString pdf = platform.PdfPath;
        TTestPlatform::Uninstall();

        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(printed.contains("Bøger"));
        QVERIFY(printed.contains("Lampeskærm"));
        QVERIFY(!printed.contains("Gammel LAMPE"));

        QVERIFY(!fixture.HabitraTable.Filtered());
        QCOMPARE(fixture.HabitraTable.RecordCount(), 6);
        QCOMPARE(combo->ListText(), QStringLiteral("Bøger"));
    }
};

HABITRA_TEST(PrintFromOverviewTest)
#include "PrintFromOverviewTest.moc"
