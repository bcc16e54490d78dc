#pragma once

#include "Field.h"
#include "Sqlite.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <deque>
#include <memory>
#include <vector>

class TReadAhead;
struct TReadBlock;

// The records of a table's set read last, fetched from the file in blocks of neighbouring rows, and
// read ahead on a worker thread while a walk goes forward through the set. Records are shared with
// the table's current record until an edit changes it.
class TRecordCache {
public:
    using TRecord = std::vector<QVariant>;
    using TSharedRecord = std::shared_ptr<TRecord>;

    explicit TRecordCache(TSqliteDatabase& db);
    ~TRecordCache();
    TRecordCache(const TRecordCache&) = delete;
    TRecordCache& operator=(const TRecordCache&) = delete;

    // For an opened table: its file, its quoted name and its fields. Drops everything held.
    void Setup(const QString& path, const QString& quotedTable, const std::vector<TFieldDef>& fields);
    void Clear();

    // The record of a row of the set with these keys, in order; one the file no longer holds reads empty.
    const TSharedRecord& Fetch(const std::vector<qint64>& keys, int row);
    // Before a write: a walk's reading ahead ends, so that no read lock stands in the write's way and
    // nothing read before it is handed out after it.
    void BeforeWrite();
    // A record that was written is read anew.
    void Forget(qint64 key);
    // The set was read again and its rows renumbered: a walk starts afresh.
    void Renumbered();

private:
    // The keys of the rows from `from` on that the cache lacks, up to one block; `end` is the row after.
    std::vector<qint64> UncachedKeys(const std::vector<qint64>& keys, int from, int& end) const;
    static bool IsRange(const std::vector<qint64>& keys);
    void ReadBlock(std::vector<qint64> wanted, bool range);
    void Keep(const TReadBlock& block);
    // Queues the blocks from `from` on to be read ahead, until enough are on their way.
    void ReadAheadFrom(const std::vector<qint64>& keys, int from);
    QString BlockSql(bool range) const;
    // The prepared query of a block: by a range of keys, or by a list of them.
    TSqliteStatement& BlockQuery(bool range);

    TSqliteDatabase& m_db;
    QString m_path;
    QString m_quotedTable;
    std::vector<TFieldDef> m_fields;

    QHash<qint64, TSharedRecord> m_records;
    std::deque<std::vector<qint64>> m_blocks; // keys per fetched block, oldest first
    std::unique_ptr<TSqliteStatement> m_keysQuery;
    std::unique_ptr<TSqliteStatement> m_rangeQuery;
    std::unique_ptr<TReadAhead> m_readAhead;
    int m_walkEnd = -1;  // the row after the block read last
    int m_aheadEnd = -1; // the row after the blocks read ahead
};
