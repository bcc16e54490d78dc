#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "overview/InsuranceDialog.h"
#include "overview/Unit2.h"
#include "store/Table.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// "Forsikringsrapport" in the Functions menu and beside the overview's Print: both open the report's
// dialog on the main window's category page and the overview's selection.
class TInsuranceCommandTest : public QObject {
    Q_OBJECT

    struct TSeen {
        bool Opened = false;
        QString Category;
        bool SelectedEnabled = false;
    };

    // Closes the dialog as soon as it is up, after noting what it offered.
    static void CloseWhenOpen(TSeen& seen) {
        QTimer::singleShot(20, [&seen] {
            auto* dialog = qobject_cast<TInsuranceDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                CloseWhenOpen(seen);
                return;
            }
            seen.Opened = true;
            seen.Category = dialog->findChild<QLabel*>("LabelCategoryCount")->text();
            seen.SelectedEnabled = dialog->RadioButton3->isEnabled();
            dialog->reject();
        });
    }

private slots:
    void menuAndOverviewOpenTheDialog() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        const QList<QAction*> actions = form.Controls().Funktioner1->actions();
        const qsizetype at = actions.indexOf(form.Controls().Forsikringsrapport1);
        QVERIFY(at > actions.indexOf(form.Controls().Dataeksport1));
        QVERIFY(at < actions.indexOf(form.Controls().Dataplacering1));

        TSeen fromMenu;
        CloseWhenOpen(fromMenu);
        form.Controls().Forsikringsrapport1->trigger();
        QVERIFY(fromMenu.Opened);
        QCOMPARE(fromMenu.Category, QStringLiteral("Antikviteter: 0 genstande"));

        TSeen fromOverview;
        CloseWhenOpen(fromOverview);
        QTimer::singleShot(0, [&form] { form.Form2->findChild<QToolButton*>("SpeedButton4")->click(); });
        QTimer::singleShot(2000, [&form] { form.Form2->close(); });
        form.Controls().Oversigt1->trigger();
        QVERIFY(fromOverview.Opened);
    }

    // Started in English, the first page shows the items filtered on its Danish value; the current
    // category's scope counts those, as the page shows them.
    void currentCategoryIsWhatThePageShows() {
        TMainWindowFixture fixture;
        fixture.Sql("Config.DB", "UPDATE Config SET Sprog = 0");
        fixture.Sql("Habitra.db",
                    "INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Ur', 1, 'Antikviteter')");
        TForm1& form = fixture.Start();
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        TSeen seen;
        CloseWhenOpen(seen);
        form.Controls().Forsikringsrapport1->trigger();
        QVERIFY(seen.Opened);
        QVERIFY2(seen.Category.startsWith(QStringLiteral("Antikviteter: 1 ")), qPrintable(seen.Category));
    }
};

HABITRA_TEST(TInsuranceCommandTest)
#include "InsuranceCommandTest.moc"
