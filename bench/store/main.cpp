// Times the item table on a register of 100,000 items against the sqlite3 shell doing the same query
// on the same file, then on 1,000,000 items against its own 100,000 figure, which shows whether the
// work grows faster than the register. Prints "name: ours_ms baseline_ms ratio".
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
constexpr int LargeCount = 1000000;
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

QString Generated(const QTemporaryDir& dir, int count, quint32 seed) {
    const QString data = QDir(dir.path()).filePath(QStringLiteral("Data%1").arg(count));
    QElapsedTimer generation;
    generation.start();
    GenerateRegister(data, count, seed);
    std::fprintf(stderr, "register of %d items generated in %lld ms\n", count,
                 static_cast<long long>(generation.elapsed()));
    return data;
}

struct TFigures {
    double Open = 0;
    double Filter = 0;
    double Index = 0;
};

// Opening, a change of the category filtered on, and a change of the sort order.
TFigures Measure(TTable& table, int count) {
    TFigures figures;
    figures.Open = TimeMs([&] { table.Close(); }, [&] { table.Open(); });
    const QString kategori = QStringLiteral("Kategori");
    figures.Filter = TimeMs([&] { table.SetFilterOn(kategori, QStringLiteral("Bøger")); },
                            [&] { table.SetFilterOn(kategori, QStringLiteral("Møbler")); });
    if (table.RecordCount() < count / 30) {
        std::fprintf(stderr, "the filter found only %d items\n", table.RecordCount());
        std::exit(1);
    }
    table.SetFilterOff();
    figures.Index = TimeMs([&] { table.SetIndexName(Schema::IndexKategori); },
                           [&] { table.SetIndexName(Schema::IndexBeskrivelse); });
    table.SetIndexName(QString());
    return figures;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    try {
        const QString data = Generated(dir, ItemCount, 20240601);
        const QString file = QDir(data).filePath(Schema::ItemFile);
        TTable table;
        SetUpItemTable(table, data);
        const TFigures figures = Measure(table, ItemCount);
        Report("open", figures.Open,
               ShellMs(file, QStringLiteral("SELECT rowid FROM Habitra ORDER BY rowid")));
        Report("filter_change", figures.Filter,
               ShellMs(file, QStringLiteral("SELECT rowid FROM Habitra WHERE Kategori = 'Møbler'")));
        Report(
            "index_change", figures.Index,
            ShellMs(file, QStringLiteral("SELECT rowid FROM Habitra ORDER BY Beskrivelse COLLATE NOCASE")));

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
        table.Close();

        TTable large;
        SetUpItemTable(large, Generated(dir, LargeCount, 20240602));
        const TFigures largeFigures = Measure(large, LargeCount);
        Report("open_1m", largeFigures.Open, figures.Open);
        Report("filter_change_1m", largeFigures.Filter, figures.Filter);
        Report("index_change_1m", largeFigures.Index, figures.Index);
    } catch (const EHabitraError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
