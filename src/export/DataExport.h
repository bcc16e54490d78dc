#pragma once

#include "ExportColumns.h"
#include "ExportRow.h"
#include "ExportWriter.h"
#include "store/FormatSettings.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;
class TExportScan;
class TTable;

// Where the rows come from; only a data set is supported.
enum TExportSource { esDataSet };

// The export engine: walks the data source with its bound controls detached, builds the column list
// and the current row, and runs the export loop into a writer. The format is reached through the
// virtual operations below; file handling belongs to the text layer.
class TDataExport : public QObject {
    Q_OBJECT
public:
    explicit TDataExport(const TFormatSettings& settings, QObject* owner = nullptr);
    ~TDataExport() override;

    TExportSource ExportSource() const { return m_exportSource; }
    void SetExportSource(TExportSource source) { m_exportSource = source; }
    TTable* DataSet() const { return m_dataSet; }
    void SetDataSet(TTable* table) { m_dataSet = table; }
    bool GoToFirstRecord() const { return m_goToFirstRecord; }
    void SetGoToFirstRecord(bool value) { m_goToFirstRecord = value; }
    bool CurrentRecordOnly() const { return m_currentRecordOnly; }
    void SetCurrentRecordOnly(bool value) { m_currentRecordOnly = value; }
    int SkipRecCount() const { return m_skipRecCount; }
    void SetSkipRecCount(int count) { m_skipRecCount = count; }
    // 0: no limit.
    int ExportRecCount() const { return m_exportRecCount; }
    void SetExportRecCount(int count) { m_exportRecCount = count; }
    // Empty: every field that is not a large object.
    const QStringList& ExportedFields() const { return m_exportedFields; }
    void SetExportedFields(const QStringList& names) { m_exportedFields = names; }
    const TFormatSettings& FormatSettings() const { return m_settings; }
    // Called every few records with the records written so far and the number to write; returning
    // false cancels the export, which then raises EExportCancelled.
    using TProgress = std::function<bool(int done, int total)>;
    void SetProgress(TProgress progress) { m_progress = std::move(progress); }

    const TExportColumns& Columns() const { return m_columns; }
    const TExportRow& Row() const { return m_row; }

    // Writes the file (or whatever the format's layer writes to).
    virtual void RunExport() = 0;
    // Runs the export loop into an open device; the device stays open.
    void ExportTo(QIODevice& device);

    // Leading and trailing characters of codes 0 to 32 removed.
    static QString TrimControls(const QString& text);

protected:
    virtual std::unique_ptr<TExportWriter> CreateWriter(QIODevice& device);
    virtual void BeginExport() {}
    virtual void BeforeFirstRecord() {}
    virtual void AfterLastRecord() {}
    virtual void EndExport() {}
    virtual bool EndOfData() const;
    virtual QString BuildCaptions() { return {}; }
    virtual void WriteCaptions() {}
    virtual void BuildColumns();
    virtual void FillRow();
    virtual QString BuildData() { return {}; }
    virtual void WriteData();
    virtual QString FormatCaption(const TExportColumn& column) { return column.Caption; }
    virtual QString FormatData(const TExportColumn& /*column*/, const TExportCol& col) { return col.Text; }

    TExportWriter& Writer() { return *m_writer; }
    TExportColumns& MutableColumns() { return m_columns; }
    TExportRow& MutableRow() { return m_row; }
    // The field a column shows in the current record.
    TField* FieldOf(const TExportColumn& column) const;

private:
    void Loop();
    // Whether the rows come straight from the file rather than from a walk of the cursor.
    bool Scanning() const { return m_scan != nullptr; }
    bool NextRecord();
    void Report(int done, int total) const;

    TFormatSettings m_settings;
    TExportSource m_exportSource = esDataSet;
    TTable* m_dataSet = nullptr;
    bool m_goToFirstRecord = true;
    bool m_currentRecordOnly = false;
    int m_skipRecCount = 0;
    int m_exportRecCount = 0;
    QStringList m_exportedFields;
    TExportColumns m_columns;
    TExportRow m_row;
    std::unique_ptr<TExportWriter> m_writer;
    std::unique_ptr<TExportScan> m_scan;
    TProgress m_progress;
};
