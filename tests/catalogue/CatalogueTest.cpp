#include "catalogue/Catalogue.h"
#include "TestRegistry.h"

#include <QSet>
#include <QTest>

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void valuesAreExact_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("value");
        QTest::newRow("antiques in English keep their misspelling") << "TabSheet1" << 0 << "Antigues";
        QTest::newRow("books in German") << "TabSheet2" << 3 << "Bücherer";
        QTest::newRow("furniture in Swedish") << "TabSheet9" << 2 << "Möbel";
        QTest::newRow("software in Norwegian, small p") << "TabSheet11" << 1 << "PC-programvare";
        QTest::newRow("clothes in English") << "TabSheet15" << 0 << "Clothes/Shooes";
        QTest::newRow("cameras in Danish") << "TabSheet21" << -1 << "Fotoudstyr";
        QTest::newRow("music media in English") << "TabSheet7" << 0 << "Music media";
    }
    void valuesAreExact() {
        QFETCH(QString, page);
        QFETCH(int, language);
        QFETCH(QString, value);
        const auto* category = Catalogue::FindByPage(page);
        QVERIFY(category);
        QCOMPARE(Catalogue::CategoryValue(*category, language), value);
        QCOMPARE(Catalogue::FindByValue(value), category);
    }

    void noValueBelongsToTwoCategories() {
        QHash<QString, QString> owner;
        for (const auto& category : Catalogue::Categories()) {
            for (int language = -1; language <= 3; ++language) {
                const QString value = Catalogue::CategoryValue(category, language);
                const QString page = QString::fromLatin1(category.Page);
                QVERIFY2(owner.value(value, page) == page, qPrintable(value));
                owner.insert(value, page);
            }
        }
        QVERIFY(!Catalogue::FindByValue(QStringLiteral("antikviteter")));
    }

    void labelSets_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("books, Danish")
            << "TabSheet2" << -1 << QStringList{"Titel", "Forfatter", "Forlag", "ISBN-nr."};
        QTest::newRow("books, English")
            << "TabSheet2" << 0 << QStringList{"Titel", "Author", "Publisher", "ISBN-no."};
        QTest::newRow("antiques, Norwegian")
            << "TabSheet1" << 1 << QStringList{"Beskrivelse", "Fabrikat", "Årstall", "Identifikasjon"};
        QTest::newRow("software, German")
            << "TabSheet11" << 3 << QStringList{"Beschreibung", "Fabrikat", "Version", "Licensnr."};
        QTest::newRow("music media, Swedish")
            << "TabSheet7" << 2 << QStringList{"Titel", "Kunstner", "Musikforlag", "Identifikation"};
        QTest::newRow("tools, English standard set")
            << "TabSheet17" << 0 << QStringList{"Description", "Manufacture", "Model", "Identification"};
    }
    void labelSets() {
        QFETCH(QString, page);
        QFETCH(int, language);
        QFETCH(QStringList, labels);
        QCOMPARE(Catalogue::Labels(*Catalogue::FindByPage(page), language), labels);
    }

    void pageOrders() {
        for (int language = -1; language <= 3; ++language) {
            const QStringList order = Catalogue::PageOrder(language);
            QCOMPARE(order.size(), Catalogue::CategoryCount);
            QCOMPARE(QSet<QString>(order.begin(), order.end()).size(), Catalogue::CategoryCount);
            QCOMPARE(order.first(), QStringLiteral("TabSheet1"));
            QCOMPARE(order.at(19), QStringLiteral("TabSheet16"));
            QCOMPARE(order.at(20), QStringLiteral("TabSheet17"));
        }
        QCOMPARE(Catalogue::PageOrder(0).at(1),
                 QStringLiteral("TabSheet18")); // Kunstgenstande second in English
        QCOMPARE(Catalogue::PageOrder(2).at(2), QStringLiteral("TabSheet11")); // PC-Software third in Swedish
        QCOMPARE(Catalogue::PageOrder(3).at(18), QStringLiteral("TabSheet3")); // Diverse 19th in German
    }
};

HABITRA_TEST(CatalogueTest)
#include "CatalogueTest.moc"
