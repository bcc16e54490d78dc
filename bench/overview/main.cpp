// Times the overview's work on a 100,000-item register: a search keystroke that finds nothing,
// a sort switch, and scrolling the grid from top to bottom; then the keystroke on 1,000,000 items
// against its 100,000 figure.
#include "BenchTiming.h"
#include "RegisterGenerator.h"
#include "overview/EasyFind.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int ItemCount = 100000;
constexpr int LargeCount = 1000000;
constexpr int Runs = 5;

void Print(const char* name, double ours, double baseline) {
    if (baseline > 0) {
        std::printf("%s: %.1f %.1f %.2f\n", name, ours, baseline, ours / baseline);
    } else {
        std::printf("%s: %.1f 0 -\n", name, ours);
    }
    std::fflush(stdout);
}

// A keystroke that finds nothing, from the middle of the set, as the overview's search-as-you-type
// makes it: the whole set is read. Each run's time goes to `times`.
bool SearchMisses(TEasyFind& find, TTable& table, int count, std::vector<double>& times) {
    find.SetSearchField(QStringLiteral("Beskrivelse"));
    find.SetSearchKey(QStringLiteral("xyz"));
    table.SetRecNo(count / 2);
    times.push_back(TimeMs([&] {
        find.Find();
        QApplication::processEvents();
    }));
    if (find.Found() || table.RecNo() != count / 2) {
        std::fprintf(stderr, "the search moved\n");
        return false;
    }
    return true;
}

// For comparing the search's hits before and after a change: for each key, case rule and field, the
// rows a Find and then FindNext after FindNext stop at, written to `path`.
void WriteHits(TEasyFind& find, TTable& table, const QString& path) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return;
    }
    const QStringList keys = {QStringLiteral("xyz"),
                              QStringLiteral("stol"),
                              QStringLiteral("STOL"),
                              QStringLiteral("sølv"),
                              QStringLiteral("SØLV"),
                              QStringLiteral("Ægget"),
                              QStringLiteral("ægget"),
                              QStringLiteral("å"),
                              QStringLiteral("Å"),
                              QStringLiteral("bør"),
                              QStringLiteral("e"),
                              QStringLiteral("Ø"),
                              QStringLiteral("ss"),
                              QStringLiteral("kånken"),
                              QStringLiteral(" & "),
                              QStringLiteral("møller"),
                              QStringLiteral("hjemmebiograf")};
    for (const QString& field :
         {QStringLiteral("Beskrivelse"), QStringLiteral("Fabrikat"), QStringLiteral("Notater")}) {
        for (const bool caseSensitive : {false, true}) {
            for (const QString& key : keys) {
                find.SetSearchField(field);
                find.SetSearchKey(key);
                find.SetCaseSensitive(caseSensitive);
                QByteArray line =
                    (field + QLatin1Char(' ') + key).toUtf8() + (caseSensitive ? " cs:" : " ci:");
                find.Find();
                for (int next = 0; next < 40 && find.Found(); ++next) {
                    line += ' ' + QByteArray::number(table.RecNo());
                    find.FindNext();
                }
                out.write(line + '\n');
            }
        }
    }
    find.SetCaseSensitive(false);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = QDir(dir.path()).filePath(QStringLiteral("Data"));
    GenerateRegister(data, ItemCount, 7);
    TTable table;
    table.SetDatabaseName(data);
    table.SetTableName(Schema::ItemFile);
    table.SetFieldDefs(Schema::ItemFields());
    table.Open();
    TDataSource source;
    source.SetDataSet(&table);

    // A grid on the table, as in the overview, so that the search pays for its bound controls.
    TDBGrid grid;
    grid.SetDataSource(&source);
    grid.resize(1024, 600);
    grid.show();
    QApplication::processEvents();

    TEasyFind find;
    find.SetDataSource(&source);
    std::vector<double> searchTimes;
    std::vector<double> shellTimes;
    for (int run = 0; run < Runs; ++run) {
        if (!SearchMisses(find, table, ItemCount, searchTimes)) {
            return 1;
        }
        shellTimes.push_back(TimeMs([&] {
            QProcess shell;
            shell.start(
                QStringLiteral("sqlite3"),
                {table.FilePath(), QStringLiteral("SELECT rowid FROM Habitra WHERE upper(Beskrivelse) LIKE "
                                                  "'%XYZ%' ORDER BY rowid")});
            shell.waitForFinished(-1);
            if (shell.exitCode() != 0) {
                std::fprintf(stderr, "sqlite3 failed\n");
            }
        }));
    }
    Print("overview_search_miss_100k", Median(searchTimes), Median(shellTimes));
    std::printf("# the first keystroke, which reads the column: %.1f ms\n", searchTimes.front());
    const QString hits = qEnvironmentVariable("HABITRA_BENCH_HITS");
    if (!hits.isEmpty()) {
        WriteHits(find, table, hits);
    }

    // Sort switches, the current item kept.
    std::vector<double> sortTimes;
    for (int run = 0; run < Runs; ++run) {
        for (const QString& index : {Schema::IndexKategori, Schema::IndexBeskrivelse}) {
            sortTimes.push_back(TimeMs([&] {
                table.SetIndexName(index);
                QApplication::processEvents();
            }));
        }
    }
    Print("overview_sort_switch_100k", Median(sortTimes), 0);

    // Scrolling the grid: to the bottom at once, then from the top page by page.
    table.First();
    QApplication::processEvents();
    const double toBottom = TimeMs([&] {
        grid.scrollToBottom();
        QApplication::processEvents();
    });
    Print("overview_grid_scroll_to_bottom_100k", toBottom, 0);
    grid.scrollToTop();
    QApplication::processEvents();
    QScrollBar* bar = grid.verticalScrollBar();
    int pages = 0;
    const double paging = TimeMs([&] {
        while (bar->value() < bar->maximum()) {
            bar->setValue(bar->value() + bar->pageStep());
            grid.viewport()->repaint();
            QApplication::processEvents();
            ++pages;
        }
    });
    Print("overview_grid_scroll_pages_100k", paging, 0);
    std::printf("# %d pages, %.3f ms a page\n", pages, paging / std::max(pages, 1));
    std::fflush(stdout);

    const QString largeData = QDir(dir.path()).filePath(QStringLiteral("Data1m"));
    GenerateRegister(largeData, LargeCount, 8);
    TTable large;
    SetUpItemTable(large, largeData);
    large.Open();
    source.SetDataSet(&large);
    QApplication::processEvents();
    std::vector<double> largeTimes;
    for (int run = 0; run < Runs; ++run) {
        if (!SearchMisses(find, large, LargeCount, largeTimes)) {
            return 1;
        }
    }
    Print("overview_search_miss_1m", Median(largeTimes), Median(searchTimes));
    std::printf("# the first keystroke, which reads the column: %.1f ms\n", largeTimes.front());
    return 0;
}
