#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "store/Table.h"
#include "ui_Unit1.h"

#include <QMenuBar>
#include <QScreen>
#include <QTest>

// Start-up and shutdown of the main window: the stored settings, the first-use advice and the
// failure paths.
class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void storedLanguage_data() {
        QTest::addColumn<QString>("sprog");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("error");
        QTest::newRow("Danish") << "-1" << -1 << "Dansk"
                                << "";
        QTest::newRow("Swedish") << "2" << 2 << "Svensk"
                                 << "";
        QTest::newRow("blank reads as 0: English") << "NULL" << 0 << "English"
                                                   << "";
        QTest::newRow("out of range stays Danish") << "7" << -1 << "Dansk"
                                                   << "Index out of bounds (7)";
    }
    void storedLanguage() {
        QFETCH(QString, sprog);
        QFETCH(int, language);
        QFETCH(QString, label);
        QFETCH(QString, error);
        TMainWindowFixture fixture;
        fixture.Sql(QStringLiteral("Config.DB"), QStringLiteral("UPDATE Config SET Sprog = %1").arg(sprog));
        TForm1& form = fixture.Start();
        QCOMPARE(form.ActiveLanguage(), language);
        QCOMPARE(form.Controls().Sproget->text(), label);
        if (error.isEmpty()) {
            QVERIFY(form.Register().HabitraTable().Filtered());
            QCOMPARE(form.Register().HabitraTable().Filter(), QStringLiteral("Kategori = 'Antikviteter'"));
        } else {
            QTRY_VERIFY(fixture.Answerer->Texts.contains(error));
            QVERIFY(!form.Register().HabitraTable().Filtered()); // the remaining steps were skipped
        }
        form.close();
        QCOMPARE(fixture.ConfigRow().section(QLatin1Char('|'), 2), QString::number(language));
    }

    void storedSizeAndCloseSavesIt() {
        TMainWindowFixture fixture;
        fixture.Sql(QStringLiteral("Config.DB"),
                    QStringLiteral("UPDATE Config SET Hojde = 600, Bredde = 900"));
        TForm1& form = fixture.Start();
        QCOMPARE(form.size(), QSize(900, 600));
        form.resize(1000, 700);
        form.LanguageClick(3);
        form.close();
        QCOMPARE(fixture.ConfigRow(), QStringLiteral("700|1000|3"));
    }

    // A blank size reads as 0: the window opens at the smallest size, on screen, and can be enlarged.
    void blankSizeStartsSmallestAndGrows_data() {
        QTest::addColumn<QString>("update");
        QTest::newRow("both blank") << "Hojde = NULL, Bredde = NULL";
        QTest::newRow("height blank") << "Hojde = NULL, Bredde = 700";
        QTest::newRow("width zero") << "Hojde = 500, Bredde = 0";
    }
    void blankSizeStartsSmallestAndGrows() {
        QFETCH(QString, update);
        TMainWindowFixture fixture;
        fixture.Sql(QStringLiteral("Config.DB"), QStringLiteral("UPDATE Config SET %1").arg(update));
        TForm1& form = fixture.Start();
        const QSize smallest = form.SmallestSize();
        QVERIFY2(smallest.width() >= form.menuBar()->sizeHint().width() &&
                     smallest.height() > form.menuBar()->height(),
                 qPrintable(QStringLiteral("%1x%2").arg(smallest.width()).arg(smallest.height())));
        const QSize expected(update.contains(QLatin1String("Bredde = 700")) ? 700 : smallest.width(),
                             update.contains(QLatin1String("Hojde = 500")) ? 500 : smallest.height());
        QCOMPARE(form.size(), expected);
        QVERIFY(form.isVisible());
        QVERIFY(form.screen()->availableGeometry().contains(form.frameGeometry()));
        QVERIFY(form.Controls().MainMenu1->isVisible());
        // The frame can be dragged larger: nothing holds the window at its small size.
        QCOMPARE(form.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        form.resize(780, 560);
        QCOMPARE(form.size(), QSize(780, 560));
        form.close();
        QCOMPARE(fixture.ConfigRow(), QStringLiteral("560|780|-1"));
    }

    void firstUseAdvice_data() {
        QTest::addColumn<QString>("kategori");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("advised");
        QTest::newRow("empty register") << "" << -1 << true;
        QTest::newRow("an antique") << "Antikviteter" << -1 << false;
        QTest::newRow("items, none an antique") << "Møbler" << -1 << true;
        QTest::newRow("English antique is not the Danish page's") << "Antigues" << -1 << true;
        QTest::newRow("Norwegian reads the Danish advice") << "" << 1 << true;
    }
    void firstUseAdvice() {
        QFETCH(QString, kategori);
        QFETCH(int, language);
        QFETCH(bool, advised);
        TMainWindowFixture fixture;
        fixture.Sql(QStringLiteral("Config.DB"),
                    QStringLiteral("UPDATE Config SET Sprog = %1").arg(language));
        if (!kategori.isEmpty()) {
            fixture.Sql(QStringLiteral("Habitra.db"),
                        QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori) VALUES ('Ur', '%1')")
                            .arg(kategori));
        }
        fixture.Start();
        QTest::qWait(100);
        const QString danish =
            QStringLiteral("Inden du anvender programmet, vil det være en god ide, at læse "
                           "vejledningen til programmet");
        QCOMPARE(fixture.Answerer->Texts.contains(danish), advised);
        if (advised) {
            QCOMPARE(fixture.Answerer->Titles.value(fixture.Answerer->Texts.indexOf(danish)),
                     QStringLiteral("Information"));
        }
    }

    void missingDataFolder() {
        TMainWindowFixture fixture;
        QVERIFY(QDir(fixture.Folder.DataPath()).removeRecursively());
        TForm1& form = fixture.Start();
        QTRY_COMPARE(fixture.Answerer->Count(), 1);
        QVERIFY(fixture.Answerer->Texts.first().contains(QStringLiteral("Config.DB")));
        QCOMPARE(fixture.Answerer->Titles.first(), QStringLiteral("Habitra"));
        QCOMPARE(form.size(), QSize(1024, 564));
        QCOMPARE(form.ActiveLanguage(), -1);
        form.close(); // nothing to save, nothing reported
        QTest::qWait(50);
        QCOMPARE(fixture.Answerer->Count(), 1);
    }

    void laterTableFailingStoresDesignSize() {
        TMainWindowFixture fixture;
        fixture.Sql(QStringLiteral("Config.DB"), QStringLiteral("UPDATE Config SET Hojde = 600, Sprog = 2"));
        QVERIFY(QFile::remove(QDir(fixture.Folder.DataPath()).filePath(QStringLiteral("Habitra.db"))));
        TForm1& form = fixture.Start();
        QTRY_VERIFY(!fixture.Answerer->Texts.isEmpty());
        QVERIFY(fixture.Answerer->Texts.first().contains(QStringLiteral("Habitra.db")));
        form.close();
        QCOMPARE(fixture.ConfigRow(), QStringLiteral("564|1024|-1"));
    }
};

HABITRA_TEST(StartupTest)
#include "StartupTest.moc"
