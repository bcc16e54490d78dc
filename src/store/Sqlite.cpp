#include "Sqlite.h"

#include "Error.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {
// The kind of error an SQLite result code stands for.
TErrorKind KindOf(int code) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ekLocked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return ekDamaged;
    case SQLITE_FULL:
        return ekDiskFull;
    case SQLITE_READONLY:
        return ekReadOnly;
    case SQLITE_CANTOPEN:
        return ekMissing;
    default:
        return ekTableFailed;
    }
}
} // namespace

TSqliteDatabase::~TSqliteDatabase() {
    Close();
}

QString QuotedName(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void TSqliteDatabase::Open(const QString& path, bool create) {
    Close();
    m_path = path;
    const QByteArray name = QFile::encodeName(path);
    if (!create && !QFileInfo::exists(path)) {
        throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": the file does not exist").arg(path),
                             ekMissing, path, QStringLiteral("the file does not exist"));
    }
    // A connection is used by one thread only, so it needs no locking of its own around each call.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    m_readOnly = false;
    if (rc == SQLITE_READONLY || rc == SQLITE_CANTOPEN || rc == SQLITE_PERM) {
        sqlite3_close(m_db);
        m_db = nullptr;
        rc = sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        m_readOnly = true;
    }
    if (rc != SQLITE_OK) {
        const QString reason =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": %2").arg(path, reason), KindOf(rc),
                             path, reason);
    }
    // SQLite quietly opens a file it may not write read-only.
    m_readOnly = m_readOnly || sqlite3_db_readonly(m_db, "main") == 1;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    // A posted record is on disk when the call returns; the rollback journal keeps the file whole.
    Execute(QStringLiteral("PRAGMA synchronous=FULL"));
    // Reading the schema checks that the file is a database at all.
    Execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

void TSqliteDatabase::Close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

qint64 TSqliteDatabase::LastInsertRowId() const {
    return sqlite3_last_insert_rowid(m_db);
}

void TSqliteDatabase::Fail(const QString& what) const {
    const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("not open");
    throw EDatabaseError(QStringLiteral("%1 \"%2\": %3").arg(what, m_path, reason),
                         m_db ? KindOf(sqlite3_extended_errcode(m_db)) : ekTableFailed, m_path, reason);
}

void TSqliteDatabase::Execute(const QString& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString reason = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw EDatabaseError(QStringLiteral("Table \"%1\": %2").arg(m_path, reason), KindOf(rc), m_path,
                             reason);
    }
}

TSqliteStatement::TSqliteStatement(TSqliteDatabase& db, const QString& sql) : m_db(db) {
    if (sqlite3_prepare_v2(db.Handle(), sql.toUtf8().constData(), -1, &m_stmt, nullptr) != SQLITE_OK) {
        db.Fail(QStringLiteral("Cannot read table"));
    }
}

TSqliteStatement::~TSqliteStatement() {
    sqlite3_finalize(m_stmt);
}

void TSqliteStatement::Bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
        rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
    } else if (value.typeId() == QMetaType::QDate) {
        const QByteArray text = value.toDate().toString(Qt::ISODate).toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else {
        const QByteArray text = value.toString().toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) {
        m_db.Fail(QStringLiteral("Cannot bind a value for table"));
    }
}

void TSqliteStatement::BindUtf8(int index, QByteArrayView utf8) {
    if (sqlite3_bind_text(m_stmt, index, utf8.data() ? utf8.data() : "", int(utf8.size()), SQLITE_STATIC) !=
        SQLITE_OK) {
        m_db.Fail(QStringLiteral("Cannot bind a value for table"));
    }
}

void TSqliteStatement::BindAll(const std::vector<QVariant>& values, int first) {
    for (const QVariant& value : values) {
        Bind(first++, value);
    }
}

bool TSqliteStatement::Step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    m_db.Fail(QStringLiteral("Cannot access table"));
}

void TSqliteStatement::Reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int TSqliteStatement::ColumnCount() const {
    return sqlite3_column_count(m_stmt);
}

TSqliteStatement::TColumnType TSqliteStatement::Type(int column) const {
    static_assert(ctInteger == SQLITE_INTEGER && ctFloat == SQLITE_FLOAT && ctText == SQLITE_TEXT &&
                  ctBlob == SQLITE_BLOB && ctNull == SQLITE_NULL);
    return TColumnType(sqlite3_column_type(m_stmt, column));
}

qint64 TSqliteStatement::Int64(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

double TSqliteStatement::Real(int column) const {
    return sqlite3_column_double(m_stmt, column);
}

QString TSqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
}

bool TSqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QByteArrayView TSqliteStatement::Utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

QVariant TSqliteStatement::Value(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(Int64(column));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    default:
        return QVariant(Text(column));
    }
}

TTransaction::TTransaction(TSqliteDatabase& db) : m_db(db) {
    if (db.IsReadOnly()) {
        throw EDatabaseError(
            QStringLiteral("Table \"%1\" is read-only: the change cannot be stored").arg(db.Path()),
            ekReadOnly, db.Path(), QString());
    }
    db.Execute(QStringLiteral("BEGIN IMMEDIATE"));
}

TTransaction::~TTransaction() {
    if (!m_done) {
        sqlite3_exec(m_db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void TTransaction::Commit() {
    m_db.Execute(QStringLiteral("COMMIT"));
    m_done = true;
}

TAttachedDatabase::TAttachedDatabase(TSqliteDatabase& db, const QString& path, const QString& schema)
    : m_db(db), m_schema(schema) {
    if (!QFileInfo::exists(path)) {
        throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": the file does not exist").arg(path));
    }
    TSqliteStatement attach(db, QStringLiteral("ATTACH DATABASE ? AS %1").arg(QuotedName(schema)));
    attach.Bind(1, path);
    attach.Execute();
}

TAttachedDatabase::~TAttachedDatabase() {
    const QByteArray sql = QStringLiteral("DETACH DATABASE %1").arg(QuotedName(m_schema)).toUtf8();
    sqlite3_exec(m_db.Handle(), sql.constData(), nullptr, nullptr, nullptr);
}
