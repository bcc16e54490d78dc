#include "TestRegistry.h"
#include "TestWindow.h"
#include "localisation/FormLocal.h"
#include "localisation/LocalError.h"
#include "localisation/LocalSource.h"
#include "localisation/LocalUtils.h"
#include "toolkit/PropertyAdapter.h"

#include <QRandomGenerator>
#include <QTest>
#include <memory>

namespace {
const QByteArray EnglishForm1 = "[Form1]\r\n"
                                "Caption=Main window\r\n"
                                "Label1.Caption=Description\r\n"
                                "Label1.Text=Wrong\r\n"
                                "Label1.toolTip=Wrong\r\n"
                                "Label1.Hint=The item's description\r\n"
                                "Label2.Caption=Never shown\r\n"
                                "Button1.Caption=Start\r\n"
                                "Button1.Hint=Never shown\r\n"
                                "TabSheet1.Caption=Books\r\n"
                                "ComboBox1.Items=\"\"\"All categories\"\",Antiques,Books\"\r\n"
                                "ComboBox1.Text=Choose category\r\n"
                                "Edit1.Text=Never shown\r\n"
                                "Filer1.Caption=&File\r\n"
                                "Afslut1.Caption=E&xit\r\n"
                                "Afslut1.Hint=Leave the program\r\n"
                                "DBNavigator1.Hints=First,Prior,Next\r\n"
                                "AboutBox1.Warning=\"Warning:\"#13#10\"copyright\"\r\n"
                                "Label99.Caption=Nobody\r\n"
                                "PageControl1.TabSheet1.Caption=Wrong\r\n";
const QByteArray EnglishFile =
    "[General Settings]\r\nBiDiMode=0\r\nFontCharSet=ANSI_CHARSET\r\n" + EnglishForm1;
const QByteArray NorskFile = "[General Settings]\r\nFontCharSet=ANSI_CHARSET\r\n[Form1]\r\n"
                             "Caption=Hovedvindu\r\nLabel1.Caption=Omtale\r\nTabSheet1.Caption=B\xf8ker\r\n"
                             "DBNavigator1.Hints=F\xf8rste\r\n";
const QByteArray HebrewFile = "[General Settings]\r\nBiDiMode=1\r\nFontCharSet=HEBREW_CHARSET\r\n[Form1]\r\n"
                              "Label1.Caption=\xfa\xe9\xe0\xe5\xf8\r\n";

struct TFixture {
    TLanguageFolder folder;
    TLanguageSource source;
    std::unique_ptr<TTestWindow> window;
    TFormLocalizer* localizer = nullptr;

    TFixture() {
        source.SetLanguages(
            {QStringLiteral("English=") + folder.Write(QStringLiteral("English.lng"), EnglishFile),
             QStringLiteral("Norsk=") + folder.Write(QStringLiteral("Norsk.lng"), NorskFile),
             QStringLiteral("Hebrew=") + folder.Write(QStringLiteral("Hebrew.lng"), HebrewFile)});
        window = std::make_unique<TTestWindow>();
        localizer = Attach(*window);
    }
    TFormLocalizer* Attach(QWidget& target) {
        auto* result = new TFormLocalizer(&target);
        result->setObjectName(QStringLiteral("FormLocalizer1"));
        result->SetPropNames({"Caption", "Hint", "Text", "Items", "Hints", "Warning"});
        result->SetSource(&source);
        return result;
    }
    QStringList OriginalKeys() const {
        QStringList keys;
        for (const QString& line : localizer->Originals()) {
            keys << LocalUtils::NameOf(line);
        }
        return keys;
    }
};
} // namespace

class TFormLocalizerTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip() {
        TFixture f;
        TTestWindow& w = *f.window;
        const QStringList danish = w.Snapshot();

        f.source.SetActiveLanguage(0);
        QCOMPARE(
            w.Snapshot(),
            QStringList({"Main window", "Description", "The item's description", "", "Start", "", "Books", "",
                         "Choose category", "All categories/10|Antiques/11|Books/12", "", "&File", "E&xit",
                         "Leave the program", "First|Prior|Next", "Warning:\r\ncopyright"}));
        // Only non-empty texts are recorded (the empty hint list is not), in ownership order.
        QCOMPARE(f.OriginalKeys(),
                 QStringList({"Caption", "Filer1.Caption", "Afslut1.Caption", "Afslut1.Hint",
                              "Label1.Caption", "Label1.Hint", "Button1.Caption", "TabSheet1.Caption",
                              "ComboBox1.Text", "ComboBox1.Items", "AboutBox1.Warning"}));
        QVERIFY(f.localizer->Originals().contains(QStringLiteral("Label1.Caption=\"Beskrivelse\"")));

        f.source.SetActiveLanguage(1);
        QStringList norwegian = w.Snapshot();
        QCOMPARE(norwegian.at(0), QStringLiteral("Hovedvindu"));
        QCOMPARE(norwegian.at(1), QStringLiteral("Omtale"));
        QCOMPARE(norwegian.at(4), QStringLiteral("Start")); // missing in the Norwegian file
        QCOMPARE(norwegian.at(6), QStringLiteral("Bøker"));
        QCOMPARE(norwegian.at(14), QStringLiteral("Første"));

        f.source.SetActiveLanguage(-1);
        QStringList expected = danish;
        expected[14] = QStringLiteral("Første"); // empty in the window, so never recorded
        QCOMPARE(w.Snapshot(), expected);
        QVERIFY(f.localizer->Originals().isEmpty());
    }

    void textsChangedByCodeAreRecordedAfresh() {
        TFixture f;
        f.source.SetActiveLanguage(0);
        f.source.SetActiveLanguage(-1);
        f.window->Label1->setText(QStringLiteral("Titel"));
        f.source.SetActiveLanguage(0);
        QCOMPARE(f.window->Label1->text(), QStringLiteral("Description"));
        f.source.SetActiveLanguage(-1);
        QCOMPARE(f.window->Label1->text(), QStringLiteral("Titel"));
    }

    void commaListResizesCombo_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("restored");
        const QString all = QStringLiteral("Alle kategorier/10|Antikviteter/11|Bøger/12");
        // Lines keep what is attached to them while they exist.
        QTest::newRow("fewer items") << QByteArray("One,Two") << "One/10|Two/11"
                                     << "Alle kategorier/10|Antikviteter/11|Bøger/";
        QTest::newRow("more items") << QByteArray("A,B,C,\"D E\"") << "A/10|B/11|C/12|D E/" << all;
        QTest::newRow("one empty item") << QByteArray("\"\"\"\"\"\"") << "/10"
                                        << "Alle kategorier/10|Antikviteter/|Bøger/";
        QTest::newRow("empty value replaces nothing") << QByteArray("\"\"") << all << all;
    }
    void commaListResizesCombo() {
        QFETCH(QByteArray, value);
        QFETCH(QString, items);
        QFETCH(QString, restored);
        TFixture f;
        f.folder.Write(QStringLiteral("English.lng"), "[Form1]\r\nComboBox1.Items=" + value + "\r\n");
        f.source.SetActiveLanguage(0);
        QCOMPARE(f.window->Snapshot().at(9), items);
        f.source.SetActiveLanguage(-1);
        QCOMPARE(f.window->Snapshot().at(9), restored);
    }

    void excluded_data() {
        QTest::addColumn<QString>("excluded");
        QTest::addColumn<QString>("englishCaption");
        QTest::addColumn<QString>("captionAfterReturn");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("component: applied, not recorded") << "label1"
                                                          << "Description"
                                                          << "Description" << false;
        QTest::newRow("key: not applied") << "LABEL1.caption"
                                          << "Beskrivelse"
                                          << "Beskrivelse" << true;
    }
    void excluded() {
        QFETCH(QString, excluded);
        QFETCH(QString, englishCaption);
        QFETCH(QString, captionAfterReturn);
        QFETCH(bool, recorded);
        TFixture f;
        f.localizer->SetExcluded({excluded});
        f.source.SetActiveLanguage(0);
        QCOMPARE(f.window->Label1->text(), englishCaption);
        QCOMPARE(f.window->Label1->toolTip(), QStringLiteral("The item's description"));
        QCOMPARE(f.OriginalKeys().contains(QStringLiteral("Label1.Caption")), recorded);
        QCOMPARE(f.window->Button1->text(), QStringLiteral("Start"));
        f.source.SetActiveLanguage(-1);
        QCOMPARE(f.window->Label1->text(), captionAfterReturn);
        QCOMPARE(f.window->Button1->text(), QStringLiteral("Start program"));
    }

    void windowCreatedWhileEnglishIsActive() {
        TFixture f;
        f.source.SetActiveLanguage(0);
        TTestWindow late(QStringLiteral("Form1"));
        const QStringList danish = late.Snapshot();
        f.Attach(late);
        QCOMPARE(late.Label1->text(), QStringLiteral("Description"));
        QCOMPARE(late.windowTitle(), QStringLiteral("Main window"));
        f.source.SetActiveLanguage(-1);
        QStringList expected = danish;
        expected[14] = QStringLiteral("First|Prior|Next");
        QCOMPARE(late.Snapshot(), expected);
    }

    void fontsAndReadingDirection() {
        TFixture f;
        TTestWindow& w = *f.window;
        const auto check = [&](int charSet, Qt::LayoutDirection direction) {
            QList<QObject*> all = ComponentModel::Components(&w);
            all.prepend(&w);
            int widgets = 0;
            for (QObject* object : all) {
                if (!object->isWidgetType()) {
                    continue;
                }
                ++widgets;
                QVERIFY2(!PropertyAdapter::ParentFont(object), qPrintable(object->objectName()));
                QVERIFY(!PropertyAdapter::ParentBiDiMode(object));
                QCOMPARE(PropertyAdapter::FontCharSet(object), charSet);
                QCOMPARE(static_cast<QWidget*>(object)->layoutDirection(), direction);
            }
            QVERIFY(widgets >= 8);
            QCOMPARE(PropertyAdapter::ApplicationCharSet(), charSet);
        };
        QVERIFY(PropertyAdapter::ParentFont(w.Label1));
        f.source.SetActiveLanguage(2);
        check(177, Qt::RightToLeft);
        QCOMPARE(w.Label1->text(), QStringLiteral("תיאור"));
        f.source.SetActiveLanguage(-1);
        check(1, Qt::LeftToRight);
        QCOMPARE(w.Label1->text(), QStringLiteral("Beskrivelse"));
    }

    void creationErrors() {
        try {
            TFormLocalizer orphan(nullptr);
            QFAIL("no error");
        } catch (const ELocalError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Owner is not specified!"));
        }
        TFixture f;
        try {
            new TFormLocalizer(f.window.get());
            QFAIL("no error");
        } catch (const ELocalError& error) {
            QCOMPARE(error.Message(),
                     QStringLiteral("'Form1' already contains instance of TFormLocalizer class!"));
        }
        QCOMPARE(f.window->findChildren<TFormLocalizer*>().size(), 1);
    }

    void sourceTakenOverAfterLoading() {
        TLanguageFolder folder;
        auto* window = new TTestWindow;
        auto* source = new TLanguageSource(window);
        source->setObjectName(QStringLiteral("LanguageSource1"));
        source->BeginLoading();
        source->SetLanguages(
            {QStringLiteral("English=") + folder.Write(QStringLiteral("E.lng"), EnglishFile)});
        auto* localizer = new TFormLocalizer(window);
        localizer->BeginLoading();
        localizer->SetSource(source);
        QCOMPARE(localizer->PendingSource(), source);
        QVERIFY(localizer->Source() == nullptr);
        ComponentModel::EndLoading(window);
        QCOMPARE(localizer->Source(), source);
        QVERIFY(localizer->PendingSource() == nullptr);
        QCOMPARE(source->Localizers(), QList<TCustomLocalizer*>{localizer});
        source->SetActiveLanguage(0);
        QCOMPARE(window->Label1->text(), QStringLiteral("Description"));
        delete window; // source and localizer go with it, in either order
    }

    void sourceDestroyedGivesTextsBack() {
        TLanguageFolder folder;
        TTestWindow window;
        auto* source = new TLanguageSource;
        source->SetLanguages(
            {QStringLiteral("English=") + folder.Write(QStringLiteral("E.lng"), EnglishFile)});
        auto* localizer = new TFormLocalizer(&window);
        localizer->SetSource(source);
        source->SetActiveLanguage(0);
        QCOMPARE(window.Label1->text(), QStringLiteral("Description"));
        delete source;
        QVERIFY(localizer->Source() == nullptr);
        QCOMPARE(window.Label1->text(), QStringLiteral("Beskrivelse"));
        QVERIFY(localizer->Originals().isEmpty());
    }

    void localizerDestroyedLeavesSource() {
        TFixture f;
        QCOMPARE(f.source.Localizers().size(), 1);
        f.window.reset();
        QVERIFY(f.source.Localizers().isEmpty());
        f.source.SetActiveLanguage(0);
    }

    void propNamesChangedWhileTranslated() {
        TFixture f;
        f.source.SetActiveLanguage(0);
        f.localizer->SetPropNames({"Caption", "Text", "Items", "Hints", "Warning"});
        QCOMPARE(f.window->Label1->toolTip(), QStringLiteral("Tingens beskrivelse"));
        QCOMPARE(f.window->Label1->text(), QStringLiteral("Description"));
        QVERIFY(!f.OriginalKeys().contains(QStringLiteral("Label1.Hint")));
        f.localizer->SetPropNames({"Caption", "Hint"});
        // Joining names record what the window shows now.
        QVERIFY(f.localizer->Originals().contains(QStringLiteral("Label1.Hint=\"Tingens beskrivelse\"")));
        QCOMPARE(f.window->AboutBox1->Warning(), QStringLiteral("Advarsel: ophavsret"));
        f.source.SetActiveLanguage(-1);
        QCOMPARE(f.window->Label1->text(), QStringLiteral("Beskrivelse"));
        QVERIFY(f.localizer->Originals().isEmpty());
    }

    void propertyEvents() {
        TFixture f;
        QStringList localized;
        f.localizer->OnPropertyLocalizing = [](QObject*, QObject* object, const QString& prop, QString& value,
                                               bool& allow) {
            if (object->objectName() == QLatin1String("Label1") && prop == QLatin1String("Caption")) {
                value = value.toUpper();
            }
            allow = object->objectName() != QLatin1String("Button1");
        };
        f.localizer->OnPropertyLocalized = [&](QObject*, QObject* object, const QString& prop,
                                               const QString&) {
            localized << object->objectName() + QLatin1Char('.') + prop;
        };
        f.source.SetActiveLanguage(0);
        QCOMPARE(f.window->Label1->text(), QStringLiteral("DESCRIPTION"));
        QCOMPARE(f.window->Button1->text(), QStringLiteral("Start program"));
        QVERIFY(localized.contains(QStringLiteral("Label2.Caption"))); // reported though left alone
        QVERIFY(!localized.contains(QStringLiteral("Button1.Caption")));
    }

    void dependencies_data() {
        QTest::addColumn<QStringList>("dependencies");
        QTest::addColumn<bool>("ignoreIfEmpty");
        QTest::addColumn<QStringList>("button1Keys");
        QTest::newRow("none") << QStringList{} << false << QStringList{"Button1.Caption"};
        QTest::newRow("caption from hint, empty") << QStringList{"Caption=Hint"} << false << QStringList{};
        QTest::newRow("empty dependency ignored")
            << QStringList{"Caption=Hint"} << true << QStringList{"Button1.Caption"};
        QTest::newRow("cycle") << QStringList{"Caption=Hint", "Hint=Caption"} << false
                               << QStringList{"Button1.Caption"};
    }
    void dependencies() {
        QFETCH(QStringList, dependencies);
        QFETCH(bool, ignoreIfEmpty);
        QFETCH(QStringList, button1Keys);
        TFixture f;
        f.localizer->SetPropNames({"Caption"});
        f.localizer->SetDependencies(dependencies);
        f.localizer->SetSaveOptions(ignoreIfEmpty ? TSaveOptions(soIgnoreDependencyIfEmpty) : TSaveOptions());
        f.source.SetActiveLanguage(0);
        QStringList keys;
        for (const QString& key : f.OriginalKeys()) {
            if (key.startsWith(QLatin1String("Button1."))) {
                keys << key;
            }
        }
        QCOMPARE(keys, button1Keys);
    }

    void unusableFilesAreHarmless_data() {
        QTest::addColumn<QByteArray>("contents");
        QByteArray random(100000, '\0');
        QRandomGenerator generator(1234);
        for (char& byte : random) {
            byte = static_cast<char>(generator.bounded(256));
        }
        QTest::newRow("garbage") << random;
        QTest::newRow("no sections") << QByteArray("Caption=X\r\nLabel1.Caption=Y\r\n");
        QTest::newRow("enormous line")
            << QByteArray("[Form1]\r\nLabel1.Caption=\"") + QByteArray(4 << 20, 'x');
        QTest::newRow("other window only") << QByteArray("[Form2]\r\nLabel1.Caption=Y\r\n");
    }
    void unusableFilesAreHarmless() {
        QFETCH(QByteArray, contents);
        TFixture f;
        f.folder.Write(QStringLiteral("English.lng"), contents);
        const QStringList danish = f.window->Snapshot();
        f.source.SetActiveLanguage(0);
        if (QTest::currentDataTag() == QByteArrayLiteral("enormous line")) {
            QCOMPARE(f.window->Label1->text().size(), (4 << 20) - 1);
            f.window->Label1->setText(danish.at(1));
        }
        QCOMPARE(f.window->Snapshot(), danish);
        QCOMPARE(PropertyAdapter::FontCharSet(f.window.get()), 1);
        f.source.SetActiveLanguage(-1);
        QCOMPARE(f.window->Snapshot(), danish);
    }

    void saveWritesWindowSection() {
        TFixture f;
        f.source.SetActiveLanguage(0);
        f.window->Label1->setText(QStringLiteral("Two\r\nlines"));
        f.localizer->SetClearBeforeSave(true);
        f.localizer->Save();
        TLanguageFile file(f.folder.Path(QStringLiteral("English.lng")));
        QStringList section;
        file.ReadSectionValues(QStringLiteral("Form1"), section);
        QCOMPARE(file.ReadString(QStringLiteral("Form1"), QStringLiteral("Label1.Caption"), QString()),
                 QStringLiteral("Two\r\nlines"));
        QCOMPARE(file.ReadString(QStringLiteral("Form1"), QStringLiteral("DBNavigator1.Hints"), QString()),
                 QStringLiteral("First,Prior,Next"));
        QVERIFY(LocalUtils::IndexOfName(section, QStringLiteral("Label99.Caption")) < 0);
        QVERIFY(LocalUtils::IndexOfName(section, QStringLiteral("Label2.Caption")) < 0);
        QCOMPARE(
            file.ReadString(QStringLiteral("General Settings"), QStringLiteral("FontCharSet"), QString()),
            QStringLiteral("ANSI_CHARSET"));
    }
};

HABITRA_TEST(TFormLocalizerTest)
#include "FormLocalizerTest.moc"
