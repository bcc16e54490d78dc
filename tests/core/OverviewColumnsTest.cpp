#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "overview/ColumnSizer.h"
#include "overview/Unit2.h"
#include "store/Field.h"
#include "store/ProgramSettings.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBGridModel.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

// The overview's grid in its window: columns that fit, and the widths the user chose kept for the
// next opening, also in the next run.
class OverviewColumnsTest : public QObject {
    Q_OBJECT

    static TDBGrid* Grid(TForm1& form) { return form.Form2->findChild<TDBGrid*>(QStringLiteral("DBGrid1")); }
    static QList<int> Widths(const TDBGrid& grid) {
        QList<int> widths;
        for (int column = 0; column < grid.model()->columnCount(); ++column) {
            widths << grid.columnWidth(column);
        }
        return widths;
    }
    static int Total(const TDBGrid& grid) {
        int total = 0;
        for (int width : Widths(grid)) {
            total += width;
        }
        return total;
    }
    static int Column(const TDBGrid& grid, const char* field) {
        for (int column = 0; column < grid.model()->columnCount(); ++column) {
            if (grid.Model()->FieldAt(column)->FieldName() == QLatin1String(field)) {
                return column;
            }
        }
        return -1;
    }
    static void Open(TForm1& form) {
        form.Form2->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.Form2));
        QTest::qWait(50); // the columns are fitted once showing and laying out are done
    }
    static void Fill(TMainWindowFixture& fixture) {
        fixture.Sql(QStringLiteral("Habitra.db"),
                    QStringLiteral(
                        "INSERT INTO Habitra (Beskrivelse, Fabrikat, Model, Identifikation, Kobssted, "
                        "Kobsdato, Vaerdi, Notater, Foto, Kategori) VALUES "
                        "('Spisebordsstol i eg med flettet sæde, sæt af seks', 'Fritz Hansen', "
                        "'Model 4000', 'SN 1234-5678-90', 'Illums Bolighus', '2019-03-04', 1250000, "
                        "'Købt sammen med bordet; kvittering i mappen på loftet', 12345, "
                        "'Hårde hvidevarer'), ('Ur', '', '', '', '', NULL, 100, NULL, 2, 'Antikviteter')"));
    }

private slots:
    void columnsFitTheWindow() {
        TMainWindowFixture fixture;
        Fill(fixture);
        TForm1& form = fixture.Start();
        Open(form);
        TDBGrid& grid = *Grid(form);
        QCOMPARE(form.Form2->size(), QSize(1024, 768));
        for (const QSize size : {QSize(1024, 768), QSize(800, 600), QSize(1200, 700)}) {
            form.Form2->resize(size);
            QTest::qWait(50);
            // Every column in view, the whole width used, nothing to scroll sideways.
            QVERIFY2(Total(grid) <= grid.viewport()->width(),
                     qPrintable(QStringLiteral("%1 > %2").arg(Total(grid)).arg(grid.viewport()->width())));
            QVERIFY(Total(grid) >= grid.viewport()->width() - 2);
            QVERIFY(!grid.horizontalScrollBar()->isVisible());
            const QFontMetrics titles = grid.horizontalHeader()->fontMetrics();
            const int description = Column(grid, "Beskrivelse");
            for (int column = 0; column < grid.model()->columnCount(); ++column) {
                const QString title = grid.model()->headerData(column, Qt::Horizontal).toString();
                QVERIFY2(grid.columnWidth(column) >= titles.horizontalAdvance(title), qPrintable(title));
                if (column != description) {
                    QVERIFY2(grid.columnWidth(column) < grid.columnWidth(description), qPrintable(title));
                }
            }
            // Short contents get no more than they need: the picture number beside the description.
            QVERIFY(grid.columnWidth(Column(grid, "Foto")) < grid.columnWidth(description) / 2);
        }
        form.Form2->close();
        // Widths nobody chose are not kept.
        QVERIFY(!form.Register().ProgramSettings().Contains(QStringLiteral("Overview.ColumnWidths")));
    }

    void chosenWidthsKept() {
        TMainWindowFixture fixture;
        Fill(fixture);
        TForm1& form = fixture.Start();
        Open(form);
        TDBGrid* grid = Grid(form);
        QHeaderView* header = grid->horizontalHeader();
        const int fabrikat = Column(*grid, "Fabrikat");
        const int before = grid->columnWidth(fabrikat);
        // Dragging the divider to the right of the column's title.
        const int divider = header->sectionViewportPosition(fabrikat) + header->sectionSize(fabrikat) - 1;
        const int y = header->height() / 2;
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(divider, y));
        QTest::mouseMove(header->viewport(), QPoint(divider + 60, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(divider + 60, y));
        QCOMPARE(grid->columnWidth(fabrikat), before + 60);
        QVERIFY(form.Form2->ColumnSizer()->Chosen());
        const QList<int> chosen = Widths(*grid);
        form.Form2->resize(900, 650);
        QTest::qWait(50);
        QCOMPARE(Widths(*grid), chosen); // the user's widths stay through resizing
        form.Form2->close();
        QVERIFY(form.Register()
                    .ProgramSettings()
                    .Value(QStringLiteral("Overview.ColumnWidths"))
                    .contains(QStringLiteral("Fabrikat=%1").arg(before + 60)));
        Open(form);
        QCOMPARE(Widths(*grid), chosen);
        form.Form2->close();

        // The next run opens with them.
        fixture.Program.reset();
        TForm1& again = fixture.Start();
        Open(again);
        QCOMPARE(Widths(*Grid(again)), chosen);
        again.Form2->close();
    }

    void unreadableWidthsArePassedOver() {
        TMainWindowFixture fixture;
        Fill(fixture);
        TForm1& form = fixture.Start();
        form.Register().ProgramSettings().SetValue(
            QStringLiteral("Overview.ColumnWidths"),
            QStringLiteral("Fabrikat=abc,Ukendt=80,Model=-5,Foto=99999,,Beskrivelse=333"));
        Open(form);
        TDBGrid& grid = *Grid(form);
        QCOMPARE(grid.columnWidth(Column(grid, "Beskrivelse")), 333);
        QVERIFY(grid.columnWidth(Column(grid, "Model")) > 0);
        QVERIFY(grid.columnWidth(Column(grid, "Foto")) < 1000);
        form.Form2->close();
    }
};

HABITRA_TEST(OverviewColumnsTest)
#include "OverviewColumnsTest.moc"
