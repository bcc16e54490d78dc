#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "catalogue/Catalogue.h"
#include "localisation/QtTranslations.h"
#include "overview/Unit2.h"
#include "store/Table.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/ErrorDisplay.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// What the user is told in his own language: errors of the store and the export with the field named
// by its caption and the engine's words on a line of their own, an empty printout, Qt's own dialogs.
class UserLanguageTest : public QObject {
    Q_OBJECT
private slots:
    void invalidValueNamesCaption_data();
    void invalidValueNamesCaption();
    void damagedTableInLanguage_data();
    void damagedTableInLanguage();
    void exportFailureInLanguage();
    void emptyPrintoutSaysSo_data();
    void emptyPrintoutSaysSo();
    void qtDialogsFollowLanguage();
};

namespace {
const QString OneAntique =
    QStringLiteral("INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Ur', 1, 'Antikviteter')");

void StartIn(TMainWindowFixture& fixture, int language) {
    fixture.Sql(QStringLiteral("Config.DB"), QStringLiteral("UPDATE Config SET Sprog = %1").arg(language));
}
} // namespace

void UserLanguageTest::invalidValueNamesCaption_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("Danish amount with a point")
        << -1 << "TabSheet1"
        << "DBEdit7"
        << "12.5"
        << "\"12.5\" er ikke et beløb, som feltet \"Værdi\" kan gemme. Skriv "
           "kun tal, og brug \",\" som decimaltegn, f.eks. 1250,50.";
    QTest::newRow("English amount, books page")
        << 0 << "TabSheet4"
        << "DBEdit7"
        << "abc"
        << "\"abc\" is not an amount the field \"Value\" can store. Type "
           "digits only, with \",\" as the decimal separator, e.g. 1250,50.";
    QTest::newRow("German amount")
        << 3 << "TabSheet1"
        << "DBEdit7"
        << "12.5"
        << "\"12.5\" ist kein Betrag, den das Feld \"Wert\" speichern kann. Geben Sie "
           "nur Ziffern ein und verwenden Sie \",\" als Dezimaltrennzeichen, z. B. 1250,50.";
    QTest::newRow("Danish date")
        << -1 << "TabSheet1"
        << "DBEdit5"
        << "31-02-2020"
        << "\"31-02-2020\" er ikke en dato, som feltet \"Købsdato\" kan gemme. Skriv datoen "
           "som 24-12-2025, eller vælg den i kalenderen.";
    QTest::newRow("English date")
        << 0 << "TabSheet1"
        << "DBEdit5"
        << "i går"
        << "\"i går\" is not a date the field \"Purchase date\" can store. Type the "
           "date like 24-12-2025, or pick it in the calendar.";
}

// A value that does not read, typed into the editor and posted: the box names the field as its label
// reads on the page, in the window's language, and the editing goes on.
void UserLanguageTest::invalidValueNamesCaption() {
    QFETCH(int, language);
    QFETCH(QString, page);
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    TMainWindowFixture fixture;
    StartIn(fixture, language);
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    fixture.SelectPage(page);
    QTest::qWait(50);
    const int before = fixture.Answerer->Count();
    auto* field = form.findChild<QLineEdit*>(edit);
    QVERIFY(field);
    TDBNavigator& navigator =
        *form.Navigator(Catalogue::FindByPage(page) - Catalogue::Categories().data() + 1);
    navigator.Button(nbInsert)->click();
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral("Ting"));
    QTest::keyClicks(field, typed);
    navigator.Button(nbPost)->click();
    QTRY_COMPARE(fixture.Answerer->Count(), before + 1);
    QCOMPARE(fixture.Answerer->Texts.last(), message);
    QCOMPARE(fixture.Answerer->Titles.last(), QStringLiteral("Habitra"));
    QCOMPARE(form.Register().HabitraTable().State(), dsInsert);
    QCOMPARE(field->text(), typed);
}

void UserLanguageTest::damagedTableInLanguage_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("Danish") << -1
                            << "Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra dette "
                               "program.\n\rfile is not a database.";
    QTest::newRow("Swedish") << 2
                             << "Tabellen \"Data/Habitra.db\" är skadad eller är inte en tabell från detta "
                                "program.\n\rfile is not a database.";
}

// The language is set from the settings table before the item table fails to open; the message says it
// in that language, with SQLite's own words as the second line.
void UserLanguageTest::damagedTableInLanguage() {
    QFETCH(int, language);
    QFETCH(QString, message);
    TMainWindowFixture fixture;
    StartIn(fixture, language);
    QFile file(QDir(fixture.Folder.DataPath()).filePath(QStringLiteral("Habitra.db")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(8192, 'x'));
    file.close();
    TForm1& form = fixture.Start();
    QTRY_COMPARE(fixture.Answerer->Count(), 1);
    // The item table opens before the stored language is set: at start the message is Danish.
    QCOMPARE(fixture.Answerer->Texts.first(),
             QStringLiteral("Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra dette "
                            "program.\n\rfile is not a database."));
    QCOMPARE(fixture.Answerer->Shown.first(),
             QStringLiteral("Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra dette "
                            "program.\nfile is not a database."));
    // Tried again once the user has chosen his language, it is said in that one.
    form.LanguageClick(language);
    ErrorDisplay::Guarded([&] { form.Register().HabitraTable().Open(); });
    QTRY_COMPARE(fixture.Answerer->Count(), 2);
    QCOMPARE(fixture.Answerer->Texts.last(), message);
}

// The export's failure from the main menu: its own fixed text is kept as the second line.
void UserLanguageTest::exportFailureInLanguage() {
    TTestPlatform& platform = TTestPlatform::Install();
    TMainWindowFixture fixture;
    StartIn(fixture, 0);
    fixture.Sql(QStringLiteral("Habitra.db"), OneAntique);
    TForm1& form = fixture.Start();
    QFile plain(fixture.Folder.FilePath(QStringLiteral("fil")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString name = fixture.Folder.FilePath(QStringLiteral("fil/ud.txt"));
    const QString folder = fixture.Folder.FilePath(QStringLiteral("fil"));
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        auto* dialog = QApplication::activeModalWidget();
        dialog->findChild<QLineEdit*>(QStringLiteral("FileNameEdit"))->setText(name);
        dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    form.Controls().Dataeksport1->trigger();
    QTRY_VERIFY(!fixture.Answerer->Texts.isEmpty());
    QCOMPARE(fixture.Answerer->Texts.last(),
             QStringLiteral("\"%1\" cannot be created.\n\rDirectory \"%1\" not found and cannot be created.")
                 .arg(folder));
    QCOMPARE(fixture.Answerer->Shown.last(),
             QStringLiteral("\"%1\" cannot be created.\nDirectory \"%1\" not found and cannot be created.")
                 .arg(folder));
    QVERIFY(platform.Opened.isEmpty());
    TTestPlatform::Uninstall();
}

void UserLanguageTest::emptyPrintoutSaysSo_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("overview");
    QTest::addColumn<QString>("message");
    QTest::newRow("picture, Danish") << -1 << false << "Der er ingen genstande at udskrive.";
    QTest::newRow("picture, German") << 3 << false << "Es gibt keine Gegenstände zum Drucken.";
    QTest::newRow("list, Danish") << -1 << true << "Der er ingen genstande at udskrive.";
    QTest::newRow("list, English") << 0 << true << "There are no items to print.";
}

// A page or a category without items: the printout says so in an information box and shows no preview.
void UserLanguageTest::emptyPrintoutSaysSo() {
    QFETCH(int, language);
    QFETCH(bool, overview);
    QFETCH(QString, message);
    TTestPlatform& platform = TTestPlatform::Install();
    TMainWindowFixture fixture;
    StartIn(fixture, language);
    fixture.Sql(QStringLiteral("Habitra.db"), OneAntique);
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    fixture.SelectPage(QStringLiteral("TabSheet2"));
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
    QTest::qWait(50);
    const int before = fixture.Answerer->Count();
    const QString filter = form.Register().HabitraTable().Filter();
    if (overview) {
        TForm2& window = *form.Form2;
        window.show();
        auto* list = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QVERIFY(list);
        // A category no item is filed under.
        list->setCurrentIndex(
            list->findText(form.Register().HabitraTable().Filter().section(QLatin1Char('\''), 1, 1)));
        QVERIFY(list->currentIndex() >= 0);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
        window.findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
    } else {
        form.Controls().SpeedButton1->click();
    }
    QTRY_COMPARE(fixture.Answerer->Count(), before + 1);
    QCOMPARE(fixture.Answerer->Texts.last(), message);
    QCOMPARE(fixture.Answerer->Titles.last(), QStringLiteral("Information"));
    QCOMPARE(platform.Previews, 0);
    // Nothing was narrowed for a printout that did not happen.
    QCOMPARE(form.Register().HabitraTable().Filter(), filter);
    form.Form2->hide();
    TTestPlatform::Uninstall();
}

// Qt's own buttons (file dialog, print dialog, preview) speak the chosen language, and change with it.
void UserLanguageTest::qtDialogsFollowLanguage() {
    TMainWindowFixture fixture;
    TForm1& form = fixture.Start();
    const auto cancel = [] {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    };
    QCOMPARE(form.QtTranslations1->Installed(), QStringLiteral("qt_da"));
    QCOMPARE(cancel(), QStringLiteral("Annuller"));
    form.LanguageClick(3);
    QCOMPARE(form.QtTranslations1->Installed(), QStringLiteral("qt_de"));
    QCOMPARE(cancel(), QStringLiteral("Abbrechen"));
    form.LanguageClick(0);
    QCOMPARE(form.QtTranslations1->Installed(), QString());
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
    form.LanguageClick(2);
    // Debian's Swedish catalogue is an older, smaller one: it is used as far as it goes.
    QCOMPARE(form.QtTranslations1->Installed(), QStringLiteral("qt_sv"));
    // Norwegian has Qt's Nynorsk catalogue on Debian.
    form.LanguageClick(1);
    QVERIFY2(form.QtTranslations1->Installed().startsWith(QLatin1String("qt_n")),
             qPrintable(form.QtTranslations1->Installed()));
    QCOMPARE(cancel(), QStringLiteral("Avbryt"));
}

HABITRA_TEST(UserLanguageTest)
#include "UserLanguageTest.moc"
