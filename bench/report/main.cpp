// Lays out and paints an inventory list of 100,000 items to PDF, against painting the same number of
// plain text lines straight to a PDF with QPainter.
#include "report/Report.h"
#include "report/ReportDataField.h"
#include "report/ReportExpression.h"
#include "report/ReportFonts.h"
#include "report/ReportLabel.h"
#include "report/ReportSysData.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Table.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

namespace {
constexpr int ItemCount = 100000;

QString Description(int i) {
    return QStringLiteral("Genstand nummer %1").arg(i);
}

void FillItems(const QString& dataFolder) {
    TSqliteDatabase db;
    db.Open(QDir(dataFolder).filePath(Schema::ItemFile));
    TTransaction transaction(db);
    TSqliteStatement insert(
        db, QStringLiteral("INSERT INTO Habitra (Beskrivelse, Fabrikat, Model, Identifikation, "
                           "Kobssted, Kobsdato, Vaerdi, Notater, Foto, Kategori) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDate start(2000, 1, 1);
    for (int i = 1; i <= ItemCount; ++i) {
        insert.BindAll({Description(i), QStringLiteral("Fabrikat %1").arg(i % 97),
                        QStringLiteral("Model %1").arg(i % 1013), QStringLiteral("ID-%1").arg(i * 7919),
                        QStringLiteral("Butik %1").arg(i % 31), start.addDays(i % 7000).toString(Qt::ISODate),
                        qint64(i % 100000) * 7 + 99, QVariant(), qint64(i), QStringLiteral("Møbler")});
        insert.Execute();
        insert.Reset();
    }
    transaction.Commit();
}

void BuildListReport(TReport& report, TTable& table) {
    report.SetMargins(QMarginsF(5, 10, 5, 10));
    report.SetDataSet(&table);
    report.SetFormatSettings(TFormatSettings::Danish());
    report.SetPrintIfEmpty(false);
    report.SetTitle(QStringLiteral("Alle kategorier"));
    auto* title = report.AddBand(rbTitle, 10.6).Add<TReportSysData>(QStringLiteral("Titel"), sdReportTitle);
    title->SetBounds(0, 1.1, 40, 8);
    title->SetFont(QFont(QStringLiteral("Arial"), 20));
    title->SetFontColor(QColor(Qt::darkBlue));
    title->SetAlignment(taCenter);
    title->SetAlignToBand(true);
    title->SetAutoSize(true);
    TReportBand& header = report.AddBand(rbColumnHeader, 6.1);
    header.SetColor(QColor(Qt::lightGray));
    TReportBand& detail = report.AddBand(rbDetail, 6.35);
    struct TColumn {
        const char* caption;
        const char* field;
        double captionLeft;
        double fieldLeft;
        double width;
    };
    static const TColumn columns[] = {
        {"Beskrivelse", "Beskrivelse", 2.1, 2.1, 40.5},
        {"Fabrikat", "Fabrikat", 44.5, 44.5, 25.7},
        {"Model", "Model", 72.0, 72.0, 25.7},
        {"Identifikation", "Identifikation", 99.0, 99.0, 28.8},
        {"Købssted", "Kobssted", 129.1, 129.1, 25.9},
        {"Købsdato", "Kobsdato", 156.6, 156.6, 17.2},
        {"Værdi", "Vaerdi", 188.1, 175.7, 22.5},
    };
    QFont bold(QStringLiteral("Arial"), 10);
    bold.setBold(true);
    for (const TColumn& column : columns) {
        auto* caption = header.Add<TReportLabel>(QString(), QString::fromUtf8(column.caption));
        caption->SetBounds(column.captionLeft, 0.8, 20, 4.5);
        caption->SetFont(bold);
        caption->SetTransparent(true);
        caption->SetAutoSize(true);
        auto* field = detail.Add<TReportDataField>(QString(), QString::fromLatin1(column.field));
        field->SetBounds(column.fieldLeft, 1.1, column.width, 4.5);
        field->SetWordWrap(true);
        field->SetAlignment(column.width == 22.5 ? taRightJustify : taLeftJustify);
    }
    TReportBand& footer = report.AddBand(rbPageFooter, 6.35);
    auto* page = footer.Add<TReportSysData>(QStringLiteral("Side"), sdPageNumber, QStringLiteral("Side "));
    page->SetBounds(0, 1.1, 20.1, 4.5);
    page->SetAlignment(taCenter);
    page->SetAlignToBand(true);
    auto* sum = footer.Add<TReportExpression>(QStringLiteral("Sum"), QStringLiteral("Sum(Vaerdi)"),
                                              QStringLiteral("Kr ###,##0.00"));
    sum->SetBounds(179.4, 1.1, 15, 4.5);
    sum->SetAutoSize(true);
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

long PeakRssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ReportFonts::Install();
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data"));
    Schema::CreateMissingTables(data);
    FillItems(data);

    TTable table;
    table.SetDatabaseName(data);
    table.SetTableName(Schema::ItemFile);
    table.SetFormatSettings(TFormatSettings::Danish());
    table.Open();
    TReport report;
    BuildListReport(report, table);

    // Keep the output for a look when a path is given.
    const QString reportPdf =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("list.pdf"));
    QElapsedTimer timer;
    timer.start();
    report.SaveToPdf(reportPdf);
    const qint64 ours = timer.elapsed();

    timer.restart();
    PlainLines(dir.filePath(QStringLiteral("plain.pdf")));
    const qint64 baseline = timer.elapsed();

    std::printf("report_100k_pdf: %lld %lld %.2f\n", static_cast<long long>(ours),
                static_cast<long long>(baseline), baseline > 0 ? double(ours) / double(baseline) : 0.0);
    std::printf("report_100k_peak_mb: %ld\n", PeakRssKb() / 1024);
    return 0;
}
