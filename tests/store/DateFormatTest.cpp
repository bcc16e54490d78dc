#include "TestRegistry.h"

#include "store/NumberFormat.h"

#include <QTest>

// Dates written through the short cut for plain day-month-year patterns read exactly as QDate writes them.
class TDateFormatTest : public QObject {
    Q_OBJECT
private slots:
    void SameAsQDate_data() {
        QTest::addColumn<QString>("pattern");
        for (const char* pattern :
             {"dd-MM-yyyy", "yyyy-MM-dd", "dd.MM.yyyy", "d/M/yyyy", "dd/MM/yy", "ddMMyyyy", "d. M. yy",
              "dd MM yyyy", "-- dd --", "M", "", "yyy", "yyyyy", "ddd dd-MM", "dddd d. MMMM yyyy",
              "'den' dd-MM-yyyy", "dd-MM-yyyy hh:mm", "d-MMM-y"}) {
            QTest::newRow(pattern) << QString::fromLatin1(pattern);
        }
    }
    void SameAsQDate() {
        QFETCH(QString, pattern);
        const QDate dates[] = {
            QDate(2024, 3, 5),   QDate(1999, 12, 31), QDate(2000, 1, 1), QDate(999, 1, 2),   QDate(5, 10, 20),
            QDate(9999, 12, 31), QDate(10000, 1, 1),  QDate(-44, 3, 15), QDate(2024, 2, 29), QDate()};
        for (const QDate& date : dates) {
            QCOMPARE(FormatDate(date, pattern), date.toString(pattern));
        }
    }
};

HABITRA_TEST(TDateFormatTest)
#include "DateFormatTest.moc"
