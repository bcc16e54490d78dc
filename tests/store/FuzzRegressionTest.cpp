#include "TestRegistry.h"

#include "store/Error.h"
#include "store/FilterParser.h"

#include <QTest>

// Inputs the fuzz targets found faults with.
class TStoreFuzzRegressionTest : public QObject {
    Q_OBJECT
private slots:
    void RejectedFilters_data();
    void RejectedFilters();
    void NestingWithinBoundsCompiles();
};

namespace {
std::pair<QString, QVariant> Resolve(const QString& field, const QString& literal) {
    return {field, literal.isEmpty() ? QVariant() : QVariant(literal)};
}
} // namespace

void TStoreFuzzRegressionTest::RejectedFilters_data() {
    QTest::addColumn<QString>("filter");
    // ">>" was taken as one operator and went into the SQL as a bit shift.
    QTest::newRow("shift of a text") << QStringLiteral("Beskrivelse >> ''");
    QTest::newRow("shift of a number") << QStringLiteral("Foto >> 1");
    // Each level recursed until the stack ran out.
    QTest::newRow("deep parentheses") << QString(1000000, QLatin1Char('('));
    QTest::newRow("deep not") << QStringLiteral("not ").repeated(300000) + QStringLiteral("Foto = 1");
}

void TStoreFuzzRegressionTest::RejectedFilters() {
    QFETCH(QString, filter);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TFilterParser::Compile(filter, Resolve));
}

void TStoreFuzzRegressionTest::NestingWithinBoundsCompiles() {
    const QString filter =
        QStringLiteral("(not ").repeated(90) + QStringLiteral("Foto = 1") + QString(90, QLatin1Char(')'));
    QCOMPARE(TFilterParser::Compile(filter, Resolve).Parameters.size(), size_t(1));
}

HABITRA_TEST(TStoreFuzzRegressionTest)
#include "FuzzRegressionTest.moc"
