#include "core/Messages.h"
#include "TestRegistry.h"

#include <QTest>

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    void dataLocation() {
        QCOMPARE(Messages::DataLocation(-1, QStringLiteral("/home/a/Habitra/")),
                 QStringLiteral(
                     "Data for dette program er placeret i: \n\r\n\r/home/a/Habitra/Data\n\r\n\r"
                     "Det er meget vigtigt, at du sikkerhedskopierer filer i datamappen mindst en gang om "
                     "dagen!\n\r\n\rVIGTIGT!\n\rDette program må IKKE være åbent under "
                     "sikkerhedskopiering af data."));
        const QString german = Messages::DataLocation(3, QStringLiteral("/p/"));
        QVERIFY(german.startsWith(
            QStringLiteral("Die Daten für dieses Programm befinden sich in: \n\r\n\r/p/Data")));
        QVERIFY(german.contains(QStringLiteral("\n\r\n\rVon großer Bedeutung!\n\rDieses Programm")));
        QVERIFY(
            Messages::DataLocation(2, QStringLiteral("/p/")).contains(QStringLiteral("VIGTIGT!\n\rDetta")));
    }

    void screenSizesIsDanishWithItsSpacing() {
        const QString text = Messages::ScreenSizes();
        QVERIFY(text.startsWith(QStringLiteral("SKÆRMSTØRRELSER\n\r\n\rI dag")));
        QVERIFY(text.contains(QStringLiteral("denne PC.  Placér")));
        QVERIFY(text.contains(QStringLiteral("eller mindre.  Indholdet")));
        QVERIFY(text.contains(QStringLiteral("størrelse. \n\r\n\rBEMÆRK\n\rDen størrelse")));
        QVERIFY(text.endsWith(QStringLiteral("næste gang du åbner dette program!")));
    }

    void firstUseAdvice() {
        QCOMPARE(Messages::FirstUseAdvice(1), Messages::FirstUseAdvice(-1));
        QCOMPARE(
            Messages::FirstUseAdvice(0),
            QStringLiteral("Before using this program, it would be a good idea, to read the on-line help!"));
        QVERIFY(Messages::FirstUseAdvice(3).contains(QStringLiteral("empfelen")));
    }

    void missingPicture() {
        QCOMPARE(Messages::MissingPicture(-1, QStringLiteral("Sofa")),
                 QStringLiteral("Der er ikke noget billede af Sofa"));
        QCOMPARE(Messages::MissingPicture(3, QStringLiteral("Sofa")),
                 QStringLiteral("Kein bild von Sofa gefunden!"));
    }
};

HABITRA_TEST(MessagesTest)
#include "MessagesTest.moc"
