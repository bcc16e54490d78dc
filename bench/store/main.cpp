// Times the item table on a register of 100,000 items against the sqlite3 shell doing the same query
// on the same file. Prints "name: ours_ms baseline_ms ratio".
#include "BenchTiming.h"
#include "RegisterGenerator.h"

#include "store/Error.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int ItemCount = 100000;
constexpr int Runs = 7;

// Median over the runs; `prepare` runs untimed before each.
double TimeMs(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

double ShellMs(const QString& file, const QString& sql) {
    return TimeMs([] {},
                  [&] {
                      QProcess shell;
                      shell.setStandardOutputFile(QProcess::nullDevice());
                      shell.start(QStringLiteral("sqlite3"), {file, sql});
                      if (!shell.waitForFinished(60000) || shell.exitCode() != 0) {
                          std::fprintf(stderr, "sqlite3 failed: %s\n",
                                       shell.readAllStandardError().constData());
                          std::exit(1);
                      }
                  });
}

void Report(const char* name, double ours, double baseline) {
    std::printf("%s: %.2f %.2f %.2f\n", name, ours, baseline, ours / baseline);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = QDir(dir.path()).filePath(QStringLiteral("Data"));
    const QString file = QDir(data).filePath(Schema::ItemFile);
    try {
        QElapsedTimer generation;
        generation.start();
        GenerateRegister(data, ItemCount, 20240601);
        std::fprintf(stderr, "register of %d items generated in %lld ms\n", ItemCount,
                     static_cast<long long>(generation.elapsed()));

        TTable table;
        SetUpItemTable(table, data);

        const double open = TimeMs([&] { table.Close(); }, [&] { table.Open(); });
        Report("open", open, ShellMs(file, QStringLiteral("SELECT rowid FROM Habitra ORDER BY rowid")));

        const double filter = TimeMs(
            [&] {
                table.SetFilter(QStringLiteral("Kategori = 'Bøger'"));
                table.SetFiltered(true);
            },
            [&] { table.SetFilter(QStringLiteral("Kategori = 'Møbler'")); });
        if (table.RecordCount() < ItemCount / 30) {
            std::fprintf(stderr, "the filter found only %d items\n", table.RecordCount());
            return 1;
        }
        Report("filter_change", filter,
               ShellMs(file, QStringLiteral("SELECT rowid FROM Habitra WHERE Kategori = 'Møbler'")));

        table.SetFiltered(false);
        const double index = TimeMs([&] { table.SetIndexName(Schema::IndexKategori); },
                                    [&] { table.SetIndexName(Schema::IndexBeskrivelse); });
        Report(
            "index_change", index,
            ShellMs(file, QStringLiteral("SELECT rowid FROM Habitra ORDER BY Beskrivelse COLLATE NOCASE")));

        table.SetIndexName(QString());
        qint64 characters = 0;
        const double walk = TimeMs([] {},
                                   [&] {
                                       for (table.First(); !table.Eof(); table.Next()) {
                                           for (int f = 0; f < table.FieldCount(); ++f) {
                                               characters += table.Fields(f)->AsString().size();
                                           }
                                       }
                                   });
        if (characters == 0) {
            return 1;
        }
        Report("walk_all_fields", walk, ShellMs(file, QStringLiteral("SELECT * FROM Habitra")));
    } catch (const EHabitraError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
