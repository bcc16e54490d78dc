#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A table or column name as SQL writes it: between double quotes, a quote inside doubled.
QString QuotedName(const QString& name);

// A connection to one table file. Raises EDatabaseError naming the file on every failure.
class TSqliteDatabase {
public:
    TSqliteDatabase() = default;
    ~TSqliteDatabase();
    TSqliteDatabase(const TSqliteDatabase&) = delete;
    TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

    // Opens an existing file; falls back to read-only when the file may not be written.
    void Open(const QString& path, bool create = false);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    bool IsReadOnly() const { return m_readOnly; }
    const QString& Path() const { return m_path; }
    sqlite3* Handle() const { return m_db; }

    void Execute(const QString& sql);
    qint64 LastInsertRowId() const;
    [[noreturn]] void Fail(const QString& what) const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    bool m_readOnly = false;
};

// A prepared statement with bound parameters.
class TSqliteStatement {
public:
    TSqliteStatement(TSqliteDatabase& db, const QString& sql);
    ~TSqliteStatement();
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;

    void Bind(int index, const QVariant& value); // 1-based
    void BindAll(const std::vector<QVariant>& values, int first = 1);
    // Binds UTF-8 text without copying it: it must stay as it is until the statement has stepped.
    void BindUtf8(int index, QByteArrayView utf8);
    bool Step(); // true while a row is there
    void Execute() { Step(); }
    void Reset();

    int ColumnCount() const;
    enum TColumnType { ctInteger = 1, ctFloat, ctText, ctBlob, ctNull };
    // The stored kind of a column at the current row; ask before reading it in another kind.
    TColumnType Type(int column) const;
    qint64 Int64(int column) const;
    double Real(int column) const;
    QString Text(int column) const;
    bool IsNull(int column) const;
    QVariant Value(int column) const; // integer, text or null
    // A column's text as stored, UTF-8; valid until the next Step.
    QByteArrayView Utf8(int column) const;

private:
    TSqliteDatabase& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Resets a statement when it goes out of scope, even on failure, so that no read lock outlives a read.
class TStatementReset {
public:
    explicit TStatementReset(TSqliteStatement& statement) : m_statement(statement) {}
    ~TStatementReset() { m_statement.Reset(); }
    TStatementReset(const TStatementReset&) = delete;
    TStatementReset& operator=(const TStatementReset&) = delete;

private:
    TSqliteStatement& m_statement;
};

// Another table file attached to a connection under a schema name while this lives, so that one
// transaction writes both files: committed in both or in neither. Attach outside a transaction.
class TAttachedDatabase {
public:
    TAttachedDatabase(TSqliteDatabase& db, const QString& path, const QString& schema);
    ~TAttachedDatabase();
    TAttachedDatabase(const TAttachedDatabase&) = delete;
    TAttachedDatabase& operator=(const TAttachedDatabase&) = delete;

private:
    TSqliteDatabase& m_db;
    QString m_schema;
};

// Every write runs inside one of these: committed by Commit(), rolled back if left without it.
class TTransaction {
public:
    explicit TTransaction(TSqliteDatabase& db);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    TSqliteDatabase& m_db;
    bool m_done = false;
};
