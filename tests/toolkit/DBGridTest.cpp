#include "toolkit/DBGrid.h"
#include "TestRegistry.h"
#include "WidgetFixture.h"
#include "toolkit/DBGridModel.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <utility>

namespace {
// Remembers which rows a view asked for.
class TCountingModel : public TDBGridModel {
public:
    QVariant data(const QModelIndex& index, int role) const override {
        RowsRead.insert(index.row());
        return TDBGridModel::data(index, role);
    }
    mutable QSet<int> RowsRead;
};

int Column(const TDBGridModel& model, const QString& field) {
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == field) {
            return column;
        }
    }
    return -1;
}
} // namespace

class DBGridTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Make(5); }
    void cleanup() {
        const int expected = std::exchange(m_expectedBoxes, 0);
        const std::unique_ptr<TWidgetFixture> fixture = std::move(m_fixture);
        QVERIFY(fixture);
        QCOMPARE(fixture->Boxes.Count(), expected);
    }

    void oneColumnPerFieldInTableOrder() {
        const TTable& table = m_fixture->Table;
        TDBGridModel* model = m_grid->Model();
        QCOMPARE(model->columnCount(), table.FieldCount());
        QStringList titles;
        QStringList names;
        for (int column = 0; column < table.FieldCount(); ++column) {
            titles << model->headerData(column, Qt::Horizontal).toString();
            names << table.Fields(column)->FieldName();
        }
        QCOMPARE(titles, names);
        QCOMPARE(model->rowCount(), 5);
        QCOMPARE(model->index(2, Column(*model, "Beskrivelse")).data().toString(), QStringLiteral("Item 3"));
        QCOMPARE(model->index(2, Column(*model, "Vaerdi")).data().toString(), QStringLiteral("3,00"));
        QCOMPARE(model->index(2, Column(*model, "Kobsdato")).data().toString(), QStringLiteral("03-03-2020"));
        QCOMPARE(m_grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    }

    void currentRowFollowsTheTable() {
        TTable& table = m_fixture->Table;
        QCOMPARE(m_grid->currentIndex().row(), 0);
        table.Last();
        QCOMPARE(m_grid->currentIndex().row(), 4);
        table.Prior();
        QCOMPARE(m_grid->currentIndex().row(), 3);
        table.SetRecNo(2);
        QCOMPARE(m_grid->currentIndex().row(), 1);
        table.SetFilter(QStringLiteral("Beskrivelse = 'Item 4'"));
        table.SetFiltered(true);
        QCOMPARE(m_grid->Model()->rowCount(), 1);
        QCOMPARE(m_grid->currentIndex().row(), 0);
        QCOMPARE(m_grid->currentIndex().data().toString(), QStringLiteral("Item 4"));
    }

    void tableFollowsTheGrid() {
        TDBGridModel* model = m_grid->Model();
        const QModelIndex cell = model->index(3, Column(*model, "Beskrivelse"));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, m_grid->visualRect(cell).center());
        QCOMPARE(m_fixture->Table.RecNo(), 4);
        QCOMPARE(m_fixture->Table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(),
                 QStringLiteral("Item 4"));
        QTest::keyClick(m_grid, Qt::Key_Up);
        QCOMPARE(m_fixture->Table.RecNo(), 3);
        QTest::keyClick(m_grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(m_fixture->Table.RecNo(), 5);
    }

    void indicatorShowsTheState() {
        TTable& table = m_fixture->Table;
        const auto marker = [&](int row) {
            return m_grid->Model()->headerData(row, Qt::Vertical).toString();
        };
        table.Next();
        QCOMPARE(marker(1), QStringLiteral("▶"));
        QCOMPARE(marker(0), QString());
        table.Edit();
        QCOMPARE(marker(1), QStringLiteral("✎"));
        table.Cancel();
        table.Insert();
        QCOMPARE(marker(1), QStringLiteral("I"));
        QCOMPARE(m_grid->Model()->rowCount(), 6);
        QCOMPARE(m_grid->currentIndex().row(), 1);
        table.Cancel();
        QCOMPARE(m_grid->Model()->rowCount(), 5);
        QCOMPARE(marker(1), QStringLiteral("▶"));
    }

    void inPlaceEditStoresTheValue_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("text") << "Beskrivelse"
                              << "Kommode"
                              << "Kommode";
        QTest::newRow("amount") << "Vaerdi"
                                << "12,5"
                                << "1250";
        QTest::newRow("date") << "Kobsdato"
                              << "02-01-2019"
                              << "2019-01-02";
        QTest::newRow("picture number") << "Foto"
                                        << "77"
                                        << "77";
        QTest::newRow("cut to width")
            << "Identifikation" << QString(35, QLatin1Char('z')) << QString(30, QLatin1Char('z'));
    }
    void inPlaceEditStoresTheValue() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        TDBGridModel* model = m_grid->Model();
        const QModelIndex cell = model->index(1, Column(*model, field));
        m_grid->setCurrentIndex(cell);
        QCOMPARE(m_fixture->Table.RecNo(), 2);
        QTest::keyClick(m_grid, Qt::Key_F2);
        QVERIFY(m_grid->OpenEditor());
        auto* editor = qobject_cast<QLineEdit*>(m_grid->OpenEditor());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("✎"));
        // Moving to another row posts the record.
        QTest::keyClick(m_grid, Qt::Key_Down);
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
        QCOMPARE(m_fixture->Table.RecNo(), 3);
        QCOMPARE(m_fixture->StoredValue(field == "Foto" ? 77 : 2, field), stored);
    }

    void refusedCellValueIsShownAndKeepsEditing() {
        TDBGridModel* model = m_grid->Model();
        const QModelIndex cell = model->index(0, Column(*model, "Vaerdi"));
        m_grid->setCurrentIndex(cell);
        TModalAnswerer& answer = m_fixture->Boxes;
        m_expectedBoxes = 1;
        // The first key opens the cell editor, which takes the focus and the keys that follow.
        QTest::keyClick(m_grid, Qt::Key_A);
        QVERIFY(m_grid->OpenEditor());
        QTest::keyClicks(m_grid->OpenEditor(), QStringLiteral("bc"));
        QTest::keyClick(m_grid->OpenEditor(), Qt::Key_Return);
        QTRY_COMPARE(answer.Count(), 1);
        QVERIFY2(answer.Texts.value(0).contains(QLatin1String("abc")), qPrintable(answer.Texts.value(0)));
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(m_fixture->Table.FieldByName(QStringLiteral("Vaerdi"))->AsString(), QStringLiteral("1"));
    }

    void postWritesTheOpenCellEditor() {
        TDBGridModel* model = m_grid->Model();
        m_grid->setCurrentIndex(model->index(2, Column(*model, "Kobssted")));
        QTest::keyClick(m_grid, 'L');
        QVERIFY(m_grid->OpenEditor());
        QTest::keyClicks(m_grid->OpenEditor(), QStringLiteral("oppemarked"));
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        m_fixture->Table.Post();
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
        QCOMPARE(m_fixture->StoredValue(3, QStringLiteral("Kobssted")), QStringLiteral("Loppemarked"));
        QTRY_VERIFY(!m_grid->OpenEditor());
    }

    void movingOffAnUnchangedInsertionDropsIt() {
        m_fixture->Table.Insert();
        QCOMPARE(m_grid->Model()->rowCount(), 6);
        m_grid->setCurrentIndex(m_grid->Model()->index(3, 0));
        QCOMPARE(m_grid->Model()->rowCount(), 5);
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
        // The grid stays on the record the table made current.
        QCOMPARE(m_grid->currentIndex().row(), m_fixture->Table.RecNo() - 1);
        QCOMPARE(m_grid->currentIndex().data().toString(),
                 m_fixture->Table.Fields(m_grid->currentIndex().column())->DisplayText());
    }

    void ctrlDeleteAsksFirst_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("remaining");
        QTest::newRow("confirmed") << "OK" << 4;
        QTest::newRow("cancelled") << "Annuller" << 5;
    }
    void ctrlDeleteAsksFirst() {
        QFETCH(QString, answer);
        QFETCH(int, remaining);
        m_grid->setCurrentIndex(m_grid->Model()->index(1, 0));
        TModalAnswerer& box = m_fixture->Boxes;
        box.SetButton(answer);
        m_expectedBoxes = 1;
        QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(box.Count(), 1);
        QCOMPARE(box.Titles.value(0), QStringLiteral("Bekræft"));
        QCOMPARE(box.Texts.value(0), QStringLiteral("Slet denne post?"));
        QCOMPARE(m_fixture->Table.RecordCount(), remaining);
        QCOMPARE(m_grid->Model()->rowCount(), remaining);
        QCOMPARE(m_fixture->StoredValue(2, QStringLiteral("Foto")) == QStringLiteral("<no record>"),
                 remaining == 4);
    }

    void doubleClickIsSignalled() {
        QSignalSpy spy(m_grid, &TDBGrid::DblClick);
        const QRect cell = m_grid->visualRect(m_grid->Model()->index(2, 0));
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(m_fixture->Table.RecNo(), 3);
        QVERIFY(!m_grid->OpenEditor());
    }

    void thousandItems() {
        Make(1000);
        QCOMPARE(m_grid->Model()->rowCount(), 1000);
        m_fixture->Table.Last();
        QCOMPARE(m_grid->currentIndex().row(), 999);
        QCOMPARE(m_grid->currentIndex().sibling(999, 0).data().toString(), QStringLiteral("Item 1000"));
    }

    void onlyShownRowsAreRead() {
        auto* model = new TCountingModel;
        Make(100000, model);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(model->rowCount(), 100000);
        QCOMPARE(model->index(99999, 0).data().toString(), QStringLiteral("Item 100000"));
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
        QTest::qWait(20);
        m_grid->verticalScrollBar()->setValue(m_grid->verticalScrollBar()->maximum());
        m_fixture->Table.Last();
        QTest::qWait(20);
        m_grid->viewport()->repaint();
        QCOMPARE(m_grid->currentIndex().row(), 99999);
        QVERIFY(model->RowsRead.contains(99999));
        qInfo("100,000 rows: rowCount and data(99999) in %lld ms; %lld distinct rows read by the view",
              elapsed, qint64(model->RowsRead.size()));
        QVERIFY2(model->RowsRead.size() < 300, qPrintable(QString::number(model->RowsRead.size())));
    }

private:
    void Make(int items, TDBGridModel* model = nullptr) {
        m_fixture.reset();
        m_fixture = std::make_unique<TWidgetFixture>(items);
        auto* layout = new QVBoxLayout(m_fixture->Window.get());
        m_grid = model ? new TDBGrid(model) : new TDBGrid;
        m_grid->SetDataSource(&m_fixture->Source);
        layout->addWidget(m_grid);
        m_fixture->Open();
        QVERIFY(m_fixture->ShowWindow());
        m_grid->setFocus();
    }

    int m_expectedBoxes = 0;
    std::unique_ptr<TWidgetFixture> m_fixture;
    TDBGrid* m_grid = nullptr;
};

HABITRA_TEST(DBGridTest)
#include "DBGridTest.moc"
