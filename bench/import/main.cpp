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

struct TTimes {
    double Read = 0;
    double Check = 0;
    double Write = 0;
    double Total() const { return Read + Check + Write; }
};

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
    times.Read = TimeMs([&] {
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
    times.Check = TimeMs([&] { rows = session->Rows(); });
    int imported = 0;
    times.Write = TimeMs([&] {
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
        shell.push_back(ShellImport(file, QDir(dir.path()).filePath(QStringLiteral("shell%1.db").arg(run))));
    }
    const double ourMs = Median(ours);
    const double shellMs = Median(shell);
    std::printf("import_100k: %.1f %.1f %.2f\n", ourMs, shellMs, ourMs / shellMs);
    const TTimes& last = parts.back();
    std::printf(
        "# of which reading the file %.1f ms, checking the rows %.1f ms, writing %.1f ms (%lld bytes)\n",
        last.Read, last.Check, last.Write, static_cast<long long>(QFileInfo(file).size()));
    return 0;
}
