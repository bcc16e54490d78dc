// Times the export of 100,000 items against the sqlite3 shell writing the same table as CSV, over two
// registers: one of long texts that are all different and full of quotes, and one as a household's
// register reads, where the same makers, shops and categories recur and many fields are empty; then
// the household register at 1,000,000 items.
#include "BenchTiming.h"
#include "RegisterGenerator.h"
#include "export/DataExportASCII.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
int ItemCount = 100000;
int Runs = 3;

void FillRegister(const QString& file) {
    static const char* const words[] = {"Stol",        "Bord",  "Lampe", "Ur",   "Maleri",
                                        "Sofa",        "Cykel", "Bog",   "Vase", "Kamera",
                                        "Boremaskine", "Tæppe", "Radio", "Skab", "Ring"};
    static const char* const categories[] = {"Antikviteter", "Bøger",   "Møbler",
                                             "Værktøj",      "Smykker", "Elektronik"};
    QRandomGenerator random(42);
    TSqliteDatabase db;
    db.Open(file);
    TTransaction transaction(db);
    TSqliteStatement insert(
        db, QStringLiteral("INSERT INTO Habitra (Beskrivelse, Fabrikat, Model, Identifikation, "
                           "Kobssted, Kobsdato, Vaerdi, Notater, Foto, Kategori) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?)"));
    const QDate start(1990, 1, 1);
    for (int i = 0; i < ItemCount; ++i) {
        const QString word = QString::fromUtf8(words[random.bounded(15)]);
        insert.BindAll(
            {QStringLiteral("%1 nr. %2 \"special\"").arg(word).arg(i),
             QStringLiteral("Fabrikant %1").arg(random.bounded(500)),
             QStringLiteral("Model %1-%2").arg(random.bounded(100)).arg(random.bounded(1000)),
             QStringLiteral("SN%1").arg(random.bounded(1000000000)),
             QStringLiteral("Butik i by %1; afd. %2").arg(random.bounded(50)).arg(random.bounded(9)),
             start.addDays(random.bounded(12000)).toString(Qt::ISODate),
             QVariant(qint64(random.bounded(10000000))),
             QStringLiteral("Noter om genstand %1\nlinje to").arg(i), QVariant(qint64(i + 1)),
             QString::fromUtf8(categories[random.bounded(6)])});
        insert.Execute();
        insert.Reset();
    }
    transaction.Commit();
}

// Exports the register of the data folder, each run beside the shell; prints "name: ours shell ratio".
// Returns our median time, or a negative number when an output is missing.
double Measure(const char* name, const QString& data, const QString& work) {
    TTable table;
    SetUpItemTable(table, data);
    table.Open();

    TDataExportASCII exporter(TFormatSettings::Danish());
    exporter.SetDataSet(&table);
    exporter.SetShowFile(false);
    const QString ours = QDir(work).filePath(QStringLiteral("ours.txt"));
    const QString theirs = QDir(work).filePath(QStringLiteral("shell.csv"));
    exporter.SetFileName(ours);

    const QString select =
        QStringLiteral("SELECT Beskrivelse, Fabrikat, Model, Identifikation, Kobssted, Kobsdato, "
                       "Vaerdi, Foto, Kategori FROM Habitra");
    std::vector<double> ourTimes;
    std::vector<double> shellTimes;
    std::vector<double> walkTimes;
    qint64 checksum = 0;
    for (int run = 0; run < Runs; ++run) {
        // The table walk alone, reading every field's text as the export does: the store's share.
        walkTimes.push_back(TimeMs([&] {
            table.DisableControls();
            for (table.First(); !table.Eof(); table.Next()) {
                for (int f = 0; f < table.FieldCount(); ++f) {
                    checksum += table.Fields(f)->AsString().size();
                }
            }
            table.EnableControls();
        }));
        ourTimes.push_back(TimeMs([&] { exporter.RunExport(); }));
        shellTimes.push_back(TimeMs([&] {
            QProcess shell;
            shell.setStandardOutputFile(theirs);
            shell.start(QStringLiteral("sqlite3"),
                        {QStringLiteral("-csv"), QStringLiteral("-header"), table.FilePath(), select});
            shell.waitForFinished(-1);
            if (shell.exitCode() != 0) {
                std::fprintf(stderr, "sqlite3 failed\n");
            }
        }));
    }
    if (QFileInfo(ours).size() == 0 || QFileInfo(theirs).size() == 0) {
        std::fprintf(stderr, "an output is empty\n");
        return -1;
    }
    // For comparing the bytes written before and after a change: a copy of our file, when asked for.
    const QString keep = qEnvironmentVariable("HABITRA_BENCH_KEEP");
    if (!keep.isEmpty()) {
        const QString copy = QDir(keep).filePath(QString::fromLatin1(name) + QStringLiteral(".txt"));
        QFile::remove(copy);
        QFile::copy(ours, copy);
    }
    const double ourMs = Median(ourTimes);
    const double shellMs = Median(shellTimes);
    std::printf("%s: %.1f %.1f %.2f\n", name, ourMs, shellMs, ourMs / shellMs);
    std::printf("# of which walking the table and reading the fields' texts: %.1f ms (%lld characters)\n",
                Median(walkTimes), checksum / Runs);
    return ourMs;
}

// A fresh data folder in `root` named `name`, with its tables.
QString DataFolder(const QString& root, const QString& name) {
    const QString data = QDir(root).filePath(name);
    QDir().mkpath(data);
    Schema::CreateMissingTables(data);
    return data;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Optional: item count and number of runs, for profiling; and a path to keep a copy of the first
    // register at, to profile the shell on it alone.
    if (argc > 2) {
        ItemCount = std::max(1, std::atoi(argv[1]));
        Runs = std::max(1, std::atoi(argv[2]));
    }
    const QString keepCopy = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTemporaryDir dir;

    const QString quoted = DataFolder(dir.path(), QStringLiteral("Quoted"));
    FillRegister(QDir(quoted).filePath(Schema::ItemFile));
    if (!keepCopy.isEmpty()) {
        QFile::remove(keepCopy);
        QFile::copy(QDir(quoted).filePath(Schema::ItemFile), keepCopy);
    }
    const QString household = DataFolder(dir.path(), QStringLiteral("Household"));
    GenerateRegister(household, ItemCount, 42);

    const double quotedMs = Measure("export_100k", quoted, dir.path());
    const double householdMs = Measure("export_100k_household", household, dir.path());

    // Ten times the items: the time should grow no more than linearly.
    const QString large = DataFolder(dir.path(), QStringLiteral("Large"));
    const double generateMs = TimeMs([&] { GenerateRegister(large, ItemCount * 10, 42); });
    std::printf("# generating the register of %d items took %.1f s\n", ItemCount * 10, generateMs / 1000);
    const double largeMs = Measure("export_1m", large, dir.path());
    if (householdMs > 0 && largeMs > 0) {
        std::printf("# export_1m against export_100k_household: %.2f (linear: 10)\n", largeMs / householdMs);
    }
    return quotedMs > 0 && householdMs > 0 && largeMs > 0 ? 0 : 1;
}
