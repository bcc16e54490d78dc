// The insurance report of 1,000 items, each with a 12-megapixel photo of its own, written as PDF;
// beside djpeg decoding the same 1,000 files whole. Scaled decoding has to make the whole report
// cheaper than merely decoding the photos at camera size. Both are timed as CPU time.
//
// The photos take minutes to make, so they are made once into a cache folder outside the build
// ($HABITRA_BENCH_CACHE, by default /tmp/habitra-bench-insurance) and reused by later runs.
#include "Djpeg.h"
#include "overview/InsuranceReport.h"
#include "pictures/JpegLoader.h"
#include "report/ReportFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr int Items = 1000;
constexpr int PhotoWidth = 4000;
constexpr int PhotoHeight = 3000;

// A camera-like picture: sky over textured ground with grain, which compresses like a photo.
QImage BasePhoto() {
    std::mt19937 random(1234);
    std::normal_distribution<float> grain(0.0f, 6.0f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> blobs(64 * 48);
    for (float& blob : blobs) {
        blob = unit(random);
    }
    QImage image(PhotoWidth, PhotoHeight, QImage::Format_RGB888);
    for (int y = 0; y < PhotoHeight; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < PhotoWidth; ++x) {
            const float blob = blobs[size_t((y * 48 / PhotoHeight) * 64 + x * 64 / PhotoWidth)];
            const float n = grain(random);
            const bool sky = y < PhotoHeight * (0.4f + 0.1f * blob);
            const float r = sky ? 120 + 60 * float(y) / PhotoHeight : 80 + 70 * blob;
            const float g = sky ? 160 + 40 * float(y) / PhotoHeight : 100 + 50 * blob;
            const float b = sky ? 230 : 50 + 40 * blob;
            row[3 * x] = uchar(std::clamp(r + n, 0.0f, 255.0f));
            row[3 * x + 1] = uchar(std::clamp(g + n, 0.0f, 255.0f));
            row[3 * x + 2] = uchar(std::clamp(b + n, 0.0f, 255.0f));
        }
    }
    return image;
}

// Photo `number` differs from every other: its number as a row of light and dark bars, and a patch
// of colour at a place of its own.
QImage PhotoNumber(const QImage& base, int number) {
    QImage photo = base.copy();
    const auto fill = [&photo](int left, int top, int width, int height, uchar r, uchar g, uchar b) {
        for (int y = top; y < top + height; ++y) {
            uchar* row = photo.scanLine(y);
            for (int x = left; x < left + width; ++x) {
                row[3 * x] = r;
                row[3 * x + 1] = g;
                row[3 * x + 2] = b;
            }
        }
    };
    for (int bit = 0; bit < 10; ++bit) {
        const bool on = (number >> bit) & 1;
        fill(200 + bit * 300, PhotoHeight - 700, 240, 500, on ? 250 : 20, on ? 250 : 20, on ? 250 : 20);
    }
    fill(200 + (number * 37) % 3000, 200 + (number * 53) % 1200, 600, 600, uchar(number * 7),
         uchar(255 - number % 256), uchar(number * 13));
    return photo;
}

QString CacheFolder() {
    const QByteArray set = qgetenv("HABITRA_BENCH_CACHE");
    return set.isEmpty() ? QStringLiteral("/tmp/habitra-bench-insurance") : QString::fromLocal8Bit(set);
}

// The 1,000 photos, made where missing.
bool MakePhotos(const QString& folder) {
    QDir().mkpath(folder);
    QImage base;
    int made = 0;
    for (int i = 1; i <= Items; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("%1.jpg").arg(i));
        if (QFileInfo(path).size() > 0) {
            continue;
        }
        if (base.isNull()) {
            std::fprintf(stderr, "insurance_report_1000: making 12-megapixel photos in %s (once)\n",
                         qPrintable(folder));
            base = BasePhoto();
        }
        SaveJpeg(PhotoNumber(base, i), path + QStringLiteral(".part"), 88);
        if (!QFile::rename(path + QStringLiteral(".part"), path)) {
            return false;
        }
        if (++made % 100 == 0) {
            std::fprintf(stderr, "  %d made\n", made);
        }
    }
    return true;
}

// CPU time of djpeg decoding every photo whole, or a negative number when it could not run.
double DjpegMs(const QString& folder) {
    double total = 0;
    for (int i = 1; i <= Items; ++i) {
        const double ms =
            DjpegCpuMs(QFile::encodeName(QDir(folder).filePath(QStringLiteral("%1.jpg").arg(i))));
        if (ms < 0) {
            return -1;
        }
        total += ms;
    }
    return total;
}

std::vector<TInsuranceItem> Register() {
    static const char* const categories[] = {"Møbler", "PC-Udstyr", "Køkkenting", "Værktøj", "Smykker/Ure"};
    std::vector<TInsuranceItem> items;
    for (int i = 1; i <= Items; ++i) {
        TInsuranceItem item;
        item.Beskrivelse = QStringLiteral("Genstand %1").arg(i);
        item.Fabrikat = QStringLiteral("Fabrikat %1").arg(i % 37);
        item.Model = QStringLiteral("Model %1").arg(i % 91);
        item.Identifikation = QStringLiteral("SN-%1").arg(100000 + i);
        item.Kobssted = QStringLiteral("Butikken i byen");
        item.Kobsdato = QStringLiteral("01-06-2024");
        item.Vaerdi = TMoney::FromCents(qint64(i) * 12345);
        item.HasValue = true;
        item.Notater = QStringLiteral("Købt med kvittering, som ligger i mappen med papirer.");
        item.Foto = QString::number(i);
        item.Kategori = QString::fromUtf8(categories[i % 5]);
        items.push_back(item);
    }
    return items;
}

// The report in a process of its own, so that its peak memory is its own: the CPU time of the run
// goes back through the pipe.
int RunReport(int argc, char** argv, const QString& folder, const QString& pdf, int out) {
    QGuiApplication app(argc, argv);
    ReportFonts::Install();
    TInsuranceReport report(Register(),
                            {QStringLiteral("Benchmark Ejer"), QStringLiteral("Vejen 1"),
                             QStringLiteral("Forsikring A/S"), QStringLiteral("P-1")},
                            TFormatSettings::Danish(), TPictureFolder(folder));
    timespec start{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    report.SaveToPdf(pdf);
    timespec end{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    const double ms = double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
    const bool unreadable = !report.UnreadablePictures().isEmpty();
    const double result = unreadable ? -1 : ms;
    return write(out, &result, sizeof result) == sizeof result ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    const QString folder = CacheFolder();
    if (!MakePhotos(folder)) {
        std::fprintf(stderr, "insurance_report_1000: the photos could not be made in %s\n",
                     qPrintable(folder));
        return 1;
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return 1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        _exit(RunReport(argc, argv, folder, pdf, pipeEnds[1]));
    }
    close(pipeEnds[1]);
    double oursMs = -1;
    const bool got = read(pipeEnds[0], &oursMs, sizeof oursMs) == sizeof oursMs;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || !got ||
        oursMs < 0) {
        std::fprintf(stderr, "insurance_report_1000: the report did not run through\n");
        return 1;
    }
    const double djpegMs = DjpegMs(folder);
    if (djpegMs < 0) {
        std::fprintf(stderr, "insurance_report_1000: djpeg did not run\n");
        return 1;
    }
    std::printf("insurance_report_1000: %.1f %.1f %.2f\n", oursMs, djpegMs, oursMs / djpegMs);
    std::printf("insurance_report_1000 pdf size: %.1f MB\n", double(QFileInfo(pdf).size()) / 1e6);
    std::printf("insurance_report_1000 peak memory: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
