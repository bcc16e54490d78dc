#include "OverviewFixture.h"
#include "TestPlatform.h"
#include "TestRegistry.h"
#include "overview/CategoryComboBox.h"
#include "overview/ListLayoutProgress.h"
#include "overview/Unit2.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
// Clicks Cancel in the list's progress window as soon as it shows, as a user who changed their mind.
class TCancelOnShow : public QObject {
public:
    TCancelOnShow() { qApp->installEventFilter(this); }
    ~TCancelOnShow() override { qApp->removeEventFilter(this); }
    bool Shown = false;
    QString Label;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (event->type() == QEvent::Show && dialog &&
            dialog->objectName() == QLatin1String("ListLayoutProgress")) {
            Shown = true;
            Label = dialog->labelText();
            if (auto* cancel = dialog->findChild<QPushButton*>()) {
                QTimer::singleShot(0, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
            }
        }
        return false;
    }
};
} // namespace

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

    // Cancel while the list is laid out: no preview, and the overview lists what it listed, on the
    // same item, although its coming back to the front would switch the filter off.
    void cancelledLayoutLeavesTheListAsItWas_data() {
        QTest::addColumn<bool>("oneCategory");
        QTest::newRow("one category") << true;
        QTest::newRow("all items") << false;
    }
    void cancelledLayoutLeavesTheListAsItWas() {
        QFETCH(bool, oneCategory);
        std::vector<TItem> items;
        for (int i = 1; i <= 400; ++i) {
            items.push_back({QStringLiteral("Genstand %1").arg(i),
                             i % 2 ? QStringLiteral("Bøger") : QStringLiteral("Møbler"), QString()});
        }
        TOverviewFixture fixture(items);
        TForm2& form = fixture.Form();
        QVERIFY(Activate(form));
        auto* combo = form.findChild<TCategoryComboBox*>("ComboBox1");
        if (oneCategory) {
            combo->setFocus();
            combo->lineEdit()->clear();
            QTest::keyClicks(combo->lineEdit(), "Bø");
            QCOMPARE(fixture.HabitraTable.RecordCount(), 200);
        }
        QVERIFY(fixture.GoToFoto(77));
        const bool filtered = fixture.HabitraTable.Filtered();
        const int count = fixture.HabitraTable.RecordCount();
        const QString listText = combo->ListText();

        TTestPlatform& platform = TTestPlatform::Install();
        TListLayoutProgress::ShowAfterMs = 0;
        TCancelOnShow cancel;
        QTest::mouseClick(form.findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
        TListLayoutProgress::ShowAfterMs = 500;
        const int previews = platform.Previews;
        TTestPlatform::Uninstall();

        QVERIFY(cancel.Shown);
        QVERIFY2(cancel.Label.contains(QStringLiteral(" af %1").arg(count)), qPrintable(cancel.Label));
        QCOMPARE(previews, 0);
        auto* progress = form.findChild<QProgressDialog*>("ListLayoutProgress");
        QVERIFY(!progress || !progress->isVisible());
        QCOMPARE(fixture.HabitraTable.Filtered(), filtered);
        QCOMPARE(fixture.HabitraTable.RecordCount(), count);
        QCOMPARE(fixture.CurrentFoto(), 77);
        QVERIFY(!fixture.HabitraTable.ControlsDisabled());
        QCOMPARE(combo->ListText(), listText);
    }
};

HABITRA_TEST(PrintFromOverviewTest)
#include "PrintFromOverviewTest.moc"
