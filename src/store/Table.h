#pragma once

#include "ColumnScan.h"
#include "CurrentRecord.h"
#include "DataNotifier.h"
#include "DataSource.h"
#include "Field.h"
#include "FieldFilter.h"
#include "FormatSettings.h"
#include "RecordCache.h"
#include "SetQuery.h"
#include "Sqlite.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Remembers a record so that a table can return to it.
struct TBookmark {
    qint64 Key = 0;
    bool Valid = false;
};

// One table file of the data folder: a cursor over the records that pass the filter, in the order
// of the selected index, with the edit states of a record and notifications to its data sources.
// The table's own records live in a SQLite table named after the file ("Habitra.db" holds "Habitra").
// The work behind it has a class each: the file's fields (TDeclaredFields), the set's query
// (TSetQuery, TIndexOrder), column scans (TColumnScan), writes (TRecordWriter), the current record
// (TCurrentRecord) and the notifications (TDataNotifier).
class TTable : public QObject {
    Q_OBJECT
public:
    explicit TTable(QObject* owner = nullptr);
    ~TTable() override;

    // Set-up, before Open.
    void SetDatabaseName(const QString& folder) { m_databaseName = folder; }
    const QString& DatabaseName() const { return m_databaseName; }
    void SetTableName(const QString& fileName) { m_tableName = fileName; }
    const QString& TableName() const { return m_tableName; }
    QString FilePath() const;
    // The fields the program relies on; Open refuses a file that lacks one of them.
    void SetFieldDefs(std::vector<TFieldDef> defs) { m_expected = std::move(defs); }
    void SetFormatSettings(const TFormatSettings& settings) { m_settings = settings; }
    const TFormatSettings& FormatSettings() const { return m_settings; }

    void Open();
    // Opens with the filter already on, so that only the filtered records' keys are read.
    void Open(const TFieldFilter& filter);
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    bool CanModify() const { return Active() && !m_db.IsReadOnly(); }

    int FieldCount() const { return int(m_fields.size()); }
    TField* Fields(int index) const { return m_fields.at(size_t(index)).get(); }
    TField* FindField(const QString& name) const;
    TField* FieldByName(const QString& name) const; // raises EDatabaseError when missing

    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    bool IsEmpty() const { return m_keys.empty(); }
    int RecordCount() const { return int(m_keys.size()); }
    int RecNo() const { return m_current + 1; } // 1-based; 0 when there is no record
    void SetRecNo(int recNo);

    TDataSetState State() const { return m_state; }
    bool Modified() const { return m_record.Modified(); }
    void Insert();
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void Refresh();
    // Ends a pending edit: posted when something changed, dropped otherwise.
    void CheckBrowseMode();
    // Asks the bound controls to write what was typed into the fields.
    void UpdateRecord();

    // The filter as text: as typed, or the text of the last field filter.
    const QString& Filter() const { return m_filter; }
    // A filter text, read by TFilterParser; applied at once while filtering is on.
    void SetFilter(const QString& filter);
    bool Filtered() const { return m_set.Filtering(); }
    void SetFiltered(bool filtered);
    // Puts a filter text and whether it is in force back at once, with one notification.
    void SetFilter(const QString& filter, bool filtered);
    // Filters on fields holding exactly the given values and turns filtering on: the set is read
    // once, the first record becomes current, and the data sources hear of it once.
    void SetFilterOn(const TFieldFilter& filter);
    void SetFilterOn(const QString& field, const QString& value) { SetFilterOn(TFieldFilter(field, value)); }
    // Turns filtering off with one notification; the filter stays for a later SetFiltered(true).
    void SetFilterOff();
    const QString& IndexName() const { return m_indexName; }
    void SetIndexName(const QString& name);

    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& bookmark);
    void FreeBookmark(TBookmark& bookmark) { bookmark = TBookmark{}; }
    bool BookmarkValid(const TBookmark& bookmark) const;

    void DisableControls() { m_notifier.Disable(); }
    void EnableControls() { m_notifier.Enable(); }
    bool ControlsDisabled() const { return m_notifier.Disabled(); }

    // A row of the current set, read without moving the cursor (row 0-based).
    QVariant RowValue(int row, int field) const;
    // Hands one field of the rows from `fromRow` on to `visit`, in order, without moving the cursor,
    // until `visit` returns true; returns that row or -1. Reads the column in one query, so a scan
    // of the whole set costs about what the engine's own scan costs.
    int ScanColumn(int field, int fromRow,
                   const std::function<bool(int row, const QVariant& value)>& visit) const;
    // The same for a text or memo field, handing over the stored UTF-8 text (valid during the call).
    int ScanColumnUtf8(int field, int fromRow,
                       const std::function<bool(int row, QByteArrayView text)>& visit) const;

    // Changes whenever the set or the records in it may have changed: the set read anew, a record
    // written, inserted or deleted here, or the file written over another connection. What was read
    // from the set in browse state is still what the set holds while the stamp stays the same.
    struct TContentStamp {
        quint64 Set = 0;
        qint64 File = 0;
        bool operator==(const TContentStamp&) const = default;
    };
    TContentStamp ContentStamp() const;

    // Runs `write` on the table's own connection, for writes of many records that the caller puts in
    // one transaction of its own: a pending edit is ended first and reading ahead stopped; afterwards
    // the set is read anew, also when `write` fails, and the current record stays where it was.
    void WriteThrough(const std::function<void(TSqliteDatabase& db)>& write);

    std::function<void(TTable&)> AfterInsert;
    std::function<void(TTable&)> AfterPost;

    // Used by TField.
    const QVariant& CurrentValue(int field) const;
    void SetCurrentValue(int field, const QVariant& value);

    void AddDataSource(TDataSource* source) { m_notifier.Add(source); }
    void RemoveDataSource(TDataSource* source) { m_notifier.Remove(source); }

private:
    void CheckActive() const;
    void CheckCanModify() const;
    void BuildFields();
    void LoadKeys();
    // Compiles a filter text, or a field filter with its text, into the set's query; the table is
    // left as it was when the filter is refused.
    void CompileFilter(const QString& text, const TFieldFilter* fields = nullptr);
    // Turns filtering on or off, reads the set anew when asked to, and shows its first record with
    // one notification.
    void Refilter(bool filtered, bool reload);
    int ScanRows(int field, int fromRow, const TColumnScan::TInFile& inFile,
                 const TColumnScan::TInSet& inSet) const;
    void LocateKey(qint64 key, int fallback);
    qint64 CurrentKey() const { return m_current >= 0 ? m_keys[size_t(m_current)] : 0; }
    void LoadCurrent();
    QVariant ReadColumn(const TSqliteStatement& query, int column, int field) const;
    QVariant ToSql(int field, const QVariant& value) const;
    void ChangeCursor(int row);
    void DataEvent(TDataEvent event, TField* field = nullptr) { m_notifier.Send(event, field); }
    void BeginInsert(int position);
    // Gives the set a stamp no set of any table had before.
    void SetChanged();

    QString m_databaseName;
    QString m_tableName;
    QString m_sqlTable;
    std::vector<TFieldDef> m_expected;
    TFormatSettings m_settings;
    TSqliteDatabase m_db;
    std::vector<std::unique_ptr<TField>> m_fields;

    TDataSetState m_state = dsInactive;
    std::vector<qint64> m_keys; // record keys of the current set; 0 stands for a record being inserted
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    TCurrentRecord m_record;

    QString m_filter;
    QString m_indexName;
    TSetQuery m_set;
    quint64 m_setStamp = 0;

    mutable TRecordCache m_records{m_db};
    TDataNotifier m_notifier;
};
