// Times the start of the program as the package installs it, on a 100,000-item register: from
// starting its process to the first paint of its main window, beside a minimal Qt Widgets program
// that opens one empty window, timed the same way in the same run. Both honour
// HABITRA_EXIT_AFTER_PAINT: they write "painted" once the window is painted, and quit.
//
// It runs on the offscreen platform (no display server: the program's own work), and when Xvfb is
// installed once more on a display of its own, without a window manager (connecting to the display
// server, mapping the window and waiting for it to be exposed included, for both programs).
#include "BenchTiming.h"
#include "RegisterGenerator.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>
#include <vector>

namespace {
constexpr int ItemCount = 100000;
constexpr int Runs = 9;
constexpr int WaitMs = 60000;

void Print(const char* name, double ours, double baseline) {
    std::printf("%s: %.1f %.1f %.2f\n", name, ours, baseline, ours / baseline);
    std::fflush(stdout);
}

bool Copy(const QString& from, const QString& to) {
    QDir().mkpath(QFileInfo(to).path());
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        std::fprintf(stderr, "could not copy %s to %s\n", qPrintable(from), qPrintable(to));
        return false;
    }
    return true;
}

// The package's layout below `root`: bin/habitra beside share/habitra with the language files, the
// help and the placeholder picture.
bool InstallPackage(const QString& root) {
    const QString resources = QStringLiteral(RESOURCE_FOLDER "/");
    const QString share = root + QStringLiteral("/share/habitra/");
    bool copied = Copy(QStringLiteral(HABITRA_PROGRAM), root + QStringLiteral("/bin/habitra"));
    for (const char* language : {"English", "Norsk", "Svensk", "Deutsch"}) {
        const QString file = QLatin1String(language) + QStringLiteral(".lng");
        copied = copied && Copy(resources + QStringLiteral("languages/") + file, share + file);
    }
    copied = copied &&
             Copy(resources + QStringLiteral("help/Index.html"), share + QStringLiteral("Help/Index.html"));
    return copied && Copy(resources + QStringLiteral("pictures/Ingen.jpg"),
                          share + QStringLiteral("Billeder/Ingen.jpg"));
}

// Milliseconds from starting `program` to its "painted" line; nothing when it does not get there or
// does not end well.
std::optional<double> TimeToPaint(const QString& program, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    std::optional<double> painted;
    QByteArray output;
    while (!painted && process.waitForReadyRead(WaitMs)) {
        output += process.readAllStandardOutput();
        if (output.contains("painted\n")) {
            painted = double(timer.nsecsElapsed()) / 1e6;
        }
    }
    if (!process.waitForFinished(WaitMs)) {
        process.kill();
        process.waitForFinished();
    }
    if (!painted || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s did not paint and end well (exit code %d):\n%s\n", qPrintable(program),
                     process.exitCode(), process.readAllStandardError().constData());
        return std::nullopt;
    }
    return painted;
}

// Times both programs, taking turns, after one start of each that is not counted (it fills the disk
// cache, and the program copies its placeholder picture into the new data folder).
bool Measure(const char* name, const QString& ours, const QString& baseline,
             const QProcessEnvironment& environment) {
    std::vector<double> oursTimes;
    std::vector<double> baselineTimes;
    for (int run = -1; run < Runs; ++run) {
        const std::optional<double> oursMs = TimeToPaint(ours, environment);
        const std::optional<double> baselineMs = TimeToPaint(baseline, environment);
        if (!oursMs || !baselineMs) {
            return false;
        }
        if (run >= 0) {
            oursTimes.push_back(*oursMs);
            baselineTimes.push_back(*baselineMs);
        }
    }
    Print(name, Median(oursTimes), Median(baselineTimes));
    return true;
}

// An Xvfb server on a free display, for as long as it lives.
class TXvfb {
public:
    TXvfb() {
        const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (server.isEmpty()) {
            return;
        }
        m_process.start(server, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                 QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                 QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        while (!number.endsWith('\n') && m_process.waitForReadyRead(WaitMs)) {
            number += m_process.readAllStandardOutput();
        }
        if (number.endsWith('\n')) {
            m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        }
    }
    ~TXvfb() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished();
        }
    }
    // Empty when there is no server.
    const QString& Display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // A folder given on the command line is laid out and kept, for looking into the start by hand.
    QTemporaryDir dir;
    const QString root = argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : dir.path();
    const QString userFolder = root + QStringLiteral("/home/Habitra");
    if (!QFileInfo::exists(userFolder + QStringLiteral("/Data/") + Schema::ItemFile)) {
        GenerateRegister(userFolder + QStringLiteral("/Data"), ItemCount, 7);
    }
    {
        TTable table;
        SetUpItemTable(table, userFolder + QStringLiteral("/Data"));
        table.Open();
        if (table.RecordCount() != ItemCount) {
            std::fprintf(stderr, "the register holds %d items\n", table.RecordCount());
            return 1;
        }
    }
    if (!InstallPackage(root)) {
        return 1;
    }
    QDir().mkpath(root + QStringLiteral("/tmp"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HABITRA_EXIT_AFTER_PAINT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/home"));
    // The program's single-copy socket lives in the temporary folder: no other copy is found there.
    environment.insert(QStringLiteral("TMPDIR"), root + QStringLiteral("/tmp"));
    const QString ours = root + QStringLiteral("/bin/habitra");
    const QString baseline = QStringLiteral(EMPTY_WINDOW_PROGRAM);

    std::printf("# median of %d starts each, taking turns; goal <= 300 ms and <= 1.5x\n", Runs);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!Measure("startup_100k", ours, baseline, environment)) {
        return 1;
    }
    const TXvfb xvfb;
    if (xvfb.Display().isEmpty()) {
        std::printf("# no Xvfb: startup_100k_xvfb not measured\n");
        return 0;
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), xvfb.Display());
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return Measure("startup_100k_xvfb", ours, baseline, environment) ? 0 : 1;
}
