#include "DataExport.h"

#include "ExportError.h"
#include "store/Table.h"

namespace {
// Resumes the bound controls however the loop ends.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TTable& table) : m_table(table) { m_table.DisableControls(); }
    ~TControlsDisabled() { m_table.EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TTable& m_table;
};
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
        col.Text = TrimControls(FieldOf(m_columns.Items(i))->AsString());
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
    m_writer = CreateWriter(device);
    try {
        Loop();
        m_writer->Flush();
    } catch (...) {
        m_writer.reset();
        throw;
    }
    m_writer.reset();
}

void TDataExport::Loop() {
    BuildColumns();
    m_row.Setup(m_columns);
    BeginExport();
    WriteCaptions();
    if (m_goToFirstRecord) {
        m_dataSet->First();
    }
    for (int skipped = 0; skipped < m_skipRecCount && !EndOfData(); ++skipped) {
        m_dataSet->Next();
    }
    BeforeFirstRecord();
    int exported = 0;
    while (!EndOfData()) {
        FillRow();
        WriteData();
        ++exported;
        if (m_currentRecordOnly || (m_exportRecCount > 0 && exported >= m_exportRecCount)) {
            break;
        }
        m_dataSet->Next();
    }
    AfterLastRecord();
    EndExport();
}
