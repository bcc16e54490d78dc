#include "TestRegistry.h"

#include "import/ImportConventions.h"

#include <QTest>

// Amounts and dates read by the chosen convention, and the convention a file's values point to.
class TConventionsTest : public QObject {
    Q_OBJECT
private slots:
    void Amounts_data();
    void Amounts();
    void Dates_data();
    void Dates();
    void Detection_data();
    void Detection();
};

void TConventionsTest::Amounts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimal");
    QTest::addColumn<qint64>("cents"); // -1: not an amount
    QTest::newRow("grouped, decimal comma") << "1.234,50" << int(dcComma) << qint64(123450);
    QTest::newRow("grouped, decimal point") << "1,234.50" << int(dcPoint) << qint64(123450);
    QTest::newRow("plain point") << "1234.5" << int(dcPoint) << qint64(123450);
    QTest::newRow("plain comma") << "1234,5" << int(dcComma) << qint64(123450);
    QTest::newRow("whole") << "250" << int(dcComma) << qint64(25000);
    QTest::newRow("negative") << "-12,75" << int(dcComma) << qint64(-1275);
    QTest::newRow("blank grouping and currency") << "kr. 12 345,00" << int(dcComma) << qint64(1234500);
    QTest::newRow("currency after, no-break blank") << "1\u00A0234,50 kr" << int(dcComma) << qint64(123450);
    QTest::newRow("point under comma convention") << "1234.5" << int(dcComma) << qint64(-1);
    QTest::newRow("comma grouping under comma convention") << "1,234.50" << int(dcComma) << qint64(-1);
    QTest::newRow("comma groups thousands under the point") << "12,345" << int(dcPoint) << qint64(1234500);
    QTest::newRow("more than two decimals") << "1,234" << int(dcComma) << qint64(-1);
    QTest::newRow("text") << "ca. 500" << int(dcComma) << qint64(-1);
    QTest::newRow("number with a word") << "12 stk" << int(dcComma) << qint64(-1);
}

void TConventionsTest::Amounts() {
    QFETCH(QString, text);
    QFETCH(int, decimal);
    QFETCH(qint64, cents);
    TImportConventions conventions;
    conventions.Decimal = TDecimalConvention(decimal);
    const auto amount = conventions.ReadAmount(text);
    QCOMPARE(amount ? amount->Cents() : -1, cents);
}

void TConventionsTest::Dates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("order");
    QTest::addColumn<QDate>("date"); // invalid: not a date
    QTest::newRow("dash, day first") << "31-12-2024" << int(doDayMonthYear) << QDate(2024, 12, 31);
    QTest::newRow("dot, day first") << "31.12.2024" << int(doDayMonthYear) << QDate(2024, 12, 31);
    QTest::newRow("ISO under day first") << "2024-12-31" << int(doDayMonthYear) << QDate(2024, 12, 31);
    QTest::newRow("month first") << "12/31/2024" << int(doMonthDayYear) << QDate(2024, 12, 31);
    QTest::newRow("the same digits by the other order")
        << "05-04-2024" << int(doMonthDayYear) << QDate(2024, 5, 4);
    QTest::newRow("two-digit year this century") << "1.2.24" << int(doDayMonthYear) << QDate(2024, 2, 1);
    QTest::newRow("two-digit year in the past century")
        << "1.2.85" << int(doDayMonthYear) << QDate(1985, 2, 1);
    QTest::newRow("ISO with a midnight time")
        << "2024-12-31 00:00:00" << int(doDayMonthYear) << QDate(2024, 12, 31);
    QTest::newRow("no 13th month") << "12-31-2024" << int(doDayMonthYear) << QDate();
    QTest::newRow("no 30 February") << "30-02-2024" << int(doDayMonthYear) << QDate();
    QTest::newRow("mixed separators") << "31-12.2024" << int(doDayMonthYear) << QDate();
    QTest::newRow("words") << "jul 2020" << int(doDayMonthYear) << QDate();
}

void TConventionsTest::Dates() {
    QFETCH(QString, text);
    QFETCH(int, order);
    QFETCH(QDate, date);
    TImportConventions conventions;
    conventions.DateOrder = TDateOrder(order);
    const auto read = conventions.ReadDate(text, QDate(2026, 6, 1));
    QCOMPARE(read.value_or(QDate()), date);
}

void TConventionsTest::Detection_data() {
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("decimal");
    QTest::addColumn<int>("order");
    QTest::newRow("own export") << QStringList{"1.234,50", "100,00"}
                                << QStringList{"31-12-2024", "01-02-2023"} << int(dcComma)
                                << int(doDayMonthYear);
    QTest::newRow("English spreadsheet")
        << QStringList{"1,234.50", "99.9"} << QStringList{"12/31/2024", "2/3/2023"} << int(dcPoint)
        << int(doMonthDayYear);
    QTest::newRow("nothing tells: the fallback")
        << QStringList{"1000", "250"} << QStringList{"01-02-2023"} << int(dcComma) << int(doDayMonthYear);
    QTest::newRow("ISO dates keep the fallback")
        << QStringList{"12.5"} << QStringList{"2024-12-31"} << int(dcPoint) << int(doDayMonthYear);
}

void TConventionsTest::Detection() {
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, dates);
    QFETCH(int, decimal);
    QFETCH(int, order);
    const TImportConventions detected = TImportConventions::Detect(amounts, dates, TImportConventions{});
    QCOMPARE(int(detected.Decimal), decimal);
    QCOMPARE(int(detected.DateOrder), order);
}

HABITRA_TEST(TConventionsTest)
#include "ConventionsTest.moc"
