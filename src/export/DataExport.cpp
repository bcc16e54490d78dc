#include "DataExport.h"

#include "ExportError.h"
#include "ExportScan.h"
#include "store/ControlsDisabled.h"
#include "store/Table.h"

#include <algorithm>

namespace {
constexpr int ProgressEvery = 512;
} // namespace

TDataExport::TDataExport(const TFormatSettings& settings, QObject* owner)
    : QObject(owner), m_settings(settings) {}

TDataExport::~TDataExport() = default;

QString TDataExport::TrimControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32) {
        ++first;
    }
    while (last > first && text.at(last - 1).unicode() <= 32) {
        --last;
    }
    return first == 0 && last == text.size() ? text : text.sliced(first, last - first);
}

std::unique_ptr<TExportWriter> TDataExport::CreateWriter(QIODevice& device) {
    return std::make_unique<TExportWriter>(device);
}

bool TDataExport::EndOfData() const {
    return m_dataSet->Eof();
}

TField* TDataExport::FieldOf(const TExportColumn& column) const {
    return m_dataSet->Fields(column.FieldIndex);
}

void TDataExport::BuildColumns() {
    m_columns.Build(*m_dataSet, m_exportedFields);
}

void TDataExport::FillRow() {
    for (int i = 0; i < m_columns.Count(); ++i) {
        TExportCol& col = m_row.Items(i);
        const TField* field = FieldOf(m_columns.Items(i));
        col.Text = TrimControls(field->AsString());
        col.Null = field->IsNull();
        col.Changed = false;
    }
}

void TDataExport::WriteData() {
    m_writer->WriteLn(BuildData());
}

void TDataExport::ExportTo(QIODevice& device) {
    if (m_dataSet == nullptr || !m_dataSet->Active()) {
        throw EExportError(QStringLiteral("Export source (%1) is closed").arg(QStringLiteral("DataSet")));
    }
    TControlsDisabled detached(*m_dataSet);
    const TBookmark start = m_dataSet->GetBookmark();
    m_writer = CreateWriter(device);
    try {
        Loop();
        m_writer->Flush();
    } catch (...) {
        m_writer.reset();
        m_scan.reset();
        // A cancelled or failed export leaves the cursor where it was.
        if (m_dataSet->BookmarkValid(start)) {
            m_dataSet->GotoBookmark(start);
        }
        throw;
    }
    m_writer.reset();
    m_scan.reset();
}

bool TDataExport::NextRecord() {
    if (Scanning()) {
        return m_scan->Next(m_row);
    }
    m_dataSet->Next();
    return !EndOfData();
}

void TDataExport::Report(int done, int total) const {
    if (m_progress && !m_progress(std::min(done, total), total)) {
        throw EExportCancelled();
    }
}

void TDataExport::Loop() {
    BuildColumns();
    m_row.Setup(m_columns);
    // The whole set from its first record is read straight from the file where the table's set allows.
    m_scan.reset();
    if (m_goToFirstRecord && !m_currentRecordOnly) {
        m_scan = TExportScan::For(*m_dataSet, m_columns);
    }
    BeginExport();
    WriteCaptions();
    bool more = false;
    if (Scanning()) {
        more = m_scan->Next(m_row);
    } else {
        if (m_goToFirstRecord) {
            m_dataSet->First();
        }
        more = !EndOfData();
    }
    for (int skipped = 0; skipped < m_skipRecCount && more; ++skipped) {
        more = NextRecord();
    }
    int total = m_currentRecordOnly ? 1 : std::max(m_dataSet->RecordCount() - m_skipRecCount, 0);
    if (m_exportRecCount > 0) {
        total = std::min(total, m_exportRecCount);
    }
    BeforeFirstRecord();
    int exported = 0;
    while (more) {
        if (!Scanning()) {
            FillRow();
        }
        WriteData();
        ++exported;
        if (exported % ProgressEvery == 0) {
            Report(exported, total);
        }
        if (m_currentRecordOnly || (m_exportRecCount > 0 && exported >= m_exportRecCount)) {
            break;
        }
        more = NextRecord();
    }
    AfterLastRecord();
    EndExport();
    Report(exported, std::max(total, exported));
    if (Scanning()) {
        // Where a walk through the set leaves the cursor.
        if (more) {
            m_dataSet->SetRecNo(m_skipRecCount + exported);
        } else {
            m_dataSet->Last();
        }
    }
}
