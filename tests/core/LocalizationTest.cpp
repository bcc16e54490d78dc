#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "catalogue/Catalogue.h"
#include "localisation/FormLocalizer.h"
#include "localisation/LanguageFile.h"
#include "localisation/LanguageSource.h"
#include "localisation/LocalUtils.h"
#include "overview/CategoryComboBox.h"
#include "overview/Unit2.h"
#include "store/Table.h"
#include "support/AboutBox.h"
#include "toolkit/ComponentModel.h"
#include "toolkit/PropertyAdapter.h"
#include "ui_Unit1.h"

#include <QTabWidget>
#include <QTest>

// The shipped language files against the program's two windows: every text the windows record has
// a translation, every translation reaches a text, and switching languages gives the Danish texts back.
class LocalizationTest : public QObject {
    Q_OBJECT

    static QString FileName(int language) {
        return QStringList{"English.lng", "Norsk.lng", "Svensk.lng", "Deutsch.lng"}.at(language);
    }

    // What a person can read on the window's named parts, keyed by name and property. The
    // navigator bars' hints are left out: an empty hint list is not recorded, so after a return to
    // Danish the bars keep the last language's hints.
    static QMap<QString, QString> Snapshot(QWidget* window) {
        QMap<QString, QString> texts;
        QList<QObject*> objects{window};
        objects += window->findChildren<QObject*>();
        for (QObject* object : objects) {
            const QString name = object->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
                ComponentModel::Window(object) != window ||
                qobject_cast<TDBNavigator*>(object->parent()) != nullptr) {
                continue;
            }
            for (const char* property : {"Caption", "Hint", "Text", "Items", "Warning"}) {
                const QString key = name + QLatin1Char('.') + QLatin1String(property);
                switch (PropertyAdapter::Kind(object, QLatin1String(property))) {
                case pkText:
                    texts.insert(key, PropertyAdapter::Text(object, QLatin1String(property)));
                    break;
                case pkStringList:
                    texts.insert(
                        key, PropertyAdapter::Lines(object, QLatin1String(property)).join(QLatin1Char('|')));
                    break;
                default:
                    break;
                }
            }
        }
        return texts;
    }

    static QMap<QString, QString> Snapshot(TMainWindowFixture& fixture) {
        QMap<QString, QString> texts;
        for (auto [prefix, window] : {std::pair<QString, QWidget*>{"Form1:", fixture.Form},
                                      std::pair<QString, QWidget*>{"Form2:", &fixture.Program->Form2()}}) {
            const QMap<QString, QString> part = Snapshot(window);
            for (auto it = part.begin(); it != part.end(); ++it) {
                texts.insert(prefix + it.key(), it.value());
            }
        }
        return texts;
    }

    static QStringList Differences(const QMap<QString, QString>& expected,
                                   const QMap<QString, QString>& actual) {
        QStringList differences;
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            if (actual.value(it.key()) != it.value()) {
                differences << it.key() + QStringLiteral(": ") + it.value() + QStringLiteral(" -> ") +
                                   actual.value(it.key());
            }
        }
        return differences;
    }

    static TCategoryComboBox* CategoryList(TForm2& overview) {
        return overview.findChild<TCategoryComboBox*>(QStringLiteral("ComboBox1"));
    }

private slots:
    void files_data() {
        QTest::addColumn<int>("language");
        for (int language = 0; language < 4; ++language) {
            QTest::newRow(qPrintable(FileName(language))) << language;
        }
    }
    // Every recorded text has a translation, and every translation is shown by the window after the
    // switch: a key that names nothing (a typo, a renamed control) fails here.
    void files() {
        QFETCH(int, language);
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        form.LanguageClick(language);
        const TLanguageFile file(FileName(language));
        QCOMPARE(file.CharSet(), 0);
        for (TFormLocalizer* localizer : {form.FormLocalizer1, fixture.Program->Form2().FormLocalizer1}) {
            const QString section = localizer->Window()->objectName();
            QStringList missing;
            for (const QString& original : localizer->Originals()) {
                const QString key = LocalUtils::NameOf(original);
                // The help command's hint is the help file's path, set at start; the navigator
                // buttons follow their bar's hint list.
                const auto [object, property] = localizer->ResolveKey(key);
                if (key == QLatin1String("Help1.Hint") ||
                    (object != nullptr && qobject_cast<TDBNavigator*>(object->parent()) != nullptr)) {
                    continue;
                }
                if (file.ReadString(section, key, QString()).isEmpty()) {
                    missing << key;
                }
            }
            QVERIFY2(missing.isEmpty(),
                     qPrintable(section + QStringLiteral(" lacks ") + missing.join(QLatin1String(", "))));
            QVERIFY(localizer->Originals().size() > 10);

            QStringList entries;
            file.ReadSectionValues(section, entries);
            QStringList wrong;
            for (const QString& entry : entries) {
                const QString key = LocalUtils::NameOf(entry);
                const QString value = LocalUtils::ValueOf(entry);
                const auto [object, property] = localizer->ResolveKey(key);
                QString shown;
                if (object != nullptr && PropertyAdapter::Kind(object, property) == pkText) {
                    shown = PropertyAdapter::Text(object, property);
                } else if (object != nullptr && PropertyAdapter::Kind(object, property) == pkStringList) {
                    shown = LocalUtils::CommaText(PropertyAdapter::Lines(object, property));
                    const QStringList items = LocalUtils::CommaTextToList(value);
                    if (property.compare(QLatin1String("Hints"), Qt::CaseInsensitive) == 0 &&
                        items.size() != 10) {
                        wrong << key + QStringLiteral(": not ten hints");
                    }
                    if (items.contains(QString())) {
                        wrong << key + QStringLiteral(": an empty item");
                    }
                    shown = LocalUtils::CommaTextToList(shown) == items ? value : shown;
                }
                if (object == nullptr || !LocalUtils::ContainsText(localizer->PropNames(), property) ||
                    shown != value) {
                    wrong << key + QStringLiteral(" shows \"") + shown + QStringLiteral("\"");
                }
            }
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(section + QStringLiteral(": ") + wrong.join(QLatin1String("; "))));
        }
        QVERIFY(file.ReadString(QStringLiteral("Form1"), QStringLiteral("Help1.Hint"), QString()).isEmpty());
        QCOMPARE(form.Controls().Help1->toolTip(), form.ProgramFolder() + QStringLiteral("Help/Index.html"));
        // The bars' hint lists start empty and so are not recorded: every bar needs its entry.
        for (int number = 1; number <= Catalogue::CategoryCount; ++number) {
            QCOMPARE(form.Navigator(number)->Hints().size(), 10);
        }
        QCOMPARE(
            fixture.Program->Form2().findChild<TDBNavigator*>(QStringLiteral("DBNavigator1"))->Hints().size(),
            10);

        // The labels' words are the ones a standard page shows after a page change, and every page
        // has a caption of its own.
        const auto& ui = form.Controls();
        const QStringList labels{ui.Label9->text(), ui.Label10->text(), ui.Label11->text(),
                                 ui.Label12->text()};
        QCOMPARE(labels, Catalogue::Labels(*Catalogue::FindByPage(QStringLiteral("TabSheet3")), language));
        QSet<QString> captions;
        for (int i = 0; i < ui.PageControl1->count(); ++i) {
            captions.insert(ui.PageControl1->tabText(i));
        }
        QCOMPARE(captions.size(), Catalogue::CategoryCount);
    }

    // Danish -> Norwegian -> Danish -> English -> Norwegian -> Danish: the Danish texts come back
    // exactly each time, the recorded texts are used up, and Norwegian reached through English is
    // the same as Norwegian reached directly.
    void roundTrip() {
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        TForm2& overview = fixture.Program->Form2();
        fixture.SelectPage(QStringLiteral("TabSheet2"));
        const QMap<QString, QString> danish = Snapshot(fixture);
        QCOMPARE(danish.value(QStringLiteral("Form1:Funktioner1.Caption")), QStringLiteral("Funktioner"));
        QCOMPARE(danish.value(QStringLiteral("Form2:ComboBox1.Text")), QStringLiteral("Vælg kategori"));

        form.LanguageClick(1);
        const QMap<QString, QString> norwegian = Snapshot(fixture);
        QVERIFY(Differences(danish, norwegian).size() > 50);
        form.LanguageClick(-1);
        QCOMPARE(Differences(danish, Snapshot(fixture)), QStringList());

        form.LanguageClick(0);
        QVERIFY(Differences(norwegian, Snapshot(fixture)).size() > 50);
        form.LanguageClick(1);
        QCOMPARE(Differences(norwegian, Snapshot(fixture)), QStringList());
        form.LanguageClick(-1);
        QCOMPARE(Differences(danish, Snapshot(fixture)), QStringList());
        QCOMPARE(form.FormLocalizer1->Originals(), QStringList());
        QCOMPARE(overview.FormLocalizer1->Originals(), QStringList());
    }

    void startInLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("overview");
        QTest::newRow("English") << 0 << "Functions"
                                 << "Overview";
        QTest::newRow("German") << 3 << "Funktionen"
                                << "Übersicht";
    }
    // Started in a language, both windows show it at once; a window made while the language is
    // active is translated as it joins and shows its own texts again after the switch to Danish.
    void startInLanguage() {
        QFETCH(int, language);
        QFETCH(QString, menu);
        QFETCH(QString, overview);
        TMainWindowFixture fixture;
        fixture.Sql(QStringLiteral("Config.DB"),
                    QStringLiteral("UPDATE Config SET Sprog = %1").arg(language));
        TForm1& form = fixture.Start();
        QCOMPARE(form.Controls().Funktioner1->title(), menu);
        QCOMPARE(fixture.Program->Form2().windowTitle(), overview);

        TForm2 late(form.Register(), form.LanguageSource1, &form);
        QCOMPARE(late.windowTitle(), overview);
        QCOMPARE(CategoryList(late)->Prompt(), Snapshot(&fixture.Program->Form2()).value("ComboBox1.Text"));
        form.LanguageClick(-1);
        QCOMPARE(late.windowTitle(), QStringLiteral("Oversigt"));
        QCOMPARE(Snapshot(&late), Snapshot(&fixture.Program->Form2()));
        QCOMPARE(late.FormLocalizer1->Originals(), QStringList());
    }

    void spotChecks_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("books");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("warning");
        QTest::newRow("Danish") << -1 << "Funktioner"
                                << "Bøger"
                                << "Luk"
                                << "Advarsel:";
        QTest::newRow("English") << 0 << "Functions"
                                 << "Books"
                                 << "Close"
                                 << "Warning:";
        QTest::newRow("Norwegian") << 1 << "Funksjoner"
                                   << "Bøker"
                                   << "Lukk"
                                   << "Advarsel:";
        QTest::newRow("Swedish") << 2 << "Funktioner"
                                 << "Böcker"
                                 << "Stäng"
                                 << "Varning:";
        QTest::newRow("German") << 3 << "Funktionen"
                                << "Bücher"
                                << "Schließen"
                                << "Warnung:";
    }
    void spotChecks() {
        QFETCH(int, language);
        QFETCH(QString, menu);
        QFETCH(QString, books);
        QFETCH(QString, close);
        QFETCH(QString, warning);
        TMainWindowFixture fixture;
        TForm1& form = fixture.Start();
        form.LanguageClick((language + 2) % 4); // from another language, so nothing is left over
        form.LanguageClick(language);
        const auto& ui = form.Controls();
        QCOMPARE(ui.Funktioner1->title(), menu);
        QCOMPARE(ui.PageControl1->tabText(ui.PageControl1->indexOf(form.Page(QStringLiteral("TabSheet2")))),
                 books);
        QCOMPARE(fixture.Program->Form2().findChild<QAbstractButton*>(QStringLiteral("SpeedButton2"))->text(),
                 close);
        QCOMPARE(ui.SpeedButton2->text(), close);
        QVERIFY(form.AboutBox1->Warning().startsWith(warning));
        QCOMPARE(form.windowTitle(), QStringLiteral("Habitra"));
    }

    void overviewEntries_data() {
        QTest::addColumn<int>("language");
        for (int language = 0; language < 4; ++language) {
            QTest::newRow(qPrintable(FileName(language))) << language;
        }
    }
    // The overview's entries are the category values stored in the language, so choosing one shows
    // the items made in that language; the chosen entry keeps its place in the new language.
    void overviewEntries() {
        QFETCH(int, language);
        TMainWindowFixture fixture;
        fixture.Sql(
            QStringLiteral("Habitra.db"),
            QStringLiteral("INSERT INTO Habitra (Beskrivelse, Kategori) VALUES ('Dansk bog', 'Bøger'), "
                           "('Book', '%1'), ('Ur', 'Smykker/Ure')")
                .arg(
                    Catalogue::CategoryValue(*Catalogue::FindByPage(QStringLiteral("TabSheet2")), language)));
        TForm1& form = fixture.Start();
        TForm2& overview = fixture.Program->Form2();
        TCategoryComboBox* list = CategoryList(overview);
        const QStringList danish = PropertyAdapter::Lines(list, QStringLiteral("Items"));
        QCOMPARE(danish.size(), 21);
        list->setCurrentIndex(2);
        emit list->activated(2);
        QCOMPARE(form.Register().HabitraTable().Filter(), QStringLiteral("Kategori = 'Bøger'"));

        form.LanguageClick(language);
        const QStringList entries = PropertyAdapter::Lines(list, QStringLiteral("Items"));
        QCOMPARE(entries.size(), danish.size());
        for (int i = 1; i < entries.size(); ++i) {
            const Catalogue::TCategory* category = Catalogue::FindByValue(danish.at(i));
            QVERIFY(category != nullptr);
            QCOMPARE(entries.at(i), Catalogue::CategoryValue(*category, language));
        }
        QCOMPARE(list->currentText(), entries.at(2)); // not the prompt
        emit list->activated(2);
        QCOMPARE(form.Register().HabitraTable().Filter(),
                 QStringLiteral("Kategori = '%1'").arg(entries.at(2)));
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 1);
        QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Beskrivelse"))->AsString(),
                 QStringLiteral("Book"));
        // The first entry, whatever it reads in the language, lists every item.
        list->setCurrentIndex(0);
        emit list->activated(0);
        QVERIFY(!form.Register().HabitraTable().Filtered());
        QCOMPARE(form.Register().HabitraTable().RecordCount(), 3);
        list->setCurrentIndex(2);
        emit list->activated(2);
        form.LanguageClick(-1);
        QCOMPARE(list->currentText(), QStringLiteral("Bøger"));
    }
};

HABITRA_TEST(LocalizationTest)
#include "LocalizationTest.moc"
