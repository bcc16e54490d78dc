// Lays out and paints an inventory list of 100,000 items to PDF, against painting the same number of
// plain text lines straight to a PDF with QPainter.
#include "RegisterGenerator.h"
#include "overview/Unit3.h"
#include "report/ReportFonts.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
constexpr int ItemCount = 100000;

QString Description(int i) {
    return QStringLiteral("Genstand nummer %1").arg(i);
}

// The same number of lines, one drawText each, about as many to a page.
void PlainLines(const QString& path) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("Arial"), 10));
    const double lineHeight = 6.35 * writer.resolution() / 25.4;
    const int perPage = 40;
    for (int i = 0; i < ItemCount; ++i) {
        if (i > 0 && i % perPage == 0) {
            writer.newPage();
        }
        painter.drawText(QPointF(0, (i % perPage + 1) * lineHeight),
                         Description(i) +
                             QStringLiteral("  Fabrikat  Model  ID  Butik  01-01-2000  1234,56"));
    }
}

long StatusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray name(key);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name)) {
            return line.mid(name.size()).trimmed().split(' ').front().toLong();
        }
    }
    return 0;
}

long PeakRssKb() {
    return StatusKb("VmHWM:");
}
long RssKb() {
    return StatusKb("VmRSS:");
}

// Closes the print preview as soon as it has drawn its pages, as a user who has looked at it.
void CloseThePreview() {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    const auto* widget = dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
    if (widget && widget->pageCount() > 0) {
        dialog->reject();
        return;
    }
    QTimer::singleShot(20, CloseThePreview);
}

// The overview's "Print" over 100,000 items, through the real preview window, three times: resident
// memory before, once the first preview has closed, and once the third has.
int RetainedAfterPreview(const QString& data) {
    TTable table;
    SetUpItemTable(table, data);
    table.Open();
    const long before = RssKb();
    long afterFirst = 0;
    for (int run = 0; run < 3; ++run) {
        QTimer::singleShot(20, CloseThePreview);
        PrintInventoryList(table, QStringLiteral("Vælg kategori"), TFormatSettings::Danish());
        if (run == 0) {
            afterFirst = RssKb();
        }
    }
    const long afterThird = RssKb();
    // Retained after the preview closed, then before it opened, then after two more previews.
    std::printf("report_100k_retained_mb: %ld %ld %ld\n", afterFirst / 1024, before / 1024,
                afterThird / 1024);
    std::printf("report_100k_preview_peak_mb: %ld\n", PeakRssKb() / 1024);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ReportFonts::Install();
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data"));
    GenerateRegister(data, ItemCount, 1);
    if (argc > 1 && qstrcmp(argv[1], "--preview") == 0) {
        return RetainedAfterPreview(data);
    }

    TTable table;
    table.SetDatabaseName(data);
    table.SetTableName(Schema::ItemFile);
    table.SetFormatSettings(TFormatSettings::Danish());
    table.Open();
    // The inventory list as the overview prints it, over every item.
    const std::unique_ptr<TListReport> report =
        CreateInventoryList(table, QStringLiteral("Vælg kategori"), TFormatSettings::Danish());

    // Keep the output for a look when a path is given.
    const QString reportPdf =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("list.pdf"));
    QElapsedTimer timer;
    timer.start();
    report->SaveToPdf(reportPdf);
    const qint64 ours = timer.elapsed();

    timer.restart();
    PlainLines(dir.filePath(QStringLiteral("plain.pdf")));
    const qint64 baseline = timer.elapsed();

    std::printf("report_100k_pdf: %lld %lld %.2f\n", static_cast<long long>(ours),
                static_cast<long long>(baseline), baseline > 0 ? double(ours) / double(baseline) : 0.0);
    std::printf("report_100k_peak_mb: %ld\n", PeakRssKb() / 1024);
    std::fflush(stdout);

    // The preview's memory is measured in a process of its own, so that the PDF above leaves no trace.
    QProcess preview;
    preview.setProcessChannelMode(QProcess::ForwardedChannels);
    preview.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--preview")});
    preview.waitForFinished(-1);
    return preview.exitCode();
}
