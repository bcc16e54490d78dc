#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "overview/Unit2.h"
#include "pictures/BilledUnit.h"
#include "store/Table.h"
#include "toolkit/DBNavigator.h"
#include "ui_Unit1.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QToolButton>

// The main window as a user without a mouse, or with a screen reader, meets it: the keys of the
// item editor, the names assistive technology reads, the window frames, and a page change that
// cannot store what was typed.
class EditorAccessTest : public QObject {
    Q_OBJECT

    static QString Name(QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("<none>");
    }
    static QStringList FieldNames(TForm1& form) {
        const auto& ui = form.Controls();
        QStringList names;
        for (QWidget* field :
             std::initializer_list<QWidget*>{ui.DBEdit1, ui.DBEdit2, ui.DBEdit3, ui.DBEdit4, ui.DBEdit6,
                                             ui.DBEdit5, ui.DBEdit7, ui.DBMemo1}) {
            names << Name(field);
        }
        return names;
    }
    static QStringList Captions(TForm1& form) {
        const auto& ui = form.Controls();
        const QLabel* value = form.Controls().PageControl1->currentWidget()->findChild<QLabel*>();
        return {ui.Label9->text(),  ui.Label10->text(), ui.Label11->text(), ui.Label12->text(),
                ui.Label13->text(), ui.Label14->text(), value->text(),      ui.Label15->text()};
    }
    static QString Text(TForm1& form, const char* field) {
        return form.Register().HabitraTable().FieldByName(QLatin1String(field))->AsString();
    }
    static QString Page(TForm1& form) { return form.Controls().PageControl1->currentWidget()->objectName(); }
    // Started with one clock among the antiques, the front page put away and the window active.
    static TForm1& StartEditor(TMainWindowFixture& fixture) {
        fixture.Sql(
            QStringLiteral("Habitra.db"),
            QStringLiteral(
                "INSERT INTO Habitra (Beskrivelse, Kategori, Foto) VALUES ('Ur', 'Antikviteter', 1)"));
        TForm1& form = fixture.Start();
        form.Controls().SpeedButton3->click();
        Activate(form);
        return form;
    }
    // The window manager gives the main window the focus again when a box closes; the test
    // platform leaves no window active.
    static void Activate(TForm1& form) {
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

private slots:
    void titleBars() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        // The flags are what the window manager is told; without CustomizeWindowHint it would add
        // the boxes by itself.
        const Qt::WindowFlags main = form.windowFlags();
        QVERIFY(main & Qt::CustomizeWindowHint);
        QVERIFY(main & Qt::WindowSystemMenuHint);
        QVERIFY(main & Qt::WindowCloseButtonHint);
        QVERIFY(!(main & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(main & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.minimumSize() != form.maximumSize()); // still a sizeable frame
        const Qt::WindowFlags overview = form.Form2->windowFlags();
        QVERIFY(overview & Qt::CustomizeWindowHint);
        QVERIFY(overview & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(overview & Qt::WindowMaximizeButtonHint));
        QVERIFY(overview & Qt::WindowCloseButtonHint);
    }

    void refusedPageChangeStaysPut_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("mended");
        QTest::newRow("value that is no number") << "DBEdit7"
                                                 << "abc"
                                                 << "125";
        QTest::newRow("impossible date") << "DBEdit5"
                                         << "32-13-2020"
                                         << "03-04-2020";
    }
    void refusedPageChangeStaysPut() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, mended);
        TMainWindowFixture fixture;
        TForm1& form = StartEditor(fixture);
        auto* edit = form.findChild<QLineEdit*>(field);
        fixture.SelectPage(QStringLiteral("TabSheet1")); // no change: the antiques page is already shown
        form.LanguageClick(-1);
        const QStringList labels = Captions(form);
        const QString filter = form.Register().HabitraTable().Filter();
        QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral(" med kæde"));
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        const int boxes = fixture.Answerer->Count();

        for (const char* page : {"TabSheet2", "TabSheet9"}) {
            fixture.SelectPage(QLatin1String(page));
            QCOMPARE(fixture.Answerer->Count(), boxes + 1);
            QVERIFY2(fixture.Answerer->Texts.last().contains(typed),
                     qPrintable(fixture.Answerer->Texts.last()));
            fixture.Answerer->Texts.clear();
            fixture.Answerer->Titles.clear();
            QCOMPARE(Page(form), QStringLiteral("TabSheet1"));
            QCOMPARE(Captions(form), labels);
            QCOMPARE(form.Register().HabitraTable().Filter(), filter);
            QCOMPARE(form.Register().HabitraTable().State(), dsEdit);
            QCOMPARE(edit->text(), typed);
            QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Ur med kæde"));
            QCOMPARE(Text(form, "Foto"), QStringLiteral("1"));
        }

        // Mended, the change goes ahead and stores the item.
        edit->selectAll();
        QTest::keyClicks(edit, mended);
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(fixture.Answerer->Count(), 0);
        QCOMPARE(Page(form), QStringLiteral("TabSheet2"));
        QCOMPARE(Captions(form).mid(0, 4), (QStringList{"Titel", "Forfatter", "Forlag", "ISBN-nr."}));
        fixture.SelectPage(QStringLiteral("TabSheet1"));
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Ur med kæde"));
        QCOMPARE(edit->text(), mended == QLatin1String("125") ? QStringLiteral("125,00") : mended);
    }

    void cancelledEditLetsThePageChange() {
        TMainWindowFixture fixture;
        TForm1& form = StartEditor(fixture);
        QTest::keyClicks(form.Controls().DBEdit7, QStringLiteral("abc"));
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(Page(form), QStringLiteral("TabSheet1"));
        Activate(form);
        QTest::keyClick(form.Controls().DBEdit7, Qt::Key_Escape);
        QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        QCOMPARE(Page(form), QStringLiteral("TabSheet2"));
        fixture.SelectPage(QStringLiteral("TabSheet1"));
        QCOMPARE(Text(form, "Vaerdi"), QString());
        QCOMPARE(fixture.Answerer->Count(), 1);
    }

    void postKeys_data() {
        QTest::addColumn<QKeyCombination>("insert");
        QTest::addColumn<QKeyCombination>("post");
        QTest::newRow("Insert, Ctrl+S")
            << QKeyCombination(Qt::Key_Insert) << QKeyCombination(Qt::ControlModifier, Qt::Key_S);
        QTest::newRow("Ctrl+N, Ctrl+Return") << QKeyCombination(Qt::ControlModifier, Qt::Key_N)
                                             << QKeyCombination(Qt::ControlModifier, Qt::Key_Return);
        QTest::newRow("Ctrl+N, Ctrl+Enter on the keypad")
            << QKeyCombination(Qt::ControlModifier, Qt::Key_N)
            << QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter);
    }
    void postKeys() {
        QFETCH(QKeyCombination, insert);
        QFETCH(QKeyCombination, post);
        TMainWindowFixture fixture;
        TForm1& form = StartEditor(fixture);
        const auto& ui = form.Controls();
        ui.DBEdit3->setFocus();
        QTest::keyClick(ui.DBEdit3, insert.key(), insert.keyboardModifiers());
        QCOMPARE(form.Register().HabitraTable().State(), dsInsert);
        QCOMPARE(QApplication::focusWidget(), ui.DBEdit1);
        QTest::keyClicks(ui.DBEdit1, QStringLiteral("Kande"));
        QTest::keyClick(ui.DBMemo1, Qt::Key_A);
        QTest::keyClick(ui.DBMemo1, post.key(), post.keyboardModifiers());
        QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 2);
        QCOMPARE(Text(form, "Beskrivelse"), QStringLiteral("Kande"));
        QCOMPARE(Text(form, "Notater"), QStringLiteral("a")); // the memo's key went in, not a line break
        QCOMPARE(Text(form, "Kategori"), QStringLiteral("Antikviteter"));
        QCOMPARE(fixture.Answerer->Count(), 0);
    }

    void editorFromTheKeyboard() {
        TMainWindowFixture fixture;
        TForm1& form = StartEditor(fixture);
        const auto& ui = form.Controls();
        TDBNavigator* bar = form.Navigator(1);

        // Escape drops a new item and an edit alike.
        ui.DBEdit2->setFocus();
        QTest::keyClick(ui.DBEdit2, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClicks(ui.DBEdit1, QStringLiteral("Glemt"));
        QTest::keyClick(ui.DBEdit1, Qt::Key_Escape);
        QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QTest::keyClicks(ui.DBEdit2, QStringLiteral("Bing"));
        QTest::keyClick(ui.DBEdit2, Qt::Key_Escape);
        QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
        QCOMPARE(ui.DBEdit2->text(), QString());

        // Ctrl+Delete asks first, from an edit field too; only OK deletes.
        fixture.Answerer->SetButton(QStringLiteral("Annuller"));
        QTest::keyClick(ui.DBEdit2, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fixture.Answerer->Texts, QStringList{QStringLiteral("Slet denne post?")});
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        fixture.Answerer->SetButton(QStringLiteral("OK"));
        Activate(form);
        QTest::keyClick(ui.DBEdit2, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fixture.Answerer->Count(), 2);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
        // With nothing to delete the key is the edit's own again (no box).
        Activate(form);
        QTest::keyClick(ui.DBEdit2, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fixture.Answerer->Count(), 2);
        QTest::keyClick(ui.DBEdit2, Qt::Key_Escape); // typing into an empty page began a new item
        QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);

        // The buttons are reached by Tab and pressed with Space.
        QToolButton* insert = bar->Button(nbInsert);
        QVERIFY(insert->focusPolicy() & Qt::TabFocus);
        QVERIFY(!(insert->focusPolicy() & Qt::ClickFocus)); // a click leaves the focus in the edit
        QWidget* focus = ui.DBEdit1;
        focus->setFocus();
        for (int step = 0; step < 60 && focus != insert; ++step) {
            QTest::keyClick(focus, Qt::Key_Backtab, Qt::ShiftModifier);
            focus = QApplication::focusWidget();
        }
        QCOMPARE(focus, insert);
        QTest::keyClick(insert, Qt::Key_Space);
        QCOMPARE(form.Register().HabitraTable().State(), dsInsert);
        QCOMPARE(QApplication::focusWidget(), ui.DBEdit1);
        QTest::keyClick(ui.DBEdit1, Qt::Key_Escape);

        // Under the front page the keys do nothing unseen.
        ui.Forside1->trigger();
        QTest::keyClick(ui.DBEdit1, Qt::Key_Insert);
        QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
    }

    void hintsNameTheKeys_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("hints");
        QTest::newRow("Danish") << -1 << QStringList{"Første", "Tilføj (Ins, Ctrl+N)",     "Slet (Ctrl+Del)",
                                                     "Ret",    "Gem (Ctrl+S, Ctrl+Retur)", "Fortryd (Esc)"};
        QTest::newRow("English") << 0
                                 << QStringList{"First", "Add (Ins, Ctrl+N)",          "Delete (Ctrl+Del)",
                                                "Edit",  "Save (Ctrl+S, Ctrl+Return)", "Cancel (Esc)"};
    }
    void hintsNameTheKeys() {
        QFETCH(int, language);
        QFETCH(QStringList, hints);
        TMainWindowFixture fixture;
        TForm1& form = StartEditor(fixture);
        form.LanguageClick(language);
        for (int bar : {1, 21}) {
            QStringList shown;
            QStringList names;
            for (TNavigateBtn button : {nbFirst, nbInsert, nbDelete, nbEdit, nbPost, nbCancel}) {
                shown << form.Navigator(bar)->Button(button)->toolTip();
                names << Name(form.Navigator(bar)->Button(button));
            }
            QCOMPARE(shown, hints);
            // The name is the hint alone; the keys are in the description that goes with it.
            QStringList plain;
            for (const QString& hint : hints) {
                plain << hint.section(QStringLiteral(" ("), 0, 0);
            }
            QCOMPARE(names, plain);
        }
        // The overview's bar is pressed by Tab and Space; its grid has keys of its own.
        QToolButton* post = form.Form2->findChild<TDBNavigator*>()->Button(nbPost);
        QVERIFY(post->focusPolicy() & Qt::TabFocus);
        QCOMPARE(Name(post), language < 0 ? QStringLiteral("Gem") : QStringLiteral("Save"));
        QVERIFY(!post->toolTip().contains(QLatin1String("Ctrl")));
    }

    void fieldsNamedByTheirCaptions_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Danish books")
            << -1 << "TabSheet2" << QStringList{"Titel",    "Forfatter", "Forlag", "ISBN-nr.",
                                                "Købssted", "Købsdato",  "Værdi",  "Bemærkning"};
        QTest::newRow("English books")
            << 0 << "TabSheet2" << QStringList{"Titel",       "Author",        "Publisher", "ISBN-no.",
                                               "Bought from", "Purchase date", "Value",     "Notes"};
        QTest::newRow("German tools")
            << 3 << "TabSheet17" << QStringList{"Beschreibung", "Fabrikat",  "Model", "Identifizierung",
                                                "Kaufort",      "Kaufdatum", "Wert",  "Bemerkungen"};
    }
    void fieldsNamedByTheirCaptions() {
        QFETCH(int, language);
        QFETCH(QString, page);
        QFETCH(QStringList, names);
        TMainWindowFixture fixture;
        TForm1& form = StartEditor(fixture);
        QCOMPARE(FieldNames(form), Captions(form));
        form.LanguageClick(language);
        fixture.SelectPage(page);
        QCOMPARE(FieldNames(form), names);
        QCOMPARE(Captions(form), names);
        // A language switch relabels without a page change; the names follow the labels.
        for (int other : {3, -1, 0, language}) {
            form.LanguageClick(other);
            QCOMPARE(FieldNames(form), Captions(form));
        }
        QCOMPARE(FieldNames(form).mid(4), names.mid(4));
        // The overview's jump relabels too.
        form.ShowCategory(QStringLiteral("TabSheet7"),
                          {"Titel", "Kunstner", "Musikforlag", "Identifikation"});
        QCOMPARE(FieldNames(form).mid(0, 4),
                 (QStringList{"Titel", "Kunstner", "Musikforlag", "Identifikation"}));
    }

    void iconButtonNamedByItsHint() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        auto* findNext = form.Form2->findChild<QToolButton*>(QStringLiteral("SpeedButton3"));
        QVERIFY(findNext);
        QCOMPARE(Name(findNext), QStringLiteral("Find næste"));
        form.LanguageClick(0);
        QCOMPARE(Name(findNext), QStringLiteral("Find next"));
        form.LanguageClick(-1);
        QCOMPARE(Name(findNext), QStringLiteral("Find næste"));
    }

    void windowsAreWindows() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        for (QWidget* window : std::initializer_list<QWidget*>{&form, form.BilledForm, form.Form2}) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
            QVERIFY(accessible);
            QCOMPARE(accessible->role(), QAccessible::Window);
        }
        // Not every widget of the window: a panel stays what it was.
        QVERIFY(QAccessible::queryAccessibleInterface(form.Controls().Panel3)->role() != QAccessible::Window);
        form.BilledForm->setWindowTitle(QStringLiteral("Ur"));
        QCOMPARE(Name(form.BilledForm), QStringLiteral("Ur"));
    }
};

HABITRA_TEST(EditorAccessTest)
#include "EditorAccessTest.moc"
