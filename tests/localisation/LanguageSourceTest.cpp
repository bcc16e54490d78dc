#include "ProgramFolder.h"
#include "TestRegistry.h"
#include "TestWindow.h"
#include "localisation/FormLocal.h"
#include "localisation/Local.h"
#include "localisation/LocalSource.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTest>

namespace {
// Records what its source tells it.
class TRecordingLocalizer : public TCustomLocalizer {
public:
    TRecordingLocalizer(QObject* owner, QStringList& log) : TCustomLocalizer(owner), m_log(log) {}
    void Localize() override { m_log << QStringLiteral("Localize"); }
    void LanguageChanging(int languageIndex, bool& allowChange) override {
        m_log << QStringLiteral("Changing %1").arg(languageIndex);
        allowChange = false; // not consulted
    }
    void LanguageChanged() override { m_log << QStringLiteral("Changed"); }

private:
    QStringList& m_log;
};

QString ReadCaption(TLanguageSource& source) {
    source.SetSection(QStringLiteral("Form1"));
    return source.ReadString(QStringLiteral("Caption"), QStringLiteral("-"));
}
} // namespace

class TLanguageSourceTest : public QObject {
    Q_OBJECT

private:
    TLanguageFolder m_folder;
    QStringList m_languages;

    void MakeSource(TLanguageSource& source) { source.SetLanguages(m_languages); }

private slots:
    void initTestCase() {
        m_languages.clear();
        const QStringList names{"English", "Norsk", "Svensk", "Deutsch"};
        for (const QString& name : names) {
            const QString path = m_folder.Write(name + QStringLiteral(".lng"),
                                                "[Form1]\r\nCaption=" + name.toLatin1() + "\r\n");
            m_languages << name + QLatin1Char('=') + path;
        }
    }

    void firstAssignmentAnnouncesNothing() {
        QStringList log;
        QStringList events;
        TRecordingLocalizer localizer(nullptr, log);
        const auto watch = [&](TLanguageSource& source) {
            source.RegisterLocalizer(&localizer);
            source.OnLanguageChanging = [&](QObject*, int index, bool&) {
                events << QStringLiteral("changing %1").arg(index);
            };
            source.OnLanguageChanged = [&](QObject*) { events << QStringLiteral("changed"); };
        };

        // Assigning the language list assigns -1: the first assignment, which only starts the source.
        TLanguageSource listed;
        watch(listed);
        QVERIFY(!listed.Started());
        listed.SetLanguages(m_languages);
        QVERIFY(listed.Started());
        QVERIFY(log.isEmpty());
        QVERIFY(events.isEmpty());
        listed.UnregisterLocalizer(&localizer);

        // A list given while loading is only recorded; leaving the loading state without the loaded
        // step makes the next assignment the first one.
        TLanguageSource source;
        source.BeginLoading();
        source.SetLanguages(m_languages);
        source.TComponent::Loaded();
        watch(source);
        source.SetActiveLanguage(1);
        QCOMPARE(log, QStringList{"Localize"});
        QVERIFY(events.isEmpty());
        QVERIFY(source.Started());

        log.clear();
        source.SetActiveLanguage(2);
        QCOMPARE(log, QStringList({"Changing 2", "Localize", "Changed"}));
        QCOMPARE(events, QStringList({"changing 2", "changed"}));
        source.UnregisterLocalizer(&localizer);
    }

    void sameIndexIsNotReread() {
        TLanguageSource source;
        MakeSource(source);
        QStringList log;
        TRecordingLocalizer localizer(nullptr, log);
        source.RegisterLocalizer(&localizer);
        source.SetActiveLanguage(0);
        QCOMPARE(ReadCaption(source), QStringLiteral("English"));
        const QString path = m_folder.Write(QStringLiteral("Changed.lng"), "[Form1]\r\nCaption=Before\r\n");
        TLanguageSource other;
        other.SetLanguages({QStringLiteral("Changed=") + path});
        other.SetActiveLanguage(0);
        m_folder.Write(QStringLiteral("Changed.lng"), "[Form1]\r\nCaption=After\r\n");
        log.clear();
        other.SetActiveLanguage(0);
        QCOMPARE(ReadCaption(other), QStringLiteral("Before"));
        source.SetActiveLanguage(0);
        QVERIFY(log.isEmpty());
        // Activating anew reads the file again.
        other.SetActiveLanguage(-1);
        other.SetActiveLanguage(0);
        QCOMPARE(ReadCaption(other), QStringLiteral("After"));
        source.UnregisterLocalizer(&localizer);
    }

    void indexOutOfBounds_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("past the list") << 4;
        QTest::newRow("below -1") << -2;
    }
    void indexOutOfBounds() {
        QFETCH(int, index);
        TLanguageSource source;
        MakeSource(source);
        source.SetActiveLanguage(2);
        TLanguageFile* file = source.LanguageFile();
        try {
            source.SetActiveLanguage(index);
            QFAIL("no error");
        } catch (const ELocalError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Index out of bounds (%1)").arg(index));
        }
        QCOMPARE(source.ActiveLanguage(), 2);
        QCOMPARE(source.LanguageFile(), file);
        QCOMPARE(ReadCaption(source), QStringLiteral("Svensk"));
    }

    void minusOneOpensNoFile() {
        TLanguageSource source;
        MakeSource(source);
        source.SetActiveLanguage(3);
        QVERIFY(source.LanguageFile() != nullptr);
        source.SetActiveLanguage(-1);
        QVERIFY(source.LanguageFile() == nullptr);
        QCOMPARE(ReadCaption(source), QStringLiteral("-"));
    }

    void replacingLanguagesResetsIndex() {
        TLanguageSource source;
        MakeSource(source);
        source.SetActiveLanguage(1);
        source.SetLanguages(m_languages.mid(0, 2));
        QCOMPARE(source.ActiveLanguage(), -1);
        QVERIFY(source.LanguageFile() == nullptr);
    }

    void refusedChangeKeepsState() {
        TLanguageSource source;
        MakeSource(source);
        source.SetActiveLanguage(0);
        source.OnLanguageChanging = [](QObject*, int, bool& allow) { allow = false; };
        source.SetActiveLanguage(1);
        QCOMPARE(source.ActiveLanguage(), 0);
        QVERIFY(source.Started());
    }

    void loadingRecordsPendingLanguage() {
        TTestWindow window;
        auto* source = new TLanguageSource(&window);
        source->BeginLoading();
        source->SetLanguages(m_languages);
        source->SetActiveLanguage(2);
        source->ActiveSettings()->SetBiDiMode(1);
        source->ActiveSettings()->SetFontCharSet(204);
        QCOMPARE(source->ActiveLanguage(), -1);
        QCOMPARE(source->PendingLanguage(), 2);
        QVERIFY(!source->Started());
        ComponentModel::EndLoading(&window);
        QVERIFY(!source->IsLoading());
        QCOMPARE(source->ActiveLanguage(), 2);
        QVERIFY(source->Started());
        source->SetActiveLanguage(-1);
        QCOMPARE(source->ActiveSettings()->BiDiMode(), 0);
        QCOMPARE(source->ActiveSettings()->FontCharSet(), 1);

        auto* outOfRange = new TLanguageSource(&window);
        outOfRange->BeginLoading();
        outOfRange->SetActiveLanguage(7);
        ComponentModel::EndLoading(&window);
        QCOMPARE(outOfRange->ActiveLanguage(), -1);
        QVERIFY(!outOfRange->Started());
    }

    void fileNames() {
        TLanguageSource source;
        source.SetLanguages({"English=a.lng", "Norsk=b.lng", "english=c.lng"});
        QCOMPARE(source.GetLanguageFileName(-1), QString());
        QCOMPARE(source.GetLanguageFileName(1), QStringLiteral("b.lng"));
        QCOMPARE(source.GetLanguageFileName(2), QStringLiteral("a.lng"));
        QVERIFY_THROWS_EXCEPTION(ELocalError, source.GetLanguageFileName(3));
        QCOMPARE(source.DefaultFileExt(), QStringLiteral("lng"));
        QCOMPARE(source.OriginalName(), QStringLiteral("Original"));
    }

    void settings_data() {
        QTest::addColumn<QByteArray>("generalSettings");
        QTest::addColumn<int>("biDiMode");
        QTest::addColumn<int>("charSet");
        QTest::newRow("no section") << QByteArray() << 0 << 1;
        QTest::newRow("right to left, Russian")
            << QByteArray("BiDiMode=1\r\nFontCharSet=russian_charset") << 1 << 204;
        QTest::newRow("mode 3, Greek") << QByteArray("BiDiMode=3\r\nFontCharSet=GREEK_CHARSET") << 3 << 161;
        QTest::newRow("mode out of range") << QByteArray("BiDiMode=7\r\nFontCharSet=ANSI_CHARSET") << 0 << 0;
        QTest::newRow("mode no number, charset a number")
            << QByteArray("BiDiMode=x\r\nFontCharSet=204") << 0 << 1;
        QTest::newRow("quoted values")
            << QByteArray("BiDiMode=\"2\"\r\nFontCharSet=\"THAI_CHARSET\"") << 2 << 222;
    }
    void settings() {
        QFETCH(QByteArray, generalSettings);
        QFETCH(int, biDiMode);
        QFETCH(int, charSet);
        QByteArray contents = "[Form1]\r\nCaption=X\r\n";
        if (!generalSettings.isEmpty()) {
            contents += "[General Settings]\r\n" + generalSettings + "\r\n";
        }
        TLanguageSource source;
        source.SetLanguages(
            {QStringLiteral("L=") + m_folder.Write(QStringLiteral("settings.lng"), contents)});
        source.SetActiveLanguage(0);
        source.SetSection(QStringLiteral("Form1"));
        QCOMPARE(source.ActiveSettings()->BiDiMode(), biDiMode);
        QCOMPARE(source.ActiveSettings()->FontCharSet(), charSet);
        QCOMPARE(source.GetSection(), QStringLiteral("Form1"));
    }

    void settingsWrittenIntoActiveFile() {
        const QString path = m_folder.Write(QStringLiteral("written.lng"), "[Form1]\r\nCaption=X\r\n");
        TLanguageSource source;
        source.SetLanguages({QStringLiteral("L=") + path});
        source.ActiveSettings()->SetFontCharSet(204);
        QCOMPARE(source.ActiveSettings()->FontCharSet(), 204); // stored while at -1
        source.SetActiveLanguage(0);
        QCOMPARE(source.ActiveSettings()->FontCharSet(), 1);
        source.ActiveSettings()->SetFontCharSet(161);
        source.ActiveSettings()->SetBiDiMode(2);
        source.ActiveSettings()->SetFontCharSet(99);
        source.SetActiveLanguage(-1);
        QCOMPARE(source.ActiveSettings()->FontCharSet(), 204);
        TLanguageFile file(path);
        QCOMPARE(
            file.ReadString(QStringLiteral("General Settings"), QStringLiteral("FontCharSet"), QString()),
            QStringLiteral("DEFAULT_CHARSET"));
        QCOMPARE(file.ReadString(QStringLiteral("General Settings"), QStringLiteral("BiDiMode"), QString()),
                 QStringLiteral("2"));
    }

    void storageOfTheBaseClass() {
        TCustomLanguageSource source;
        source.SetSection(QStringLiteral("Form1"));
        QCOMPARE(source.ReadString(QStringLiteral("Caption"), QStringLiteral("d")), QStringLiteral("d"));
        QStringList list{QStringLiteral("kept")};
        source.ReadSection(list);
        QCOMPARE(list, QStringList{"kept"});
        const QString refusal = QStringLiteral("Cannot write to source file (ReadOnly = True)!");
        const std::function<void()> writes[] = {
            [&] { source.WriteString(QStringLiteral("a"), QStringLiteral("b")); },
            [&] { source.WriteSection(list); }, [&] { source.EraseSection(); }, [&] { source.Clear(); }};
        for (const auto& write : writes) {
            try {
                write();
                QFAIL("no error");
            } catch (const ELocalError& error) {
                QCOMPARE(error.Message(), refusal);
            }
        }
        try {
            TLanguageSettings settings(nullptr);
            QFAIL("no error");
        } catch (const ELocalError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Language source must be specified!"));
        }
    }

    void shippedFiles() {
        TProgramFolder folder;
        QVERIFY(folder.IsValid());
        const QStringList names{"English", "Norsk", "Svensk", "Deutsch"};
        QStringList languages;
        for (const QString& name : names) {
            languages << name + QStringLiteral("=") + folder.FilePath(name + QStringLiteral(".lng"));
            QFile file(folder.FilePath(name + QStringLiteral(".lng")));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            QStringDecoder decoder("windows-1252");
            const QString text = decoder.decode(file.readAll());
            QVERIFY(!decoder.hasError());
            QVERIFY(!text.contains(QChar::ReplacementCharacter));
        }
        TLanguageSource source;
        source.SetLanguages(languages);
        for (int index = 0; index < names.size(); ++index) {
            source.SetActiveLanguage(index);
            QVERIFY(source.LanguageFile()->SectionExists(QStringLiteral("General Settings")));
            QCOMPARE(source.ActiveSettings()->BiDiMode(), 0);
            QCOMPARE(source.ActiveSettings()->FontCharSet(), 0);
        }
    }
};

HABITRA_TEST(TLanguageSourceTest)
#include "LanguageSourceTest.moc"
