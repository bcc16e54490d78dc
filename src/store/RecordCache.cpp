#include "RecordCache.h"

#include "ReadAhead.h"

#include <QStringList>

#include <algorithm>

namespace {
constexpr int FetchBlock = 64;
constexpr int CacheBlocks = 16; // the oldest block leaves the cache when a new one comes
constexpr int RangeLimit = 4 * FetchBlock;
constexpr int ReadAheadBlocks = 16;
} // namespace

TRecordCache::TRecordCache(TSqliteDatabase& db) : m_db(db) {}

TRecordCache::~TRecordCache() = default;

void TRecordCache::Setup(const QString& path, const QString& quotedTable,
                         const std::vector<TFieldDef>& fields) {
    Clear();
    m_path = path;
    m_quotedTable = quotedTable;
    m_fields = fields;
}

void TRecordCache::Clear() {
    m_readAhead.reset();
    m_walkEnd = -1;
    m_aheadEnd = -1;
    m_records.clear();
    m_blocks.clear();
    m_keysQuery.reset();
    m_rangeQuery.reset();
}

const TRecordCache::TSharedRecord& TRecordCache::Fetch(const std::vector<qint64>& keys, int row) {
    const qint64 key = keys.at(size_t(row));
    auto found = m_records.constFind(key);
    if (found != m_records.constEnd()) {
        return *found;
    }
    while (m_blocks.size() >= size_t(CacheBlocks)) {
        for (qint64 old : m_blocks.front()) {
            m_records.remove(old);
        }
        m_blocks.pop_front();
    }
    // Read the rows that follow as well: walks and grids ask for their neighbours next.
    int end = row;
    std::vector<qint64> wanted = UncachedKeys(keys, row, end);
    bool readAhead = false;
    if (!wanted.empty()) {
        const bool range = IsRange(wanted);
        TReadBlock block;
        readAhead = range && m_readAhead && m_readAhead->Take(wanted, block);
        if (readAhead) {
            Keep(block);
        } else {
            ReadBlock(wanted, range);
        }
        m_blocks.push_back(std::move(wanted));
    }
    // A walk that has come to the rows after the block read last goes on: the blocks after it are read
    // meanwhile, a few ahead.
    if (readAhead) {
        ReadAheadFrom(keys, m_aheadEnd);
    } else if (row == m_walkEnd) {
        ReadAheadFrom(keys, end);
    }
    m_walkEnd = end;
    found = m_records.constFind(key);
    if (found == m_records.constEnd()) {
        // Deleted behind our back: show it empty rather than fail.
        return *m_records.insert(key, std::make_shared<TRecord>(m_fields.size()));
    }
    return *found;
}

void TRecordCache::BeforeWrite() {
    if (m_readAhead) {
        m_readAhead->Discard();
    }
    m_walkEnd = -1;
}

void TRecordCache::Forget(qint64 key) {
    m_records.remove(key);
}

void TRecordCache::Renumbered() {
    m_walkEnd = -1;
}

std::vector<qint64> TRecordCache::UncachedKeys(const std::vector<qint64>& keys, int from, int& end) const {
    std::vector<qint64> uncached;
    for (end = from; end < int(keys.size()) && int(uncached.size()) < FetchBlock; ++end) {
        if (keys[size_t(end)] != 0 && !m_records.contains(keys[size_t(end)])) {
            uncached.push_back(keys[size_t(end)]);
        }
    }
    return uncached;
}

bool TRecordCache::IsRange(const std::vector<qint64>& keys) {
    // Keys that ascend closely, as in the primary order, are read as one range of the file.
    return std::is_sorted(keys.begin(), keys.end()) && keys.back() - keys.front() < qint64(RangeLimit);
}

void TRecordCache::ReadBlock(std::vector<qint64> wanted, bool range) {
    TSqliteStatement& query = BlockQuery(range);
    const TStatementReset reset(query);
    if (range) {
        query.Bind(1, QVariant(wanted.front()));
        query.Bind(2, QVariant(wanted.back()));
    } else {
        // A short block repeats its last key in the unused places.
        for (int i = 0; i < FetchBlock; ++i) {
            query.Bind(i + 1, QVariant(wanted[std::min(size_t(i), wanted.size() - 1)]));
        }
        std::sort(wanted.begin(), wanted.end());
    }
    TReadBlock block;
    block.Fill(query, wanted, int(m_fields.size()));
    Keep(block);
}

void TRecordCache::Keep(const TReadBlock& block) {
    const size_t count = m_fields.size();
    for (size_t row = 0; row < block.Keys.size(); ++row) {
        auto record = std::make_shared<TRecord>(count);
        for (size_t f = 0; f < count; ++f) {
            (*record)[f] = block.Cells[row * count + f].Value(m_fields[f].DataType);
        }
        m_records.emplace(block.Keys[row], std::move(record));
    }
}

void TRecordCache::ReadAheadFrom(const std::vector<qint64>& keys, int from) {
    if (!m_readAhead) {
        m_readAhead = std::make_unique<TReadAhead>(m_path, BlockSql(true), int(m_fields.size()));
    }
    // Topped up only once half is used, so that the worker, faster than most walks, is woken seldom.
    int pending = m_readAhead->Pending();
    if (pending > ReadAheadBlocks / 2) {
        return;
    }
    for (; pending < ReadAheadBlocks; ++pending) {
        int end = from;
        std::vector<qint64> block = UncachedKeys(keys, from, end);
        if (block.empty() || !IsRange(block)) {
            break;
        }
        m_readAhead->Add(std::move(block));
        from = end;
    }
    m_aheadEnd = from;
}

QString TRecordCache::BlockSql(bool range) const {
    QString columns;
    for (const auto& field : m_fields) {
        columns += QLatin1String(", ") + QuotedName(field.Name);
    }
    QString condition = QStringLiteral("rowid BETWEEN ? AND ?");
    if (!range) {
        QStringList marks;
        for (int i = 0; i < FetchBlock; ++i) {
            marks << QStringLiteral("?");
        }
        condition = QStringLiteral("rowid IN (%1)").arg(marks.join(QLatin1Char(',')));
    }
    return QStringLiteral("SELECT rowid%1 FROM %2 WHERE %3 ORDER BY rowid")
        .arg(columns, m_quotedTable, condition);
}

TSqliteStatement& TRecordCache::BlockQuery(bool range) {
    std::unique_ptr<TSqliteStatement>& query = range ? m_rangeQuery : m_keysQuery;
    if (!query) {
        query = std::make_unique<TSqliteStatement>(m_db, BlockSql(range));
    }
    return *query;
}
