#include "ColumnScan.h"

#include <algorithm>

int TColumnScan::Run(const QString& column, int fromRow, bool readFile, const TInFile& inFile,
                     const TInSet& inSet) const {
    const int count = int(m_keys.size());
    if (fromRow >= count) {
        return -1;
    }
    int row = std::max(fromRow, 0);
    if (readFile) {
        bool hit = false;
        row = ScanFile(column, row, inFile, hit);
        if (hit) {
            return row;
        }
    }
    for (; row < count; ++row) {
        if (inSet(row)) {
            return row;
        }
    }
    return -1;
}

int TColumnScan::ScanFile(const QString& column, int row, const TInFile& visit, bool& hit) const {
    hit = false;
    TSqliteStatement query(m_db, m_set.Sql(QStringLiteral("rowid, ") + QuotedName(column),
                                           QStringLiteral(" LIMIT -1 OFFSET ?")));
    query.Bind(m_set.Bind(query), QVariant(qint64(row)));
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
