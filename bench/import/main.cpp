// Times importing the program's own export of 100,000 items into an empty register against the sqlite3
// shell importing the same file into an empty table (.mode csv, .separator ;, .import).
#include "BenchTiming.h"
#include "RegisterGenerator.h"
#include "export/DataExportASCII.h"
#include "import/ImportSession.h"
#include "import/ImportWriter.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {
int ItemCount = 100000;
int Runs = 3;

void OpenTable(TTable& table, const QString& data, const QString& file, std::vector<TFieldDef> fields) {
    table.SetDatabaseName(data);
    table.SetTableName(file);
    table.SetFieldDefs(std::move(fields));
    table.SetFormatSettings(TFormatSettings::Danish());
    table.Open();
}

QString ExportRegister(const QString& data, const QString& file) {
    TTable table;
    OpenTable(table, data, Schema::ItemFile, Schema::ItemFields());
    TDataExportASCII exporter(TFormatSettings::Danish());
    exporter.SetDataSet(&table);
    exporter.SetShowFile(false);
    exporter.SetFileName(file);
    exporter.RunExport();
    return file;
}

// Pages of memory the process has touched for the first time so far: on this machine each costs tens of
// microseconds, so a phase's count says how much of its time is fresh memory rather than work.
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

struct TTimes {
    double Read = 0;
    double Check = 0;
    double Write = 0;
    long ReadFaults = 0;
    long CheckFaults = 0;
    long WriteFaults = 0;
    double Total() const { return Read + Check + Write; }
};

// Times an action into `ms` and counts the page faults it takes into `faults`.
void Measure(double& ms, long& faults, const std::function<void()>& action) {
    const long before = PageFaults();
    ms = TimeMs(action);
    faults = PageFaults() - before;
}

// Imports the file into a fresh register in `data`, as the command does without its dialogs.
TTimes Import(const QString& file, const QString& data) {
    QDir().mkpath(data);
    Schema::CreateMissingTables(data);
    TTable items;
    TTable counter;
    OpenTable(items, data, Schema::ItemFile, Schema::ItemFields());
    OpenTable(counter, data, Schema::CounterFile, Schema::CounterFields());
    TTimes times;
    std::vector<TImportRow> rows;
    std::unique_ptr<TImportSession> session;
    Measure(times.Read, times.ReadFaults, [&] {
        std::vector<TFieldDef> importable;
        for (const TFieldDef& field : Schema::ItemFields()) {
            if (field.Name != QLatin1String("Foto")) {
                importable.push_back(field);
            }
        }
        const QStringList danish = DanishCategories();
        TImportValidator validator(Schema::ItemFields(), QSet<QString>(danish.begin(), danish.end()),
                                   TStoredItemKeys::Read(items.FilePath()));
        session = std::make_unique<TImportSession>(TImportText::FromFile(file),
                                                   THeaderMatcher(importable, {}), std::move(validator),
                                                   TImportConventions::Regional(TFormatSettings::Danish()));
    });
    Measure(times.Check, times.CheckFaults, [&] { rows = session->Rows(); });
    int imported = 0;
    Measure(times.Write, times.WriteFaults, [&] {
        TImportWriter writer(items, counter);
        imported = writer.Write(rows, false, [](int, int) { return true; }).Imported;
    });
    if (imported != ItemCount) {
        std::fprintf(stderr, "imported %d of %d items\n", imported, ItemCount);
        std::exit(1);
    }
    return times;
}

double ShellImport(const QString& file, const QString& database) {
    QFile::remove(database);
    return TimeMs([&] {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"),
                    {database, QStringLiteral(".mode csv"), QStringLiteral(".separator ;"),
                     QStringLiteral(".import '%1' Habitra").arg(file)});
        shell.waitForFinished(-1);
        if (shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s\n", shell.readAllStandardError().constData());
        }
    });
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 2) {
        ItemCount = std::max(1, std::atoi(argv[1]));
        Runs = std::max(1, std::atoi(argv[2]));
    }
    QTemporaryDir dir;
    const QString source = QDir(dir.path()).filePath(QStringLiteral("Source"));
    GenerateRegister(source, ItemCount, 42);
    const QString file = ExportRegister(source, QDir(dir.path()).filePath(QStringLiteral("Habitra.txt")));

    std::vector<double> ours;
    std::vector<double> shell;
    std::vector<TTimes> parts;
    for (int run = 0; run < Runs; ++run) {
        parts.push_back(Import(file, QDir(dir.path()).filePath(QStringLiteral("Run%1").arg(run))));
        ours.push_back(parts.back().Total());
        // The imported register exported, to compare what the import writes before and after a change.
        if (run == 0 && qEnvironmentVariableIsSet("BENCH_IMPORT_EXPORT")) {
            ExportRegister(QDir(dir.path()).filePath(QStringLiteral("Run0")),
                           qEnvironmentVariable("BENCH_IMPORT_EXPORT"));
        }
        shell.push_back(ShellImport(file, QDir(dir.path()).filePath(QStringLiteral("shell%1.db").arg(run))));
    }
    const double ourMs = Median(ours);
    const double shellMs = Median(shell);
    std::printf("import_100k: %.1f %.1f %.2f\n", ourMs, shellMs, ourMs / shellMs);
    // The split of the run whose total is the median, so that its parts add up to the figure above.
    const auto median =
        std::find_if(parts.begin(), parts.end(), [&](const TTimes& times) { return times.Total() == ourMs; });
    const TTimes& shown = median != parts.end() ? *median : parts.back();
    std::printf(
        "# of which reading the file %.1f ms, checking the rows %.1f ms, writing %.1f ms (%lld bytes)\n",
        shown.Read, shown.Check, shown.Write, static_cast<long long>(QFileInfo(file).size()));
    std::printf("# page faults reading %ld, checking %ld, writing %ld; runs:", shown.ReadFaults,
                shown.CheckFaults, shown.WriteFaults);
    for (const TTimes& times : parts) {
        std::printf(" %.1f", times.Total());
    }
    std::printf(" ms\n");
    return 0;
}
