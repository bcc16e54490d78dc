#include "TestRegistry.h"

#include "store/FormatSettings.h"
#include "store/Money.h"
#include "store/NumberFormat.h"

#include <QTest>
#include <optional>

// Exact amounts: reading what the user types, writing them back, and the display masks.
class TMoneyTest : public QObject {
    Q_OBJECT
private slots:
    void Parse_data();
    void Parse();
    void Format_data();
    void Format();
    void Masks_data();
    void Masks();
};

namespace {
TFormatSettings Settings(bool danish) {
    return danish ? TFormatSettings::Danish() : TFormatSettings::English();
}
} // namespace

void TMoneyTest::Parse_data() {
    QTest::addColumn<bool>("danish");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("da whole") << true << QStringLiteral("1234") << true << qint64(123400);
    QTest::newRow("da comma") << true << QStringLiteral("1234,5") << true << qint64(123450);
    QTest::newRow("da grouped") << true << QStringLiteral("1.234.567,89") << true << qint64(123456789);
    QTest::newRow("da negative") << true << QStringLiteral("-1.234,05") << true << qint64(-123405);
    QTest::newRow("da spaces") << true << QStringLiteral("  12,50 ") << true << qint64(1250);
    QTest::newRow("da plus") << true << QStringLiteral("+7") << true << qint64(700);
    QTest::newRow("da zero") << true << QStringLiteral("0,00") << true << qint64(0);
    QTest::newRow("da point is grouping") << true << QStringLiteral("12.34") << false << qint64(0);
    QTest::newRow("da three decimals") << true << QStringLiteral("1,234") << false << qint64(0);
    QTest::newRow("da letters") << true << QStringLiteral("12 kr") << false << qint64(0);
    QTest::newRow("da only sign") << true << QStringLiteral("-") << false << qint64(0);
    QTest::newRow("da empty") << true << QString() << false << qint64(0);
    QTest::newRow("da two commas") << true << QStringLiteral("1,2,3") << false << qint64(0);
    QTest::newRow("da too large") << true << QStringLiteral("92233720368547759") << false << qint64(0);
    QTest::newRow("da largest") << true << QStringLiteral("92233720368547757,99") << true
                                << qint64(9223372036854775799);
    QTest::newRow("en point") << false << QStringLiteral("1234.5") << true << qint64(123450);
    QTest::newRow("en grouped") << false << QStringLiteral("1,234,567.89") << true << qint64(123456789);
    QTest::newRow("en negative") << false << QStringLiteral("-0.05") << true << qint64(-5);
    QTest::newRow("en comma is grouping") << false << QStringLiteral("12,5") << false << qint64(0);
    QTest::newRow("en bad group") << false << QStringLiteral("1,23,456") << false << qint64(0);
}

void TMoneyTest::Parse() {
    QFETCH(bool, danish);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, cents);
    const std::optional<TMoney> money = TMoney::Parse(text, Settings(danish));
    QCOMPARE(money.has_value(), valid);
    if (valid) {
        QCOMPARE(money->Cents(), cents);
        // What is written back reads as the same amount.
        QCOMPARE(TMoney::Parse(money->ToString(Settings(danish)), Settings(danish)), money);
    }
}

void TMoneyTest::Format_data() {
    QTest::addColumn<bool>("danish");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("general");
    QTest::newRow("da whole") << true << qint64(123400) << QStringLiteral("1234,00")
                              << QStringLiteral("1234");
    QTest::newRow("da tenths") << true << qint64(123450) << QStringLiteral("1234,50")
                               << QStringLiteral("1234,5");
    QTest::newRow("da øre") << true << qint64(5) << QStringLiteral("0,05") << QStringLiteral("0,05");
    QTest::newRow("da negative") << true << qint64(-250) << QStringLiteral("-2,50") << QStringLiteral("-2,5");
    QTest::newRow("da zero") << true << qint64(0) << QStringLiteral("0,00") << QStringLiteral("0");
    QTest::newRow("da ten") << true << qint64(1000) << QStringLiteral("10,00") << QStringLiteral("10");
    QTest::newRow("en tenths") << false << qint64(123450) << QStringLiteral("1234.50")
                               << QStringLiteral("1234.5");
    QTest::newRow("en negative") << false << qint64(-1) << QStringLiteral("-0.01") << QStringLiteral("-0.01");
    QTest::newRow("smallest") << false << std::numeric_limits<qint64>::min()
                              << QStringLiteral("-92233720368547758.08")
                              << QStringLiteral("-92233720368547758.08");
}

void TMoneyTest::Format() {
    QFETCH(bool, danish);
    QFETCH(qint64, cents);
    QFETCH(QString, plain);
    QFETCH(QString, general);
    const TMoney money = TMoney::FromCents(cents);
    QCOMPARE(money.ToString(Settings(danish)), plain);
    QCOMPARE(money.ToGeneralString(Settings(danish)), general);
}

void TMoneyTest::Masks_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("danish");
    QTest::addColumn<QString>("shown");
    const QString integer = QStringLiteral("#,###,##0");
    const QString decimal = QStringLiteral("#,###,##0.00");
    const QString kroner = QStringLiteral("Kr ###,##0.00");
    QTest::newRow("integer") << integer << qint64(1234567) << 0 << true << QStringLiteral("1.234.567");
    QTest::newRow("decimal") << decimal << qint64(123450) << 2 << true << QStringLiteral("1.234,50");
    QTest::newRow("kroner") << kroner << qint64(1234550) << 2 << true << QStringLiteral("Kr 12.345,50");
    QTest::newRow("kroner english") << kroner << qint64(1234550) << 2 << false
                                    << QStringLiteral("Kr 12,345.50");
    QTest::newRow("decimal english") << decimal << qint64(123450) << 2 << false << QStringLiteral("1,234.50");
    QTest::newRow("no grouping needed") << decimal << qint64(99999) << 2 << true << QStringLiteral("999,99");
    QTest::newRow("zero integer") << integer << qint64(0) << 0 << true << QStringLiteral("0");
    QTest::newRow("zero decimal") << decimal << qint64(0) << 2 << true << QStringLiteral("0,00");
    QTest::newRow("zero kroner") << kroner << qint64(0) << 2 << true << QStringLiteral("Kr 0,00");
    QTest::newRow("negative integer")
        << integer << qint64(-1234567) << 0 << true << QStringLiteral("-1.234.567");
    QTest::newRow("negative decimal")
        << decimal << qint64(-123450) << 2 << true << QStringLiteral("-1.234,50");
    QTest::newRow("negative below one") << decimal << qint64(-5) << 2 << true << QStringLiteral("-0,05");
    QTest::newRow("rounds half up") << integer << qint64(12345) << 1 << true << QStringLiteral("1.235");
    QTest::newRow("rounds down") << integer << qint64(12344) << 1 << true << QStringLiteral("1.234");
    QTest::newRow("rounds negative half away") << integer << qint64(-25) << 1 << true << QStringLiteral("-3");
    QTest::newRow("rounds to zero, no sign") << integer << qint64(-4) << 1 << true << QStringLiteral("0");
    QTest::newRow("rounds into a new group")
        << decimal << qint64(99999995) << 4 << true << QStringLiteral("10.000,00");
    QTest::newRow("two decimals from four")
        << decimal << qint64(1234567) << 4 << true << QStringLiteral("123,46");
    QTest::newRow("integer value, decimal mask")
        << decimal << qint64(7) << 0 << true << QStringLiteral("7,00");
    QTest::newRow("optional decimals")
        << QStringLiteral("0.##") << qint64(150) << 2 << true << QStringLiteral("1,5");
    QTest::newRow("optional whole digits")
        << QStringLiteral("#.00") << qint64(5) << 2 << true << QStringLiteral(",05");
    QTest::newRow("no grouping in mask")
        << QStringLiteral("0.00") << qint64(123456789) << 2 << true << QStringLiteral("1234567,89");
    QTest::newRow("suffix") << QStringLiteral("#,##0 kr.") << qint64(2500) << 0 << true
                            << QStringLiteral("2.500 kr.");
    QTest::newRow("largest") << integer << std::numeric_limits<qint64>::max() << 0 << true
                             << QStringLiteral("9.223.372.036.854.775.807");
}

void TMoneyTest::Masks() {
    QFETCH(QString, mask);
    QFETCH(qint64, units);
    QFETCH(int, scale);
    QFETCH(bool, danish);
    QFETCH(QString, shown);
    QCOMPARE(FormatNumber(mask, units, scale, Settings(danish)), shown);
    // A mask read once serves a whole column: an earlier value leaves nothing behind.
    const TNumberMask kept(mask);
    kept.Format(-987654321, 3, Settings(!danish));
    QCOMPARE(kept.Format(units, scale, Settings(danish)), shown);
    if (scale == 2) {
        QCOMPARE(FormatNumber(mask, TMoney::FromCents(units), Settings(danish)), shown);
    }
}

HABITRA_TEST(TMoneyTest)
#include "MoneyTest.moc"
