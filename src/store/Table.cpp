#include "Table.h"

#include "Error.h"
#include "StoredCell.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

TFieldDef DefFromDeclaredType(const QString& name, const QString& declared) {
    const QString type = declared.toUpper();
    TFieldDef def{name, ftString, 255};
    static const QRegularExpression sizePattern(QStringLiteral("\\((\\d+)"));
    if (type.contains(QLatin1String("MEMO")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("BLOB"))) {
        def.DataType = ftMemo;
        def.Size = 0;
    } else if (type.contains(QLatin1String("DATE"))) {
        def.DataType = ftDate;
        def.Size = 0;
    } else if (type.contains(QLatin1String("DECIMAL")) || type.contains(QLatin1String("NUMERIC")) ||
               type.contains(QLatin1String("MONEY"))) {
        def.DataType = ftBCD;
        def.Size = 0;
    } else if (type.contains(QLatin1String("INT"))) {
        def.DataType = ftInteger;
        def.Size = 0;
    } else {
        const auto match = sizePattern.match(type);
        if (match.hasMatch()) {
            def.Size = match.captured(1).toInt();
        }
    }
    return def;
}
} // namespace

TTable::TTable(QObject* owner) : QObject(owner) {}

TTable::~TTable() {
    for (TDataSource* source : std::vector<TDataSource*>(m_sources)) {
        source->DetachTable();
    }
}

QString TTable::FilePath() const {
    return QDir(m_databaseName).filePath(m_tableName);
}

QString TTable::QuotedTable() const {
    return QuotedName(m_sqlTable);
}

void TTable::Open() {
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
        BuildFields();
        m_state = dsBrowse;
        m_filtered = false;
        m_compiledFilter = {};
        LoadKeys();
        ChangeCursor(m_keys.empty() ? -1 : 0);
        m_bof = true;
        m_eof = m_keys.empty();
    } catch (...) {
        m_state = dsInactive;
        ClearCache();
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
    ClearCache();
    m_buffer = std::make_shared<TRecord>();
    m_current = -1;
    m_modified = false;
    m_db.Close();
    DataEvent(deActiveChange);
    m_fields.clear();
}

void TTable::BuildFields() {
    ClearCache();
    m_fields.clear();
    std::vector<TFieldDef> defs;
    {
        TSqliteStatement info(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(QuotedTable()));
        while (info.Step()) {
            defs.push_back(DefFromDeclaredType(info.Text(1), info.Text(2)));
        }
    }
    if (defs.empty()) {
        const QString reason = QStringLiteral("it holds no table named %1").arg(m_sqlTable);
        throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": %2").arg(FilePath(), reason),
                             ekDamaged, FilePath(), reason);
    }
    for (const TFieldDef& expected : m_expected) {
        auto found = std::find_if(defs.begin(), defs.end(), [&](const TFieldDef& def) {
            return def.Name.compare(expected.Name, Qt::CaseInsensitive) == 0;
        });
        if (found == defs.end()) {
            const QString reason =
                QStringLiteral("it has no field %1; the file is of another kind or version")
                    .arg(expected.Name);
            throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": %2").arg(FilePath(), reason),
                                 ekDamaged, FilePath(), reason);
        }
        *found = expected;
    }
    for (size_t i = 0; i < defs.size(); ++i) {
        m_fields.push_back(std::make_unique<TField>(*this, int(i), defs[i]));
    }
    m_records.Setup(FilePath(), QuotedTable(), defs);
    m_buffer = std::make_shared<TRecord>(m_fields.size());
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

QString TTable::SetSql(const QString& columns, bool& useFilter) const {
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns, QuotedTable());
    useFilter = m_filtered && !m_compiledFilter.Sql.isEmpty();
    if (useFilter) {
        sql += QStringLiteral(" WHERE ") + m_compiledFilter.Sql;
    }
    return sql + QStringLiteral(" ORDER BY ") + m_orderSql;
}

void TTable::LoadKeys() {
    bool useFilter = false;
    TSqliteStatement query(m_db, SetSql(QStringLiteral("rowid"), useFilter));
    if (useFilter) {
        query.BindAll(m_compiledFilter.Parameters);
    }
    m_keys.clear();
    while (query.Step()) {
        m_keys.push_back(query.Int64(0));
    }
    m_records.Renumbered();
}

QVariant TTable::ReadColumn(const TSqliteStatement& query, int column, int field) const {
    return TStoredCell::Read(query, column).Value(m_fields[size_t(field)]->DataType());
}

QVariant TTable::ToSql(int field, const QVariant& value) const {
    if (value.isNull()) {
        return {};
    }
    if (m_fields[size_t(field)]->DataType() == ftDate) {
        return QVariant(value.toDate().toString(Qt::ISODate));
    }
    return value;
}

void TTable::ClearCache() {
    m_records.Clear();
}

void TTable::LoadCurrent() {
    m_modified = false;
    m_changedFields.clear();
    if (m_current < 0 || m_keys.empty()) {
        m_buffer = std::make_shared<TRecord>(m_fields.size());
        return;
    }
    if (m_keys[size_t(m_current)] == 0) {
        return; // the record being inserted keeps its buffer
    }
    m_buffer = m_records.Fetch(m_keys, m_current);
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
        return (*m_buffer)[size_t(field)];
    }
    return (*m_records.Fetch(m_keys, row))[size_t(field)];
}

int TTable::ScanFile(int field, int row,
                     const std::function<bool(int row, const TSqliteStatement& query)>& visit,
                     bool& hit) const {
    hit = false;
    // A record being edited or inserted lives in the buffer, not in the file: read row by row then.
    if (m_state != dsBrowse) {
        return row;
    }
    bool useFilter = false;
    auto& self = const_cast<TTable&>(*this);
    TSqliteStatement query(
        self.m_db,
        SetSql(QStringLiteral("rowid, ") + QuotedName(m_fields[size_t(field)]->FieldName()), useFilter) +
            QStringLiteral(" LIMIT -1 OFFSET ?"));
    int next = 1;
    if (useFilter) {
        query.BindAll(m_compiledFilter.Parameters);
        next += int(m_compiledFilter.Parameters.size());
    }
    query.Bind(next, QVariant(qint64(row)));
    const int count = int(m_keys.size());
    while (row < count && query.Step()) {
        if (query.Int64(0) != m_keys[size_t(row)]) {
            break; // the file changed since the set was read: go on from the set itself
        }
        if (visit(row, query)) {
            hit = true;
            return row;
        }
        ++row;
    }
    return row;
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

int TTable::ScanRows(int field, int fromRow,
                     const std::function<bool(int row, const TSqliteStatement& query)>& inFile,
                     const std::function<bool(int row)>& inSet) const {
    CheckActive();
    const int count = int(m_keys.size());
    if (field < 0 || field >= FieldCount() || fromRow >= count) {
        return -1;
    }
    bool hit = false;
    int row = ScanFile(field, std::max(fromRow, 0), inFile, hit);
    if (hit) {
        return row;
    }
    for (; row < count; ++row) {
        if (inSet(row)) {
            return row;
        }
    }
    return -1;
}

const QVariant& TTable::CurrentValue(int field) const {
    static const QVariant none;
    if (field < 0 || size_t(field) >= m_buffer->size()) {
        return none;
    }
    return (*m_buffer)[size_t(field)];
}

void TTable::SetCurrentValue(int field, const QVariant& value) {
    CheckActive();
    if (m_state != dsEdit && m_state != dsInsert) {
        throw EDatabaseError(QStringLiteral("Table %1 is not in edit or insert mode").arg(m_tableName));
    }
    const QVariant& current = (*m_buffer)[size_t(field)];
    if (current == value && current.isNull() == value.isNull()) {
        return;
    }
    if (m_buffer.use_count() > 1) {
        m_buffer = std::make_shared<TRecord>(*m_buffer); // the cached copy stays as the file has it
    }
    (*m_buffer)[size_t(field)] = value;
    m_modified = true;
    m_changedFields.insert(field);
    DataEvent(deFieldChange, m_fields[size_t(field)].get());
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
    m_current = position;
    m_buffer = std::make_shared<TRecord>(m_fields.size());
    m_modified = false;
    m_changedFields.clear();
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
    m_modified = false;
    m_changedFields.clear();
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
    if (!inserting && !m_modified) {
        m_state = dsBrowse;
        DataEvent(deUpdateState);
        return;
    }
    qint64 key = m_keys[size_t(m_current)];
    QStringList columns;
    QStringList marks;
    std::vector<QVariant> values;
    for (const auto& field : m_fields) {
        if (!inserting && !m_changedFields.contains(field->Index())) {
            continue;
        }
        columns << QuotedName(field->FieldName());
        marks << (inserting ? QStringLiteral("?") : QuotedName(field->FieldName()) + QStringLiteral(" = ?"));
        values.push_back(ToSql(field->Index(), (*m_buffer)[size_t(field->Index())]));
    }
    m_records.BeforeWrite();
    {
        TTransaction transaction(m_db);
        if (inserting) {
            TSqliteStatement insert(
                m_db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(QuotedTable(), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
            insert.BindAll(values);
            insert.Execute();
            key = m_db.LastInsertRowId();
        } else {
            TSqliteStatement update(m_db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                              .arg(QuotedTable(), marks.join(QLatin1Char(','))));
            update.BindAll(values);
            update.Bind(int(values.size()) + 1, QVariant(key));
            update.Execute();
        }
        transaction.Commit();
    }
    m_records.Forget(key);
    bool moves = inserting;
    for (int field : std::as_const(m_changedFields)) {
        const QString name = m_fields[size_t(field)]->FieldName();
        moves = moves || m_orderFields.contains(name) || m_filterFields.contains(name);
    }
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
    if (m_modified) {
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
    {
        TTransaction transaction(m_db);
        TSqliteStatement remove(m_db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QuotedTable()));
        remove.Bind(1, QVariant(key));
        remove.Execute();
        transaction.Commit();
    }
    m_records.Forget(key);
    m_keys.erase(m_keys.begin() + m_current);
    m_state = dsBrowse;
    ChangeCursor(m_current);
    m_eof = m_bof = m_keys.empty();
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
}

void TTable::Refresh() {
    CheckActive();
    CheckBrowseMode();
    const qint64 key = m_current >= 0 ? m_keys[size_t(m_current)] : 0;
    ClearCache();
    LoadKeys();
    LocateKey(key, m_current);
    DataEvent(deDataSetChange);
}

void TTable::WriteThrough(const std::function<void(TSqliteDatabase& db)>& write) {
    CheckCanModify();
    CheckBrowseMode();
    const qint64 key = m_current >= 0 ? m_keys[size_t(m_current)] : 0;
    const auto reread = [&] {
        ClearCache();
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

void TTable::SetFilter(const QString& filter) {
    TCompiledFilter compiled;
    QSet<QString> fields;
    if (Active()) {
        compiled = TFilterParser::Compile(filter, [&](const QString& name, const QString& literal) {
            TField* field = FieldByName(name);
            fields.insert(field->FieldName());
            return std::make_pair(QuotedName(field->FieldName()),
                                  ToSql(field->Index(), field->Convert(literal)));
        });
        CheckBrowseMode();
    }
    m_filter = filter;
    m_compiledFilter = std::move(compiled);
    m_filterFields = std::move(fields);
    if (Active() && m_filtered) {
        LoadKeys();
        First();
    }
}

void TTable::SetFiltered(bool filtered) {
    if (Active()) {
        CheckBrowseMode();
        if (filtered && m_compiledFilter.Sql.isEmpty() && !m_filter.isEmpty()) {
            SetFilter(m_filter);
        }
    }
    // Switching to the state already in force keeps the current set (a new filter text was applied
    // when it was given) and only moves to the first record.
    const bool changed = filtered != m_filtered;
    m_filtered = filtered;
    if (Active()) {
        if (changed) {
            LoadKeys();
        }
        First();
    }
}

void TTable::SetIndexName(const QString& name) {
    QString order = QStringLiteral("rowid");
    QSet<QString> fields;
    if (Active() && !name.isEmpty()) {
        TSqliteStatement owner(m_db,
                               QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND "
                                              "name = ? COLLATE NOCASE"));
        owner.Bind(1, name);
        if (!owner.Step() || owner.Text(0).compare(m_sqlTable, Qt::CaseInsensitive) != 0) {
            throw EDatabaseError(QStringLiteral("%1: Index '%2' not found").arg(m_tableName, name));
        }
        QStringList parts;
        TSqliteStatement info(m_db, QStringLiteral("PRAGMA index_xinfo(%1)").arg(QuotedName(name)));
        while (info.Step()) {
            if (info.Int64(5) == 0 || info.IsNull(2)) {
                continue; // the row key at the end, or an expression
            }
            const QString column = info.Text(2);
            fields.insert(column);
            parts << QStringLiteral("%1 COLLATE %2%3")
                         .arg(QuotedName(column), info.Text(4),
                              info.Int64(3) ? QStringLiteral(" DESC") : QString());
        }
        parts << QStringLiteral("rowid");
        order = parts.join(QStringLiteral(", "));
    }
    if (!Active()) {
        m_indexName = name;
        return;
    }
    CheckBrowseMode();
    const qint64 key = m_current >= 0 ? m_keys[size_t(m_current)] : 0;
    m_indexName = name;
    m_orderSql = order;
    m_orderFields = std::move(fields);
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

void TTable::EnableControls() {
    if (m_disableCount == 0) {
        return;
    }
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        DataEvent(deDataSetChange);
    }
}

void TTable::AddDataSource(TDataSource* source) {
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end()) {
        m_sources.push_back(source);
    }
}

void TTable::RemoveDataSource(TDataSource* source) {
    std::erase(m_sources, source);
}

void TTable::DataEvent(TDataEvent event, TField* field) {
    // What the user typed must reach the fields even while the controls are detached.
    if (m_disableCount > 0 && event != deUpdateRecord) {
        m_changedWhileDisabled = true;
        return;
    }
    for (TDataSource* source : std::vector<TDataSource*>(m_sources)) {
        source->Notify(event, field);
    }
}
