#include "Table.h"

#include "DeclaredFields.h"
#include "Error.h"
#include "RecordWriter.h"
#include "StoredCell.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <atomic>

TTable::TTable(QObject* owner) : QObject(owner) {}

TTable::~TTable() {
    m_notifier.DetachAll();
}

QString TTable::FilePath() const {
    return QDir(m_databaseName).filePath(m_tableName);
}

void TTable::Open() {
    Open(TFieldFilter());
}

void TTable::Open(const TFieldFilter& filter) {
    if (Active()) {
        return;
    }
    const QString path = FilePath();
    if (!QFileInfo(m_databaseName).isDir()) {
        throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": the data folder \"%2\" does not exist")
                                 .arg(path, m_databaseName),
                             ekMissing, path,
                             QStringLiteral("the data folder \"%1\" does not exist").arg(m_databaseName));
    }
    m_db.Open(path);
    try {
        m_sqlTable = QFileInfo(m_tableName).completeBaseName();
        m_set.SetTable(m_sqlTable);
        BuildFields();
        m_state = dsBrowse;
        m_set.SetFiltering(!filter.IsEmpty());
        m_set.SetFilter({}, {});
        if (!filter.IsEmpty()) {
            CompileFilter(filter.Text(), &filter);
        }
        LoadKeys();
        ChangeCursor(m_keys.empty() ? -1 : 0);
        m_bof = true;
        m_eof = m_keys.empty();
    } catch (...) {
        m_state = dsInactive;
        m_records.Clear();
        m_fields.clear();
        m_db.Close();
        throw;
    }
    DataEvent(deActiveChange);
}

void TTable::Close() {
    if (!Active()) {
        return;
    }
    m_state = dsInactive;
    m_keys.clear();
    SetChanged();
    m_records.Clear();
    m_record.Clear(0);
    m_current = -1;
    m_db.Close();
    DataEvent(deActiveChange);
    m_fields.clear();
}

void TTable::BuildFields() {
    m_records.Clear();
    m_fields.clear();
    const std::vector<TFieldDef> defs = TDeclaredFields::Read(m_db, m_sqlTable, m_expected, FilePath());
    for (size_t i = 0; i < defs.size(); ++i) {
        m_fields.push_back(std::make_unique<TField>(*this, int(i), defs[i]));
    }
    m_records.Setup(FilePath(), m_set.QuotedTable(), defs);
    m_record.Clear(m_fields.size());
}

TField* TTable::FindField(const QString& name) const {
    for (const auto& field : m_fields) {
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0) {
            return field.get();
        }
    }
    return nullptr;
}

TField* TTable::FieldByName(const QString& name) const {
    TField* field = FindField(name);
    if (!field) {
        throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(m_tableName, name));
    }
    return field;
}

void TTable::CheckActive() const {
    if (!Active()) {
        throw EDatabaseError(
            QStringLiteral("Cannot perform this operation on a closed table (%1)").arg(m_tableName));
    }
}

void TTable::CheckCanModify() const {
    CheckActive();
    if (m_db.IsReadOnly()) {
        throw EDatabaseError(
            QStringLiteral("Table \"%1\" is read-only: changes cannot be stored").arg(FilePath()), ekReadOnly,
            FilePath(), QString());
    }
}

void TTable::LoadKeys() {
    m_keys = m_set.Keys(m_db);
    m_records.Renumbered();
    SetChanged();
}

void TTable::SetChanged() {
    static std::atomic<quint64> stamps{0};
    m_setStamp = ++stamps;
}

TTable::TContentStamp TTable::ContentStamp() const {
    CheckActive();
    // Another connection's commit changes the file's data version as this connection sees it.
    TSqliteStatement version(const_cast<TSqliteDatabase&>(m_db), QStringLiteral("PRAGMA data_version"));
    return {m_setStamp, version.Step() ? version.Int64(0) : -1};
}

QVariant TTable::ReadColumn(const TSqliteStatement& query, int column, int field) const {
    return TStoredCell::Read(query, column).Value(m_fields[size_t(field)]->DataType());
}

QVariant TTable::ToSql(int field, const QVariant& value) const {
    return TRecordWriter::Stored(m_fields[size_t(field)]->DataType(), value);
}

void TTable::LoadCurrent() {
    if (m_current < 0 || m_keys.empty()) {
        m_record.Clear(m_fields.size());
        return;
    }
    if (m_keys[size_t(m_current)] == 0) {
        m_record.Unmodify(); // the record being inserted keeps its values
        return;
    }
    m_record.Show(m_records.Fetch(m_keys, m_current));
}

void TTable::ChangeCursor(int row) {
    m_current = m_keys.empty() ? -1 : std::clamp(row, 0, int(m_keys.size()) - 1);
    LoadCurrent();
}

QVariant TTable::RowValue(int row, int field) const {
    if (row < 0 || row >= int(m_keys.size()) || field < 0 || field >= FieldCount()) {
        return {};
    }
    if (row == m_current || m_keys[size_t(row)] == 0) {
        return m_record.Value(field);
    }
    return (*m_records.Fetch(m_keys, row))[size_t(field)];
}

int TTable::ScanColumn(int field, int fromRow,
                       const std::function<bool(int row, const QVariant& value)>& visit) const {
    return ScanRows(
        field, fromRow,
        [&](int at, const TSqliteStatement& query) { return visit(at, ReadColumn(query, 1, field)); },
        [&](int at) { return visit(at, RowValue(at, field)); });
}

int TTable::ScanColumnUtf8(int field, int fromRow,
                           const std::function<bool(int row, QByteArrayView text)>& visit) const {
    return ScanRows(
        field, fromRow, [&](int at, const TSqliteStatement& query) { return visit(at, query.Utf8(1)); },
        [&](int at) { return visit(at, RowValue(at, field).toString().toUtf8()); });
}

int TTable::ScanRows(int field, int fromRow, const TColumnScan::TInFile& inFile,
                     const TColumnScan::TInSet& inSet) const {
    CheckActive();
    if (field < 0 || field >= FieldCount()) {
        return -1;
    }
    // A record being edited or inserted lives in the current record, not in the file.
    const TColumnScan scan(const_cast<TSqliteDatabase&>(m_db), m_set, m_keys);
    return scan.Run(m_fields[size_t(field)]->FieldName(), fromRow, m_state == dsBrowse, inFile, inSet);
}

const QVariant& TTable::CurrentValue(int field) const {
    return m_record.Value(field);
}

void TTable::SetCurrentValue(int field, const QVariant& value) {
    CheckActive();
    if (m_state != dsEdit && m_state != dsInsert) {
        throw EDatabaseError(QStringLiteral("Table %1 is not in edit or insert mode").arg(m_tableName));
    }
    if (m_record.Set(field, value)) {
        DataEvent(deFieldChange, m_fields[size_t(field)].get());
    }
}

void TTable::First() {
    CheckActive();
    CheckBrowseMode();
    ChangeCursor(0);
    m_bof = true;
    m_eof = m_keys.empty();
    DataEvent(deDataSetChange);
}

void TTable::Last() {
    CheckActive();
    CheckBrowseMode();
    ChangeCursor(int(m_keys.size()) - 1);
    m_eof = true;
    m_bof = m_keys.empty();
    DataEvent(deDataSetChange);
}

void TTable::Next() {
    MoveBy(1);
}

void TTable::Prior() {
    MoveBy(-1);
}

int TTable::MoveBy(int distance) {
    CheckActive();
    CheckBrowseMode();
    const int last = int(m_keys.size()) - 1;
    const int target = std::clamp(m_current + distance, 0, std::max(last, 0));
    const int moved = m_keys.empty() ? 0 : target - m_current;
    m_eof = distance > 0 && moved < distance;
    m_bof = distance < 0 && moved > distance;
    if (m_keys.empty()) {
        m_eof = m_bof = true;
    }
    if (moved != 0) {
        ChangeCursor(target);
        DataEvent(deDataSetScroll);
    }
    return moved;
}

void TTable::SetRecNo(int recNo) {
    CheckActive();
    if (recNo - 1 == m_current) {
        return;
    }
    CheckBrowseMode();
    ChangeCursor(recNo - 1);
    m_eof = m_bof = false;
    DataEvent(deDataSetScroll);
}

void TTable::BeginInsert(int position) {
    CheckCanModify();
    CheckBrowseMode();
    position = std::clamp(position, 0, int(m_keys.size()));
    m_keys.insert(m_keys.begin() + position, 0);
    SetChanged();
    m_current = position;
    m_record.Clear(m_fields.size());
    m_eof = m_bof = false;
    m_state = dsInsert;
    DataEvent(deDataSetChange);
    DataEvent(deUpdateState);
    if (AfterInsert) {
        AfterInsert(*this);
    }
}

void TTable::Insert() {
    CheckActive();
    BeginInsert(std::max(m_current, 0));
}

void TTable::Append() {
    CheckActive();
    BeginInsert(int(m_keys.size()));
}

void TTable::Edit() {
    CheckActive();
    if (m_state == dsEdit || m_state == dsInsert) {
        return;
    }
    if (m_keys.empty()) {
        Insert();
        return;
    }
    CheckCanModify();
    m_state = dsEdit;
    m_record.Unmodify();
    DataEvent(deUpdateState);
    DataEvent(deRecordChange);
}

void TTable::UpdateRecord() {
    if (m_state == dsEdit || m_state == dsInsert) {
        DataEvent(deUpdateRecord);
    }
}

void TTable::Post() {
    CheckActive();
    UpdateRecord();
    if (m_state == dsBrowse) {
        return;
    }
    const bool inserting = m_state == dsInsert;
    if (!inserting && !m_record.Modified()) {
        m_state = dsBrowse;
        DataEvent(deUpdateState);
        return;
    }
    qint64 key = m_keys[size_t(m_current)];
    TRecordWriter::TValues values;
    bool moves = inserting;
    for (const auto& field : m_fields) {
        const bool changed = m_record.Changed().contains(field->Index());
        if (inserting || changed) {
            values.emplace_back(field->FieldName(), ToSql(field->Index(), m_record.Value(field->Index())));
        }
        moves = moves || (changed && m_set.DependsOn(field->FieldName()));
    }
    m_records.BeforeWrite();
    TRecordWriter writer(m_db, m_set.QuotedTable());
    if (inserting) {
        key = writer.Insert(values);
    } else {
        writer.Update(key, values);
    }
    m_records.Forget(key);
    SetChanged();
    m_state = dsBrowse;
    if (moves) {
        const int position = m_current;
        LoadKeys();
        LocateKey(key, position);
    } else {
        LoadCurrent();
    }
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
    if (AfterPost) {
        AfterPost(*this);
    }
}

void TTable::Cancel() {
    CheckActive();
    if (m_state == dsInsert) {
        m_keys.erase(m_keys.begin() + m_current);
        SetChanged();
        m_state = dsBrowse;
        ChangeCursor(m_current);
        DataEvent(deUpdateState);
        DataEvent(deDataSetChange);
    } else if (m_state == dsEdit) {
        m_state = dsBrowse;
        LoadCurrent();
        DataEvent(deUpdateState);
        DataEvent(deRecordChange);
    }
}

void TTable::CheckBrowseMode() {
    CheckActive();
    if (m_state != dsEdit && m_state != dsInsert) {
        return;
    }
    UpdateRecord();
    if (m_record.Modified()) {
        Post();
    } else {
        Cancel();
    }
}

void TTable::Delete() {
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (m_keys.empty()) {
        throw EDatabaseError(
            QStringLiteral("Cannot perform this operation on an empty table (%1)").arg(m_tableName));
    }
    CheckCanModify();
    const qint64 key = m_keys[size_t(m_current)];
    m_records.BeforeWrite();
    TRecordWriter(m_db, m_set.QuotedTable()).Remove(key);
    m_records.Forget(key);
    m_keys.erase(m_keys.begin() + m_current);
    SetChanged();
    m_state = dsBrowse;
    ChangeCursor(m_current);
    m_eof = m_bof = m_keys.empty();
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
}

void TTable::Refresh() {
    CheckActive();
    CheckBrowseMode();
    const qint64 key = CurrentKey();
    m_records.Clear();
    LoadKeys();
    LocateKey(key, m_current);
    DataEvent(deDataSetChange);
}

void TTable::WriteThrough(const std::function<void(TSqliteDatabase& db)>& write) {
    CheckCanModify();
    CheckBrowseMode();
    const qint64 key = CurrentKey();
    const auto reread = [&] {
        m_records.Clear();
        LoadKeys();
        LocateKey(key, m_current);
        DataEvent(deDataSetChange);
    };
    m_records.BeforeWrite();
    try {
        write(m_db);
    } catch (...) {
        reread();
        throw;
    }
    reread();
}

void TTable::LocateKey(qint64 key, int fallback) {
    const auto found = std::find(m_keys.begin(), m_keys.end(), key);
    ChangeCursor(found != m_keys.end() ? int(found - m_keys.begin()) : fallback);
    m_eof = m_keys.empty();
    m_bof = m_keys.empty();
}

void TTable::CompileFilter(const QString& text, const TFieldFilter* fields) {
    TCompiledFilter compiled;
    QSet<QString> columns;
    if (Active()) {
        const auto resolve = [&](const QString& name, const QString& literal) {
            TField* field = FieldByName(name);
            columns.insert(field->FieldName());
            return std::make_pair(QuotedName(field->FieldName()),
                                  ToSql(field->Index(), field->Convert(literal)));
        };
        compiled = fields ? fields->Compile(resolve) : TFilterParser::Compile(text, resolve);
        CheckBrowseMode();
    }
    m_filter = text;
    m_set.SetFilter(std::move(compiled), std::move(columns));
}

void TTable::SetFilter(const QString& filter) {
    CompileFilter(filter);
    if (Active() && m_set.Filtering()) {
        LoadKeys();
        First();
    }
}

void TTable::SetFiltered(bool filtered) {
    if (Active()) {
        CheckBrowseMode();
        if (filtered && m_set.CompiledFilter().Sql.isEmpty() && !m_filter.isEmpty()) {
            SetFilter(m_filter);
        }
    }
    // Switching to the state already in force keeps the current set (a new filter text was applied
    // when it was given) and only moves to the first record.
    const bool changed = filtered != m_set.Filtering();
    m_set.SetFiltering(filtered);
    if (Active()) {
        if (changed) {
            LoadKeys();
        }
        First();
    }
}

void TTable::SetFilter(const QString& filter, bool filtered) {
    if (Active()) {
        CheckBrowseMode();
    }
    CompileFilter(filter);
    Refilter(filtered, true);
}

void TTable::SetFilterOn(const TFieldFilter& filter) {
    CompileFilter(filter.Text(), &filter);
    Refilter(true, true);
}

void TTable::SetFilterOff() {
    if (Active()) {
        CheckBrowseMode();
    }
    Refilter(false, m_set.Filtering());
}

void TTable::Refilter(bool filtered, bool reload) {
    m_set.SetFiltering(filtered);
    if (!Active()) {
        return;
    }
    if (reload) {
        LoadKeys();
    }
    ChangeCursor(0);
    m_bof = true;
    m_eof = m_keys.empty();
    DataEvent(deDataSetChange);
}

void TTable::SetIndexName(const QString& name) {
    if (!Active()) {
        m_indexName = name;
        return;
    }
    TIndexOrder order = TIndexOrder::Read(m_db, m_sqlTable, name, m_tableName);
    CheckBrowseMode();
    const qint64 key = CurrentKey();
    m_indexName = name;
    m_set.SetOrder(std::move(order));
    LoadKeys();
    LocateKey(key, 0);
    DataEvent(deDataSetChange);
}

TBookmark TTable::GetBookmark() const {
    if (!Active() || m_current < 0 || m_keys[size_t(m_current)] == 0) {
        return {};
    }
    return TBookmark{m_keys[size_t(m_current)], true};
}

bool TTable::BookmarkValid(const TBookmark& bookmark) const {
    return bookmark.Valid && std::find(m_keys.begin(), m_keys.end(), bookmark.Key) != m_keys.end();
}

void TTable::GotoBookmark(const TBookmark& bookmark) {
    CheckActive();
    const auto found = std::find(m_keys.begin(), m_keys.end(), bookmark.Key);
    if (!bookmark.Valid || found == m_keys.end()) {
        throw EDatabaseError(QStringLiteral("%1: Record not found").arg(m_tableName));
    }
    CheckBrowseMode();
    ChangeCursor(int(found - m_keys.begin()));
    m_eof = m_bof = false;
    DataEvent(deDataSetScroll);
}
