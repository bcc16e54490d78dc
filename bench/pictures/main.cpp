// Pictures: decoding a 24-megapixel photograph (the full-size window's load) against libjpeg-turbo's
// djpeg on the same file, both as process (CPU) time, so other load on the machine counts for neither;
// then the main window's picture area showing that photograph, at natural size and fitted to the frame
// (without a preview, and with the one "Hent Billede" writes beside a fetched photo),
// and stepping through 100 items with 12-megapixel photos. The picture area works on a thread of its
// own and the user waits for the picture on screen, so those are timed on the clock, and djpeg beside
// them too (from its start to its end).
#include "BenchTiming.h"
#include "Djpeg.h"
#include "pictures/JpegLoader.h"
#include "pictures/PictureArea.h"
#include "pictures/PictureFetch.h"
#include "pictures/PicturePreview.h"
#include "toolkit/PictureLabel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <thread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
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
    return DjpegCpuMs(path);
}

// djpeg's run on the clock, from its start until it has ended.
double DjpegWallMs(const QByteArray& path) {
    QElapsedTimer timer;
    timer.start();
    if (DjpegMs(path) < 0) {
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

// The main window's picture area: a 466 x 319 scroll box.
struct TArea {
    QScrollArea Box;
    TPictureLabel* Label = new TPictureLabel;
    TPictureArea Area{&Box, Label};
    QString Shown;
    bool Complete = false;

    TArea() {
        Box.setFrameShape(QFrame::NoFrame);
        Box.setWidgetResizable(false);
        Box.resize(466, 319);
        Box.setWidget(Label);
        Box.show();
        QObject::connect(&Area, &TPictureArea::pictureShown, [this](const QString& file, bool complete) {
            Shown = file;
            Complete = complete;
        });
    }

    // Milliseconds from asking for `file` until the label has painted it (its first part, or the
    // whole picture when `whole`).
    double ShowMs(const QString& file, bool whole) {
        Shown.clear();
        Complete = false;
        Area.Forget();
        QElapsedTimer timer;
        timer.start();
        Area.Show(file, QString());
        while (Shown != file || (whole && !Complete)) {
            QCoreApplication::processEvents();
            if (timer.elapsed() > 30000) {
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        Label->repaint();
        return double(timer.nsecsElapsed()) / 1e6;
    }
};

// Picture area against djpeg decoding the same file in full, median of five of each. `beforeRun`
// sets the scene for each run (with or without the photo's preview).
bool AreaAgainstDjpeg(const char* name, TArea& area, const QString& path, bool fit,
                      const std::function<void()>& beforeRun = {}) {
    area.Area.SetFitToFrame(fit);
    area.Area.WaitUntilShown();
    std::vector<double> ours;
    std::vector<double> djpeg;
    for (int i = 0; i < 5; ++i) {
        if (beforeRun) {
            beforeRun();
        }
        const double ms = area.ShowMs(path, fit);
        area.Area.WaitUntilShown();           // the rest of the picture, before the next run
        area.Area.Previews().WaitUntilIdle(); // and the preview written after it, before djpeg runs
        const double theirs = DjpegWallMs(QFile::encodeName(path));
        if (ms < 0 || theirs < 0) {
            std::fprintf(stderr, "%s: did not finish\n", name);
            return false;
        }
        ours.push_back(ms);
        djpeg.push_back(theirs);
    }
    const double oursMs = Median(ours);
    const double djpegMs = Median(djpeg);
    std::printf("%s: %.1f %.1f %.2f\n", name, oursMs, djpegMs, oursMs / djpegMs);
    return true;
}

// 100 items, each with a 12-megapixel photo of its own, stepped through one after the other as soon as
// each picture shows; the decode of the whole previous picture is still under way at every step.
bool Browse(TArea& area, const QDir& dir) {
    const QImage base = MakePhotograph(4000, 3000);
    QStringList files;
    for (int i = 0; i < 100; ++i) {
        QImage photo = base;
        QPainter painter(&photo);
        painter.fillRect((i % 10) * 390, (i / 10) * 290, 380, 280, QColor::fromHsv(i * 3 % 360, 160, 200));
        painter.end();
        files.append(dir.filePath(QStringLiteral("item-%1.jpg").arg(i)));
        SaveJpeg(photo, files.last(), 90);
    }
    area.Area.SetFitToFrame(false);
    area.Area.WaitUntilShown();
    std::vector<double> steps;
    for (const QString& file : files) {
        const double ms = area.ShowMs(file, false);
        if (ms < 0) {
            std::fprintf(stderr, "browse_100_12mp: a step did not finish\n");
            return false;
        }
        steps.push_back(ms);
    }
    std::printf("browse_100_12mp: %.1f %.1f (median and worst step, ms)\n", Median(steps),
                *std::max_element(steps.begin(), steps.end()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
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
    std::fflush(stdout);

    TArea area;
    // Fitted, first without the preview (the first showing of a photo that has none), then as
    // "Hent Billede" leaves a photo: with its preview beside it.
    const QString preview = PicturePreview::FileFor(path);
    if (!AreaAgainstDjpeg("picture_area_24mp", area, path, false) ||
        !AreaAgainstDjpeg("picture_area_fit_24mp", area, path, true, [&] { QFile::remove(preview); })) {
        return 1;
    }
    const QString fetched = dir.filePath(QStringLiteral("fetched/5.jpg"));
    QDir().mkpath(QFileInfo(fetched).path());
    PictureFetch::Fetch(path, fetched);
    if (!PicturePreview::Find(fetched)) {
        std::fprintf(stderr, "picture_area_fit_24mp_preview: the fetch wrote no preview\n");
        return 1;
    }
    if (!AreaAgainstDjpeg("picture_area_fit_24mp_preview", area, fetched, true)) {
        return 1;
    }
    std::fflush(stdout);
    return Browse(area, QDir(dir.path())) ? 0 : 1;
}
