#include "store/ProgramSettings.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The program's own settings live in a table file of their own, made when absent and kept at once.
class TProgramSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void keptAcrossOpenings() {
        QTemporaryDir dir;
        {
            TProgramSettings settings;
            settings.Open(dir.path());
            QVERIFY(settings.IsOpen());
            QVERIFY(!settings.IsReadOnly());
            QCOMPARE(settings.Value(QStringLiteral("Ejer"), QStringLiteral("-")), QStringLiteral("-"));
            settings.SetValue(QStringLiteral("Ejer"), QStringLiteral("Åse \"Ø\" O'Neil"));
            settings.SetValue(QStringLiteral("Bredder"), QStringLiteral("80,120"));
            settings.SetValue(QStringLiteral("Bredder"), QStringLiteral("90,120"));
            settings.SetValue(QStringLiteral("Slettes"), QStringLiteral("x"));
            settings.Remove(QStringLiteral("Slettes"));
        }
        QVERIFY(QFile::exists(dir.filePath(TProgramSettings::FileName())));
        TProgramSettings settings;
        settings.Open(dir.path());
        QCOMPARE(settings.Value(QStringLiteral("Ejer")), QStringLiteral("Åse \"Ø\" O'Neil"));
        QCOMPARE(settings.Value(QStringLiteral("Bredder")), QStringLiteral("90,120"));
        QVERIFY(!settings.Contains(QStringLiteral("Slettes")));
        QCOMPARE(QueryFile(dir.filePath(TProgramSettings::FileName()),
                           QStringLiteral("SELECT count(*) FROM Indstillinger")),
                 QStringList{QStringLiteral("2")});
    }

    // A folder that is missing or not a database leaves defaults, and writing says why.
    void unusableFileLeavesDefaults() {
        QTemporaryDir dir;
        QFile garbage(dir.filePath(TProgramSettings::FileName()));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'x'));
        garbage.close();
        for (const QString& folder : {dir.path(), dir.filePath(QStringLiteral("missing/folder"))}) {
            TProgramSettings settings;
            settings.Open(folder);
            QVERIFY(settings.IsReadOnly());
            QCOMPARE(settings.Value(QStringLiteral("Ejer"), QStringLiteral("-")), QStringLiteral("-"));
            QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                     settings.SetValue(QStringLiteral("Ejer"), QStringLiteral("x")));
            QCOMPARE(settings.Value(QStringLiteral("Ejer"), QStringLiteral("-")), QStringLiteral("-"));
        }
    }
};

HABITRA_TEST(TProgramSettingsTest)
#include "ProgramSettingsTest.moc"
