#include "TestRegistry.h"

#include "overview/ColumnSizer.h"

#include <QTest>
#include <numeric>

// Sharing a grid's width among its columns.
class ColumnSizerTest : public QObject {
    Q_OBJECT
private slots:
    void widthsShareTheWindow_data() {
        QTest::addColumn<QList<int>>("natural");
        QTest::addColumn<QList<int>>("minimum");
        QTest::addColumn<int>("available");
        QTest::addColumn<int>("spare");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("room to spare goes to one column")
            << QList<int>{100, 50, 80} << QList<int>{60, 40, 50} << 300 << 0 << QList<int>{170, 50, 80};
        QTest::newRow("exactly fitting")
            << QList<int>{100, 50, 80} << QList<int>{60, 40, 50} << 230 << 2 << QList<int>{100, 50, 80};
        // 30 too wide; the others have 10 + 30 = 40 above their minimums, taken in proportion.
        QTest::newRow("the others narrowed in proportion")
            << QList<int>{100, 50, 80} << QList<int>{60, 40, 50} << 200 << 0 << QList<int>{100, 43, 57};
        QTest::newRow("then the spare column")
            << QList<int>{100, 50, 80} << QList<int>{60, 40, 50} << 170 << 0 << QList<int>{80, 40, 50};
        QTest::newRow("columns at their minimum keep it")
            << QList<int>{100, 40, 80} << QList<int>{60, 40, 80} << 160 << 0 << QList<int>{60, 40, 80};
        QTest::newRow("too small a window scrolls at the minimums")
            << QList<int>{100, 50, 80} << QList<int>{60, 40, 50} << 100 << 0 << QList<int>{60, 40, 50};
        QTest::newRow("rounding left over is taken too")
            << QList<int>{101, 101, 101} << QList<int>{1, 1, 1} << 301 << 1 << QList<int>{100, 101, 100};
        QTest::newRow("no columns") << QList<int>{} << QList<int>{} << 500 << 0 << QList<int>{};
    }
    void widthsShareTheWindow() {
        QFETCH(QList<int>, natural);
        QFETCH(QList<int>, minimum);
        QFETCH(int, available);
        QFETCH(int, spare);
        QFETCH(QList<int>, widths);
        const QList<int> fitted = TColumnSizer::Fit(natural, minimum, available, spare);
        QCOMPARE(fitted, widths);
        const int total = std::accumulate(fitted.begin(), fitted.end(), 0);
        const int least = std::accumulate(minimum.begin(), minimum.end(), 0);
        QVERIFY(total == available || (total == least && least > available) || fitted.isEmpty());
    }
};

HABITRA_TEST(ColumnSizerTest)
#include "ColumnSizerTest.moc"
