#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "catalogue/Catalogue.h"
#include "export/DataExportASCII.h"
#include "overview/Unit2.h"
#include "store/Error.h"
#include "store/Sqlite.h"
#include "store/Table.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBNavigator.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <sys/mount.h>
#include <unistd.h>

// Damaged and hostile data and a failing disk, met through the main window: each ends in a clear message,
// nothing crashes, and what was posted stays.
class THardeningTest : public QObject {
    Q_OBJECT
private slots:
    void damagedItemTable_data();
    void damagedItemTable();
    void lockedItemTable();
    void readOnlyDataFolder_data();
    void readOnlyDataFolder();
    void missingPictureFolder();
    void readOnlyPictureFolder();
    void unusableLanguageFile_data();
    void unusableLanguageFile();
    void hostileItemText();
    void diskFullDuringExport();
    void diskFullDuringPost();
};

namespace {
// Mounting needs root: another user skips the case, while for root a failed mount is a failure.
#define REQUIRE_MOUNT(mounted, what)                                                                         \
    do {                                                                                                     \
        if (!(mounted) && ::geteuid() != 0) {                                                                \
            QSKIP(what " needs root");                                                                       \
        }                                                                                                    \
        QVERIFY2(mounted, what " is needed");                                                                \
    } while (false)

// A file system mounted for one test and detached again, whatever happens.
class TMount {
public:
    TMount(const QString& source, const QString& target, const char* type, unsigned long flags,
           const char* data)
        : m_target(QFile::encodeName(target)) {
        m_mounted =
            mount(QFile::encodeName(source).constData(), m_target.constData(), type, flags, data) == 0;
    }
    // A read-only view of a folder over the folder itself.
    static std::unique_ptr<TMount> ReadOnly(const QString& folder) {
        auto bound = std::make_unique<TMount>(folder, folder, nullptr, MS_BIND, nullptr);
        if (bound->m_mounted && mount(nullptr, bound->m_target.constData(), nullptr,
                                      MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            bound.reset();
        }
        if (!bound || !bound->m_mounted) {
            return nullptr;
        }
        return bound;
    }
    ~TMount() {
        if (m_mounted) {
            umount2(m_target.constData(), MNT_DETACH);
        }
    }
    TMount(const TMount&) = delete;
    TMount& operator=(const TMount&) = delete;
    bool Mounted() const { return m_mounted; }

private:
    QByteArray m_target;
    bool m_mounted = false;
};

// Installs the platform double for one test.
struct TPlatformDouble {
    TTestPlatform& Platform = TTestPlatform::Install();
    ~TPlatformDouble() { TTestPlatform::Uninstall(); }
};

QString ItemFile(const TMainWindowFixture& fixture) {
    return QDir(fixture.Folder.DataPath()).filePath(QStringLiteral("Habitra.db"));
}

// Every item as stored: Foto, Beskrivelse, Notater, Kategori, in file order.
QStringList StoredItems(const QString& file) {
    TSqliteDatabase db;
    db.Open(file);
    TSqliteStatement query(
        db, QStringLiteral("SELECT Foto, Beskrivelse, Notater, Kategori FROM Habitra ORDER BY rowid"));
    QStringList rows;
    while (query.Step()) {
        rows << QStringList{query.Text(0), query.Text(1), query.Text(2), query.Text(3)}.join(
            QLatin1Char('|'));
    }
    return rows;
}

// True when another connection holds the file (a read waits out the busy time and gives up).
bool IsLocked(const QString& file) {
    try {
        TSqliteDatabase db;
        db.Open(file);
        return false;
    } catch (const EDatabaseError& error) {
        return error.Message().contains(QStringLiteral("database is locked"));
    }
}

QString IntegrityCheck(const QString& file) {
    TSqliteDatabase db;
    db.Open(file);
    TSqliteStatement query(db, QStringLiteral("PRAGMA integrity_check"));
    return query.Step() ? query.Text(0) : QString();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

const QString ThreeNumbers = QStringLiteral("INSERT INTO Regnr (Regnr) VALUES (1), (2), (3)");
const QString ThreeItems = QStringLiteral("INSERT INTO Habitra (Beskrivelse, Notater, Foto, Kategori) VALUES "
                                          "('Chatol', 'arvestykke', 1, 'Antikviteter'), ('Kommode', '', 2, "
                                          "'Antikviteter'), ('Stol', 'rokoko', 3, 'Antikviteter')");

// Waits until the answerer has seen `count` message boxes.
bool AwaitMessages(const TMainWindowFixture& fixture, int count) {
    return QTest::qWaitFor([&] { return fixture.Answerer->Count() >= count; }, 8000);
}

// Answers the next modal dialog named `name` by running `answer` on it.
void AnswerDialog(const QString& name, std::function<void(QDialog&)> answer) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && (name.isEmpty() || dialog->objectName() == name)) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start(10);
}
} // namespace

void THardeningTest::damagedItemTable_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated") << "truncated"
                               << "Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra "
                                  "dette program.\n\rdatabase disk image is malformed.";
    QTest::newRow("garbage") << "garbage"
                             << "Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra dette "
                                "program.\n\rfile is not a database.";
    QTest::newRow("old shape")
        << "old shape"
        << "Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra dette program.\n\rit has "
           "no field Kategori; the file is of another kind or version.";
    QTest::newRow("foreign shape") << "foreign shape"
                                   << "Tabellen \"Data/Habitra.db\" er beskadiget eller er ikke en tabel fra "
                                      "dette program.\n\rit holds no table named Habitra.";
}

void THardeningTest::damagedItemTable() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    TMainWindowFixture fixture;
    const QString file = ItemFile(fixture);
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    if (damage == QLatin1String("truncated")) {
        // Enough rows that the table spans pages, then cut in the middle of one.
        fixture.Sql(QStringLiteral("Habitra.db"),
                    QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                   "FROM n WHERE i < 400) INSERT INTO Habitra (Beskrivelse, "
                                   "Kategori) SELECT printf('ting %d', i), 'Antikviteter' FROM n"));
        const QByteArray whole = ReadAll(file);
        WriteAll(file, whole.left(whole.size() / 2 + 100));
    } else if (damage == QLatin1String("garbage")) {
        QByteArray bytes(20000, '\0');
        QRandomGenerator generator(77);
        for (char& byte : bytes) {
            byte = char(generator.bounded(256));
        }
        WriteAll(file, bytes);
    }
    if (damage == QLatin1String("old shape") || damage == QLatin1String("foreign shape")) {
        QFile::remove(file);
        TSqliteDatabase db;
        db.Open(file, true);
        db.Execute(
            damage == QLatin1String("old shape")
                ? QStringLiteral(
                      "CREATE TABLE Habitra (Beskrivelse TEXT, Fabrikat TEXT, Model TEXT, "
                      "Identifikation TEXT, Kobssted TEXT, Kobsdato TEXT, Vaerdi TEXT, Notater TEXT, "
                      "Foto INTEGER); INSERT INTO Habitra (Beskrivelse) VALUES ('gammel')")
                : QStringLiteral(
                      "CREATE TABLE Items (Name TEXT, Price REAL); INSERT INTO Items VALUES ('x', 1)"));
    }
    const QByteArray before = ReadAll(file);

    TForm1& form = fixture.Start();
    QVERIFY(AwaitMessages(fixture, 1));
    QCOMPARE(fixture.Answerer->Titles.first(), QStringLiteral("Habitra"));
    QCOMPARE(fixture.Answerer->Texts.first(), message);
    QVERIFY(!form.Register().HabitraTable().Active());

    // The user goes on clicking: every command refuses with a message, none crashes or writes.
    form.Controls().SpeedButton3->click();
    fixture.SelectPage(QStringLiteral("TabSheet2"));
    form.Navigator(2)->Button(nbInsert)->click();
    form.Navigator(2)->Button(nbNext)->click();
    QTest::qWait(100);
    QVERIFY(form.isVisible());
    QCOMPARE(ReadAll(file), before);
}

void THardeningTest::lockedItemTable() {
    TMainWindowFixture fixture;
    const QString file = ItemFile(fixture);
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Chatol"));

    // Another program holds the file.
    QProcess holder;
    holder.start(QStringLiteral("sqlite3"),
                 {QStringLiteral("-cmd"), QStringLiteral("BEGIN EXCLUSIVE;"), file});
    QVERIFY2(holder.waitForStarted(), "the sqlite3 shell is needed");
    QVERIFY(QTest::qWaitFor([&] { return IsLocked(file); }, 20000));

    form.Navigator(1)->Button(nbEdit)->click();
    form.Controls().DBEdit1->setFocus();
    form.Controls().DBEdit1->end(false);
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral(" i eg"));
    form.Navigator(1)->Button(nbPost)->click();
    QVERIFY(AwaitMessages(fixture, 1));
    QCOMPARE(fixture.Answerer->Texts.first(),
             QStringLiteral("Tabellen \"Data/Habitra.db\" er i brug af et andet program. Prøv igen, når det "
                            "andet program er lukket.\n\rdatabase is locked."));
    QCOMPARE(form.Register().HabitraTable().State(), dsEdit);
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Chatol i eg"));

    // Once the other program lets go, the same post goes through.
    holder.write("COMMIT;\n.quit\n");
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
    form.Navigator(1)->Button(nbPost)->click();
    QCOMPARE(fixture.Answerer->Count(), 1);
    QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
    QCOMPARE(StoredItems(file).first(), QStringLiteral("1|Chatol i eg|arvestykke|Antikviteter"));
    QCOMPARE(IntegrityCheck(file), QStringLiteral("ok"));
}

void THardeningTest::readOnlyDataFolder_data() {
    QTest::addColumn<QString>("readOnly"); // in the data folder; empty: the folder itself
    QTest::addColumn<QString>("message");
    QTest::newRow("data folder")
        << ""
        << "Datamappen \"Data\" er skrivebeskyttet. Du kan se og udskrive dine data, men "
           "ikke ændre dem, og vinduets størrelse og sprog gemmes ikke.";
    QTest::newRow("item table")
        << "Habitra.db"
        << "Disse tabeller er skrivebeskyttede: Data/Habitra.db. Du kan se og udskrive dine "
           "data, men ændringer i dem kan ikke gemmes.";
}

// Said once at start; then the items can be browsed and printed with every editing command off, and
// closing says nothing more.
void THardeningTest::readOnlyDataFolder() {
    QFETCH(QString, readOnly);
    QFETCH(QString, message);
    TPlatformDouble platform;
    TMainWindowFixture fixture;
    const QString file = ItemFile(fixture);
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    const QStringList stored = StoredItems(file);
    const QString config = fixture.ConfigRow();
    const auto mounted = TMount::ReadOnly(
        readOnly.isEmpty() ? fixture.Folder.DataPath() : QDir(fixture.Folder.DataPath()).filePath(readOnly));
    REQUIRE_MOUNT(mounted, "a read-only bind mount");

    TForm1& form = fixture.Start();
    QVERIFY(AwaitMessages(fixture, 1));
    QTest::qWait(50);
    QCOMPARE(fixture.Answerer->Texts, QStringList{message});
    QCOMPARE(fixture.Answerer->Titles, QStringList{QStringLiteral("Advarsel")});
    form.Controls().SpeedButton3->click();
    // Browsing works.
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 3);
    form.Navigator(1)->Button(nbNext)->click();
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Kommode"));
    fixture.SelectPage(QStringLiteral("TabSheet2"));
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
    fixture.SelectPage(QStringLiteral("TabSheet1"));
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 3);

    // Every editing command is off, and typing changes nothing and says nothing.
    for (TNavigateBtn button : {nbInsert, nbEdit, nbDelete, nbPost, nbCancel}) {
        QVERIFY(!form.Navigator(1)->Button(button)->isEnabled());
    }
    for (QLineEdit* edit :
         {static_cast<QLineEdit*>(form.Controls().DBEdit1), static_cast<QLineEdit*>(form.Controls().DBEdit5),
          static_cast<QLineEdit*>(form.Controls().DBEdit7)}) {
        QVERIFY(edit->isReadOnly());
    }
    QVERIFY(form.Controls().DBMemo1->isReadOnly());
    QVERIFY(!form.Controls().DBEdit5->CalendarButton()->isEnabled());
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral("x"));
    QTest::keyClicks(form.Controls().DBMemo1, QStringLiteral("y"));
    QTest::qWait(50);
    QCOMPARE(fixture.Answerer->Count(), 1);
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Chatol"));
    QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
    form.Navigator(1)->Button(nbLast)->click();
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Stol"));
    // Printing the list still works; the overview and the main window close without a word.
    form.Form2->show();
    form.Form2->findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
    QCOMPARE(platform.Platform.Previews, 1);
    form.Form2->close();
    form.close();
    QTest::qWait(50);
    QCOMPARE(fixture.Answerer->Count(), 1);
    QCOMPARE(StoredItems(file), stored);
    if (readOnly.isEmpty()) {
        QCOMPARE(fixture.ConfigRow(), config);
    }
}

void THardeningTest::missingPictureFolder() {
    TMainWindowFixture fixture;
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    QVERIFY(QDir(fixture.Folder.PicturePath()).removeRecursively());
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    form.Navigator(1)->Button(nbNext)->click();
    form.Navigator(1)->Button(nbNext)->click();
    QVERIFY(AwaitMessages(fixture, 1));
    // Each message names the missing placeholder; browsing goes on.
    const QString expected =
        QStringLiteral(
            "Cannot read the picture \"%1/Ingen.jpg\": Filen eller mappen findes ikke.") // Qt's words, Danish
            .arg(fixture.Folder.PicturePath());
    for (const QString& text : std::as_const(fixture.Answerer->Texts)) {
        QCOMPARE(text, expected);
    }
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Stol"));
    form.Navigator(1)->Button(nbEdit)->click();
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral(" 1750"));
    form.Navigator(1)->Button(nbPost)->click();
    QCOMPARE(StoredItems(ItemFile(fixture)).last(), QStringLiteral("3|Stol 1750|rokoko|Antikviteter"));
}

void THardeningTest::readOnlyPictureFolder() {
    TMainWindowFixture fixture;
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    const QString chosen = fixture.Folder.FilePath(QStringLiteral("foto.jpg"));
    QVERIFY(QFile::copy(TProgramFolder::SourcePath(QStringLiteral("resources/pictures/Ingen.jpg")), chosen));
    const auto readOnly = TMount::ReadOnly(fixture.Folder.PicturePath());
    REQUIRE_MOUNT(readOnly, "a read-only bind mount");
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    AnswerDialog(QStringLiteral("OpenDialog1"), [&](QDialog& dialog) {
        // The file name line of the dialog, as the user types it.
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(chosen);
        dialog.done(QDialog::Accepted);
    });
    form.Controls().SpeedButton4->click();
    QVERIFY(AwaitMessages(fixture, 1));
    QCOMPARE(fixture.Answerer->Texts,
             QStringList{QStringLiteral(
                             "Billedet \"%1\" kunne ikke kopieres til \"%2/1.jpg\": Read-only file system.")
                             .arg(chosen, fixture.Folder.PicturePath())});
    QVERIFY(!QFileInfo::exists(fixture.Folder.PicturePath() + QStringLiteral("/1.jpg")));
    // Browsing goes on with the placeholder.
    form.Navigator(1)->Button(nbNext)->click();
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Kommode"));
    QCOMPARE(fixture.Answerer->Count(), 1);
}

void THardeningTest::unusableLanguageFile_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("caption"); // of the front page's start button afterwards
    QByteArray garbage(200000, '\0');
    QRandomGenerator generator(4711);
    for (char& byte : garbage) {
        byte = char(generator.bounded(256));
    }
    QTest::newRow("garbage bytes") << garbage << "Start program";
    QTest::newRow("enormous lines") << QByteArray("[Form1]\r\nSpeedButton3.Caption=") +
                                           QByteArray(8 << 20, 'x') + QByteArray("\r\n") +
                                           QByteArray(8 << 20, 'y')
                                    << QString(8 << 20, QLatin1Char('x'));
    QTest::newRow("no sections") << QByteArray("SpeedButton3.Caption=Start\r\nLabel9.Caption=Title\r\n")
                                 << "Start program";
}

// A language file that holds nothing usable leaves the texts as they are; the program goes on.
void THardeningTest::unusableLanguageFile() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, caption);
    TMainWindowFixture fixture;
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    WriteAll(fixture.Folder.FilePath(QStringLiteral("English.lng")), contents);
    TForm1& form = fixture.Start();
    const QString label = form.Controls().Label9->text();
    form.Controls().English->trigger();
    QCOMPARE(form.ActiveLanguage(), 0);
    QCOMPARE(form.Controls().Sproget->text(), QStringLiteral("English"));
    QCOMPARE(form.Controls().SpeedButton3->text(), caption);
    QCOMPARE(form.Controls().Label9->text(), label);
    form.Controls().SpeedButton3->click();
    form.Navigator(1)->Button(nbInsert)->click();
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral("Vase"));
    form.Navigator(1)->Button(nbPost)->click();
    form.Controls().Dansk->trigger();
    QCOMPARE(form.Controls().SpeedButton3->text(), QStringLiteral("Start program"));
    QCOMPARE(fixture.Answerer->Count(), 0);
    QCOMPARE(StoredItems(ItemFile(fixture)).last(),
             QStringLiteral("4|Vase||") +
                 Catalogue::CategoryValue(*Catalogue::FindByPage(QStringLiteral("TabSheet1")), 0));
}

namespace {

// Splits a delimited file into records of fields: quoted values may hold the separator, doubled
// quotes and line breaks.
QList<QStringList> ParseDelimited(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString value;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                value += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                value += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            record << value;
            value.clear();
        } else if (c == QLatin1Char('\r') && text.mid(i, 2) == QLatin1String("\r\n")) {
            record << value;
            value.clear();
            records << record;
            record.clear();
            ++i;
        } else {
            value += c;
        }
    }
    return records;
}

// Answers the export's file-name question with `name`.
void AnswerExportFileName(const QString& name) {
    AnswerDialog(QStringLiteral("ExportFileNameDialog"), [name](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("FileNameEdit"))->setText(name);
        dialog.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
}

void Paste(QWidget* target, const QString& text) {
    QApplication::clipboard()->setText(text);
    target->setFocus();
    QTest::keySequence(target, QKeySequence::Paste);
}
} // namespace

void THardeningTest::hostileItemText() {
    TPlatformDouble platform;
    TMainWindowFixture fixture;
    const QString file = ItemFile(fixture);
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    // 60 characters, the field's size: quotes of both kinds, separators, control characters.
    const QString description =
        QStringLiteral(
            "\"Bord\"; 'eg'\t;;\x01\x07\x1b end\"\" ' or '1'='1 -- ;\\n %s %1 \u00e6\u00f8\u00e5 \u20ac")
            .leftJustified(60, QLatin1Char(';'));
    QCOMPARE(description.size(), 60);
    QString notes;
    QRandomGenerator generator(99);
    const QString pieces[] = {QStringLiteral("\"citat\""), QStringLiteral(";"),
                              QStringLiteral("'"),         QStringLiteral("\n"),
                              QStringLiteral("\t"),        QStringLiteral("\x02\x1f"),
                              QStringLiteral("ord "),      QStringLiteral("\u00c6bler ")};
    while (notes.size() < 200000) {
        notes += pieces[generator.bounded(int(std::size(pieces)))];
    }

    QVERIFY(QFile::copy(fixture.Folder.PicturePath() + QStringLiteral("/Ingen.jpg"),
                        fixture.Folder.PicturePath() + QStringLiteral("/4.jpg")));
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    form.Navigator(1)->Button(nbInsert)->click();
    Paste(form.Controls().DBEdit1, description);
    Paste(form.Controls().DBMemo1, notes);
    form.Navigator(1)->Button(nbPost)->click();
    QCOMPARE(fixture.Answerer->Count(), 0);
    QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
    const QStringList stored = StoredItems(file);
    QCOMPARE(stored.size(), 4);
    QCOMPARE(stored.last(),
             QStringList({QStringLiteral("4"), description, notes, QStringLiteral("Antikviteter")})
                 .join(QLatin1Char('|')));

    // The editor shows it back as stored after moving away and back.
    form.Navigator(1)->Button(nbFirst)->click();
    form.Navigator(1)->Button(nbLast)->click();
    QCOMPARE(form.Controls().DBEdit1->text(), description);
    QCOMPARE(form.Controls().DBMemo1->toPlainText(), notes);

    // The picture page printout filters on category and description: the quotes must not break it.
    form.Controls().SpeedButton1->click();
    QCOMPARE(fixture.Answerer->Count(), 0);
    QCOMPARE(platform.Platform.Previews, 1);
    QCOMPARE(form.Register().HabitraTable().Filter(), QStringLiteral("Kategori = 'Antikviteter'"));
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 4);

    // The overview: grid and the list printout.
    TForm2& overview = *form.Form2;
    overview.show();
    auto* grid = overview.findChild<TDBGrid*>(QStringLiteral("DBGrid1"));
    QVERIFY(grid);
    QStringList cells;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            cells << grid->model()->index(row, column).data().toString();
        }
    }
    QVERIFY(cells.contains(description));
    overview.findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
    QCOMPARE(fixture.Answerer->Count(), 0);
    QCOMPARE(platform.Platform.Previews, 2);
    overview.hide();

    // The export gives it back value for value.
    AnswerExportFileName(QStringLiteral("Habitra.txt"));
    form.Controls().Dataeksport1->trigger();
    QVERIFY(AwaitMessages(fixture, 1));
    QVERIFY2(fixture.Answerer->Texts.first().startsWith(QStringLiteral("Data er exporteret til Habitra.txt")),
             qPrintable(fixture.Answerer->Texts.first()));
    QStringDecoder ansi("windows-1252");
    const QString exported = ansi(ReadAll(fixture.Folder.FilePath(QStringLiteral("Habitra.txt"))));
    const QList<QStringList> records = ParseDelimited(exported);
    QCOMPARE(records.size(), 5);
    const QStringList captions = records.first();
    QCOMPARE(records.last().value(int(captions.indexOf(QStringLiteral("Beskrivelse")))), description);
    QVERIFY(!captions.contains(QStringLiteral("Notater"))); // memos are not exported
    QCOMPARE(records.last().size(), captions.size());
    QCOMPARE(IntegrityCheck(file), QStringLiteral("ok"));
}

void THardeningTest::diskFullDuringExport() {
    TPlatformDouble platform;
    TMainWindowFixture fixture;
    const QString file = ItemFile(fixture);
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    const QStringList stored = StoredItems(file);
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), fixture.Folder.FilePath(QStringLiteral("full.txt"))));
    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    form.Navigator(1)->Button(nbNext)->click();
    const QString filter = form.Register().HabitraTable().Filter();

    AnswerExportFileName(QStringLiteral("full.txt"));
    form.Controls().Dataeksport1->trigger();
    QVERIFY(AwaitMessages(fixture, 1));
    QTest::qWait(50);
    QCOMPARE(fixture.Answerer->Texts,
             QStringList{QStringLiteral("Filen kunne ikke skrives færdig. Måske er disken "
                                        "fuld.\n\rStream write error.")});
    QCOMPARE(fixture.Answerer->Titles.first(), QStringLiteral("Habitra"));
    QVERIFY(platform.Platform.Opened.isEmpty());
    // Nothing else is touched: the table, its filter and the editor go on as before.
    QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
    QVERIFY(!form.Register().HabitraTable().ControlsDisabled());
    QCOMPARE(form.Register().HabitraTable().Filter(), filter);
    QVERIFY(form.Register().HabitraTable().Filtered());
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 3);
    QCOMPARE(StoredItems(file), stored);
    // The export leaves the cursor where it ended; the editor goes on from there.
    form.Navigator(1)->Button(nbFirst)->click();
    form.Navigator(1)->Button(nbNext)->click();
    form.Navigator(1)->Button(nbEdit)->click();
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral("!"));
    form.Navigator(1)->Button(nbPost)->click();
    QCOMPARE(fixture.Answerer->Count(), 1);
    QCOMPARE(StoredItems(file).at(1), QStringLiteral("2|Kommode!||Antikviteter"));
}

void THardeningTest::diskFullDuringPost() {
    TMainWindowFixture fixture;
    const QString data = fixture.Folder.DataPath();
    const QString file = ItemFile(fixture);
    fixture.Sql(QStringLiteral("Habitra.db"), ThreeItems);
    fixture.Sql(QStringLiteral("Regnr.DB"), ThreeNumbers);
    // The data folder moves onto a small file system of its own.
    const QString original = fixture.Folder.FilePath(QStringLiteral("Data.original"));
    QVERIFY(QDir().rename(data, original));
    QVERIFY(QDir().mkpath(data));
    TMount disk(QStringLiteral("tmpfs"), data, "tmpfs", 0, "size=2m");
    REQUIRE_MOUNT(disk.Mounted(), "a tmpfs mount");
    for (const QString& name : QDir(original).entryList(QDir::Files)) {
        QVERIFY(QFile::copy(original + QLatin1Char('/') + name, data + QLatin1Char('/') + name));
    }
    const QStringList stored = StoredItems(file);

    TForm1& form = fixture.Start();
    form.Controls().SpeedButton3->click();
    form.Navigator(1)->Button(nbInsert)->click();
    QTest::keyClicks(form.Controls().DBEdit1, QStringLiteral("Sekretær"));
    Paste(form.Controls().DBMemo1, QString(300000, QLatin1Char('n')));

    // Fill the disk to the last byte.
    const QString filler = data + QStringLiteral("/filler");
    {
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (fill.write(block) == block.size() && fill.flush()) {
        }
    }
    form.Navigator(1)->Button(nbPost)->click();
    QVERIFY(AwaitMessages(fixture, 1));
    QCOMPARE(
        fixture.Answerer->Texts.first(),
        QStringLiteral("Der er ikke plads nok på disken til at gemme i \"Data/Habitra.db\".\n\rdatabase or "
                       "disk is full."));
    QCOMPARE(form.Register().HabitraTable().State(), dsInsert);
    QCOMPARE(form.Controls().DBEdit1->text(), QStringLiteral("Sekretær"));
    QCOMPARE(IntegrityCheck(file), QStringLiteral("ok"));
    QCOMPARE(StoredItems(file), stored);

    // With room again the same post goes through.
    QVERIFY(QFile::remove(filler));
    form.Navigator(1)->Button(nbPost)->click();
    QCOMPARE(fixture.Answerer->Count(), 1);
    QCOMPARE(form.Register().HabitraTable().State(), dsBrowse);
    QCOMPARE(
        StoredItems(file),
        stored +
            QStringList{QStringLiteral("4|Sekretær|%1|Antikviteter").arg(QString(300000, QLatin1Char('n')))});
    QCOMPARE(IntegrityCheck(file), QStringLiteral("ok"));
}

HABITRA_TEST(THardeningTest)
#include "HardeningTest.moc"
