#include "localisation/TextCatalogue.h"
#include "TestRegistry.h"
#include "TestWindow.h"
#include "localisation/LocalSource.h"

#include <QTest>

// Composed texts follow the language: the file's text by key, the Danish one where the file has none.
class TTextCatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheLanguage() {
        TLanguageFolder folder;
        const QString english = folder.Write(QStringLiteral("English.lng"),
                                             "[Form1]\r\nCaption=Habitra\r\n[Texts]\r\nSaved=Saved to %1\r\n"
                                             "TwoLines=\"First\"#10#13\"second\"\r\nEmpty=\r\n");
        const QString german =
            folder.Write(QStringLiteral("Deutsch.lng"), "[Texts]\r\nSaved=Gespeichert: %1\r\n");
        QObject owner;
        TLanguageSource source(&owner);
        source.SetLanguages({QStringLiteral("English=") + english, QStringLiteral("Deutsch=") + german});
        TTextCatalogue catalogue(&owner);
        catalogue.SetSource(&source);
        QCOMPARE(TTextCatalogue::Current(), &catalogue);

        QCOMPARE(LocalText("Saved", "Gemt i %1"), QStringLiteral("Gemt i %1"));
        source.SetActiveLanguage(0);
        QCOMPARE(LocalText("Saved", "Gemt i %1").arg(QStringLiteral("x")), QStringLiteral("Saved to x"));
        QCOMPARE(catalogue.Text(QStringLiteral("TwoLines"), QString()), QStringLiteral("First\n\rsecond"));
        QCOMPARE(LocalText("Empty", "Tom"), QStringLiteral("Tom"));
        QCOMPARE(LocalText("Unknown", "Ukendt æøå"), QStringLiteral("Ukendt æøå"));
        source.SetActiveLanguage(1);
        QCOMPARE(LocalText("Saved", "Gemt i %1"), QStringLiteral("Gespeichert: %1"));
        QCOMPARE(LocalText("TwoLines", "To linjer"), QStringLiteral("To linjer"));
        source.SetActiveLanguage(-1);
        QCOMPARE(LocalText("Saved", "Gemt i %1"), QStringLiteral("Gemt i %1"));
    }

    void withoutCatalogueTheDanishText() {
        QCOMPARE(TTextCatalogue::Current(), nullptr);
        QCOMPARE(LocalText("Saved", "Gemt æøå"), QStringLiteral("Gemt æøå"));
    }
};

HABITRA_TEST(TTextCatalogueTest)
#include "TextCatalogueTest.moc"
