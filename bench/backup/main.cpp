// Backing up a register of 100,000 items with 2,000 photos of 500 KB: the program's archive writer
// (engine copies of the tables, SHA-256 of every file, a zip of stored photos) against `zip -r -0`
// of the same folders. Timed as processor time (user and system) of each, so other load on the
// machine counts for neither; wall-clock times are printed beside them.
#include "BenchTiming.h"
#include "RegisterGenerator.h"
#include "backup/BackupWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace {
double Ms(const timeval& t) {
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

double CpuMs(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return Ms(usage.ru_utime) + Ms(usage.ru_stime);
}

void WritePictures(const QString& folder, int count, int size) {
    std::mt19937_64 random(18);
    QByteArray bytes(size, Qt::Uninitialized);
    for (int foto = 1; foto <= count; ++foto) {
        auto* words = reinterpret_cast<quint64*>(bytes.data());
        for (int i = 0; i < size / 8; ++i) {
            words[i] = random();
        }
        QFile file(QDir(folder).filePath(QStringLiteral("%1.jpg").arg(foto)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    }
}
} // namespace

int main() {
    QTemporaryDir program(QDir::currentPath() + QStringLiteral("/backup-bench-XXXXXX"));
    const QDir root(program.path());
    root.mkpath(QStringLiteral("Data"));
    root.mkpath(QStringLiteral("Billeder"));
    root.mkpath(QStringLiteral("out"));
    GenerateRegister(root.filePath(QStringLiteral("Data")), 100000, 18);
    WritePictures(root.filePath(QStringLiteral("Billeder")), 2000, 500 * 1024);

    std::vector<double> ours, baseline, oursWall, baselineWall;
    for (int run = 0; run < 3; ++run) {
        const QString target = root.filePath(QStringLiteral("out/ours.zip"));
        const double cpu = CpuMs(RUSAGE_SELF);
        oursWall.push_back(TimeMs([&] {
            TBackupWriter(root.filePath(QStringLiteral("Data")), root.filePath(QStringLiteral("Billeder")))
                .Write(target);
        }));
        ours.push_back(CpuMs(RUSAGE_SELF) - cpu);
        QFile::remove(target);

        const QString zipped = root.filePath(QStringLiteral("out/zip.zip"));
        const double children = CpuMs(RUSAGE_CHILDREN);
        baselineWall.push_back(TimeMs([&] {
            QProcess zip;
            zip.setWorkingDirectory(root.path());
            zip.start(QStringLiteral("zip"),
                      {QStringLiteral("-r"), QStringLiteral("-0"), QStringLiteral("-q"), zipped,
                       QStringLiteral("Data"), QStringLiteral("Billeder")});
            if (!zip.waitForFinished(-1) || zip.exitCode() != 0) {
                std::fprintf(stderr, "zip failed\n");
                std::exit(1);
            }
        }));
        baseline.push_back(CpuMs(RUSAGE_CHILDREN) - children);
        QFile::remove(zipped);
    }
    const double a = Median(ours), b = Median(baseline);
    std::printf("# wall clock: ours %.0f ms, zip -r -0 %.0f ms (ratio %.2f)\n", Median(oursWall),
                Median(baselineWall), Median(oursWall) / Median(baselineWall));
    std::printf("backup_100k: %.0f %.0f %.2f\n", a, b, a / b);
    return 0;
}
