// Decoding a 24-megapixel photograph: the picture loader against libjpeg-turbo's djpeg on the same file.
// Both are timed as process (CPU) time, so other load on the machine counts for neither.
#include "BenchTiming.h"
#include "pictures/JpegLoader.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One octave of smooth noise: a random grid of `cell`-pixel squares, bilinearly interpolated.
class TNoise {
public:
    TNoise(int width, int height, int cell, std::mt19937& random)
        : m_cell(cell), m_columns(width / cell + 2), m_grid(size_t(m_columns) * (height / cell + 2)) {
        std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
        for (float& value : m_grid) {
            value = unit(random);
        }
    }
    float At(int x, int y) const {
        const int gx = x / m_cell;
        const int gy = y / m_cell;
        const float fx = float(x % m_cell) / float(m_cell);
        const float fy = float(y % m_cell) / float(m_cell);
        const float* row = &m_grid[size_t(gy) * m_columns + gx];
        const float top = row[0] + (row[1] - row[0]) * fx;
        const float bottom = row[m_columns] + (row[m_columns + 1] - row[m_columns]) * fx;
        return top + (bottom - top) * fy;
    }

private:
    int m_cell;
    int m_columns;
    std::vector<float> m_grid;
};

// A landscape-like picture: sky gradient over textured ground, soft shapes, fine grain.
QImage MakePhotograph(int width, int height) {
    std::mt19937 random(20240601);
    const TNoise large(width, height, 600, random);
    const TNoise medium(width, height, 90, random);
    const TNoise small(width, height, 12, random);
    const TNoise fine(width, height, 3, random);
    std::normal_distribution<float> grain(0.0f, 5.0f);
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const float horizon = float(height) * (0.45f + 0.08f * large.At(x, y));
            const float texture = 40.0f * medium.At(x, y) + 24.0f * small.At(x, y) + 18.0f * fine.At(x, y);
            float r, g, b;
            if (float(y) < horizon) {
                const float t = float(y) / horizon;
                r = 110 + 90 * t + 0.3f * texture;
                g = 150 + 70 * t + 0.3f * texture;
                b = 230 - 10 * t + 0.2f * texture;
            } else {
                r = 90 + texture + 30 * large.At(y, x);
                g = 110 + 1.2f * texture;
                b = 60 + 0.6f * texture;
            }
            const float n = grain(random);
            row[3 * x] = uchar(std::clamp(r + n, 0.0f, 255.0f));
            row[3 * x + 1] = uchar(std::clamp(g + n, 0.0f, 255.0f));
            row[3 * x + 2] = uchar(std::clamp(b + n, 0.0f, 255.0f));
        }
    }
    return image;
}

// djpeg's user and system time for one run, or a negative number when it could not run.
double DjpegMs(const QByteArray& path) {
    char program[] = "djpeg";
    char outfileOption[] = "-outfile";
    char devNull[] = "/dev/null";
    QByteArray file = path;
    char* argv[] = {program, outfileOption, devNull, file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo-24mp.jpg"));
    SaveJpeg(MakePhotograph(6000, 4000), path, 90);
    const QByteArray nativePath = QFile::encodeName(path);

    constexpr int runs = 5;
    std::vector<double> ours;
    std::vector<double> djpeg;
    LoadJpeg(path); // warm the file cache for both
    for (int i = 0; i < runs; ++i) {
        const double start = CpuMs();
        const QImage image = LoadJpeg(path);
        ours.push_back(CpuMs() - start);
        if (image.size() != QSize(6000, 4000)) {
            std::fprintf(stderr, "jpeg_24mp: decoded to the wrong size\n");
            return 1;
        }
        const double theirs = DjpegMs(nativePath);
        if (theirs < 0) {
            std::fprintf(stderr, "jpeg_24mp: djpeg did not run\n");
            return 1;
        }
        djpeg.push_back(theirs);
    }
    const double oursMs = Median(ours);
    const double djpegMs = Median(djpeg);
    std::printf("jpeg_24mp: %.1f %.1f %.2f\n", oursMs, djpegMs, oursMs / djpegMs);
    return 0;
}
