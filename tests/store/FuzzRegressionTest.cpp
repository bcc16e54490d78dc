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
}

void TStoreFuzzRegressionTest::RejectedFilters() {
    QFETCH(QString, filter);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TFilterParser::Compile(filter, Resolve));
}

HABITRA_TEST(TStoreFuzzRegressionTest)
#include "FuzzRegressionTest.moc"
