#pragma once

#include "ProgramFolder.h"
#include "report/Report.h"
#include "store/Table.h"
#include "toolkit/Platform.h"

#include <QDate>
#include <memory>

// A program folder with an open item table, and the inventory list's layout built on it.
class TReportFixture {
public:
    TReportFixture();
    TTable& Table() { return m_table; }
    void AddItem(const QString& description, qint64 valueCents,
                 const QString& category = QStringLiteral("Møbler"),
                 const QString& make = QStringLiteral("Fabrikat"));

    // A4 portrait, margins 10/5, title, silver column header with seven captions, detail with seven
    // data fields, page footer with "Side n" and Sum(Vaerdi) through "Kr ###,##0.00".
    static std::unique_ptr<TReport> ListReport(TTable& table, const TFormatSettings& settings);

private:
    TProgramFolder m_folder;
    TTable m_table;
};

// Renders the preview to a PDF file instead of opening a window.
class TPdfPreviewPlatform : public TPlatform {
public:
    explicit TPdfPreviewPlatform(QString path) : m_path(std::move(path)) {}
    bool OpenDocument(const QString&) override { return false; }
    bool StartProgram(const QString&, const QStringList&) override { return false; }
    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
    int Previews = 0;

private:
    QString m_path;
};

// Installs a platform for one test and puts the previous one back.
class TPlatformScope {
public:
    explicit TPlatformScope(std::unique_ptr<TPlatform> platform);
    ~TPlatformScope();
    TPlatformScope(const TPlatformScope&) = delete;
    TPlatformScope& operator=(const TPlatformScope&) = delete;

private:
    std::unique_ptr<TPlatform> m_previous;
};

// The text poppler reads from a PDF file; empty when pdftotext could not be run.
QString PdfText(const QString& path, bool* ran);
