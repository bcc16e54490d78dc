#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "catalogue/Catalogue.h"
#include "store/Table.h"
#include "toolkit/DBNavigator.h"
#include "ui_Unit1.h"

#include <QTabBar>
#include <QTest>
#include <QToolButton>

// Category pages, the item editor, new-item defaults and the menu of the main window.
class EditorTest : public QObject {
    Q_OBJECT

    static QString Text(TForm1& form, const char* field) {
        return form.Register().HabitraTable().FieldByName(QLatin1String(field))->AsString();
    }
    static QStringList Labels(TForm1& form) {
        const auto& ui = form.Controls();
        return {ui.Label9->text(), ui.Label10->text(), ui.Label11->text(), ui.Label12->text()};
    }
    static QStringList TabOrder(TForm1& form) {
        QStringList pages;
        for (int i = 0; i < form.Controls().PageControl1->count(); ++i) {
            pages << form.Controls().PageControl1->widget(i)->objectName();
        }
        return pages;
    }

private slots:
    void pagesFilterAndRelabel() {
        TMainWindowFixture fixture;
        fixture.Sql(
            QStringLiteral("Habitra.db"),
            QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori) VALUES ('Kongens fald', 'Bøger'), "
                           "('Ulysses', 'Books'), ('Stol', 'Möbel'), ('Bord', 'Møbler')"));
        TForm1& form = fixture.Start();
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Kongens fald"));
        QCOMPARE(Labels(form), (QStringList{"Titel", "Forfatter", "Forlag", "ISBN-nr."}));

        form.LanguageClick(0);
        // A switch runs no page change: the Danish filter stays and the labels are the language file's.
        QCOMPARE(form.Register().HabitraTable().Filter(), QStringLiteral("Kategori = 'Bøger'"));
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Kongens fald"));
        QVERIFY(Labels(form) != (QStringList{"Titel", "Author", "Publisher", "ISBN-no."}));
        fixture.SelectPage(QStringLiteral("TabSheet9"));
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(Labels(form), (QStringList{"Titel", "Author", "Publisher", "ISBN-no."}));
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Ulysses"));

        form.LanguageClick(2); // Swedish and German share "Möbel"
        fixture.SelectPage(QStringLiteral("TabSheet9"));
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Stol"));
        form.LanguageClick(3);
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        fixture.SelectPage(QStringLiteral("TabSheet9"));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Stol"));
    }

    void pageOrderFollowsLanguage() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        fixture.SelectPage(QStringLiteral("TabSheet11"));
        for (int language : {0, 3, 1, 0, 2, -1, 3}) {
            form.LanguageClick(language);
            QCOMPARE(TabOrder(form), Catalogue::PageOrder(language));
            QCOMPARE(form.Controls().PageControl1->currentWidget()->objectName(),
                     QStringLiteral("TabSheet11"));
            int checked = 0;
            for (QAction* action : form.Controls().Sprog->actions()) {
                checked += action->isChecked() ? 1 : 0;
            }
            QCOMPARE(checked, 1);
        }
        QCOMPARE(form.Controls().Sproget->text(), QStringLiteral("Deutsch"));
        QVERIFY(form.Controls().Deutsch->isChecked());
    }

    void newItemsTakeNumberAndCategory() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        TDBNavigator* bar = form.Navigator(2);
        bar->BtnClick(nbInsert);
        QCOMPARE(form.Register().HabitraTable().State(), dsInsert);
        QCOMPARE(Text(form, "Foto"), QStringLiteral("1"));
        QCOMPARE(Text(form, "Kategori"), QStringLiteral("Bøger"));
        bar->BtnClick(nbCancel);
        form.LanguageClick(0);
        bar->BtnClick(nbInsert);
        QCOMPARE(Text(form, "Foto"), QStringLiteral("2"));
        QCOMPARE(Text(form, "Kategori"), QStringLiteral("Books")); // the active language's value
        // Posted untouched: number and category stay, and the item shows where it was inserted.
        fixture.SelectPage(QStringLiteral("TabSheet3"));
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QCOMPARE(Text(form, "Foto"), QStringLiteral("2"));
        form.Register().RegTable().Last();
        QCOMPARE(form.Register().RegTable().FieldByName(QStringLiteral("Regnr"))->AsInteger(), 2);
        QCOMPARE(form.Register().RegTable().RecordCount(), 2);
    }

    void pageChangePostsTyping() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();
        form.Navigator(1)->BtnClick(nbInsert);
        QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral("Chatol"));
        QTest::keyClicks(form.Controls().DBEdit7, QStringLiteral("1.234,5"));
        fixture.SelectPage(QStringLiteral("TabSheet3"));
        fixture.SelectPage(QStringLiteral("TabSheet1"));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Chatol"));
        QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Vaerdi"))->AsMoney().Cents(),
                 123450);
    }

    void refusedValueKeepsEditing() {
        TMainWindowFixture fixture;
        fixture.Sql(
            QStringLiteral("Habitra.db"),
            QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori) VALUES ('Ur', 'Antikviteter')"));
        TForm1& form = fixture.Start();
        form.SpeedButton3Click();
        QTest::keyClicks(form.Controls().DBEdit7, QStringLiteral("mange penge"));
        QCOMPARE(form.Register().HabitraTable().State(), dsEdit);
        form.Navigator(1)->Button(nbPost)->click();
        QTRY_VERIFY(!fixture.Answerer->Texts.isEmpty());
        QVERIFY(fixture.Answerer->Texts.last().contains(QStringLiteral("mange penge")));
        QCOMPARE(form.Register().HabitraTable().State(), dsEdit);
    }

    void cancelledDeleteKeepsItem() {
        TMainWindowFixture fixture;
        fixture.Sql(
            QStringLiteral("Habitra.db"),
            QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori) VALUES ('Ur', 'Antikviteter')"));
        TForm1& form = fixture.Start();
        QTest::qWait(50);
        fixture.Answerer->SetButton(QStringLiteral("Annuller"));
        form.Navigator(1)->BtnClick(nbDelete);
        QTRY_COMPARE(fixture.Answerer->Texts.last(), QStringLiteral("Slet denne post?"));
        QCOMPARE(fixture.Answerer->Titles.last(), QStringLiteral("Bekræft"));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        fixture.Answerer->SetButton(QStringLiteral("OK"));
        form.Navigator(1)->BtnClick(nbDelete);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
    }

    void menuMessages() {
        TMainWindowFixture fixture;
        TTestPlatform& platform = TTestPlatform::Install();
        TForm1& form = fixture.Start();
        QTest::qWait(50);
        const int before = fixture.Answerer->Count();
        form.LanguageClick(0);
        form.Controls().Dataplacering1->trigger();
        QTRY_COMPARE(fixture.Answerer->Count(), before + 1);
        QVERIFY(fixture.Answerer->Texts.last().startsWith(
            QStringLiteral("Data for this program are located in: \n\r\n\r") + form.ProgramFolder() +
            QStringLiteral("Data\n\r\n\rIt is very important")));
        QCOMPARE(fixture.Answerer->Titles.last(), QStringLiteral("Habitra"));
        form.Controls().Skrmstrrelser1->trigger();
        QTRY_COMPARE(fixture.Answerer->Count(), before + 2);
        QVERIFY(fixture.Answerer->Texts.last().startsWith(QStringLiteral("SKÆRMSTØRRELSER")));
        QCOMPARE(fixture.Answerer->Titles.last(), QStringLiteral("Information"));
        // The guide opens at the section of the language the user reads; each section is in the guide.
        form.Controls().Help1->trigger();
        form.LanguageClick(3);
        form.Controls().Help1->trigger();
        form.LanguageClick(-1);
        form.Controls().Help1->trigger();
        const QString guide = form.ProgramFolder() + QStringLiteral("Help/Index.html");
        QCOMPARE(platform.Opened, QStringList({guide + QStringLiteral("#en"), guide + QStringLiteral("#de"),
                                               guide + QStringLiteral("#da")}));
        QFile file(TProgramFolder::SourcePath(QStringLiteral("resources/help/Index.html")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (int language = -1; language <= 3; ++language) {
            QVERIFY2(html.contains(QStringLiteral("<section id=\"%1\"").arg(TForm1::HelpSection(language))),
                     qPrintable(TForm1::HelpSection(language)));
        }
        TTestPlatform::Uninstall();
    }

    void frontPage() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        QVERIFY(form.Controls().Panel4->isVisible());
        form.Controls().SpeedButton3->click();
        QVERIFY(!form.Controls().Panel4->isVisible());
        form.Controls().Forside1->trigger();
        QVERIFY(form.Controls().Panel4->isVisible());
    }
};

HABITRA_TEST(EditorTest)
#include "EditorTest.moc"
