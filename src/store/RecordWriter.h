#pragma once

#include "Field.h"
#include "Sqlite.h"

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

// Writes single records of a table to its file, each write in a transaction of its own, with every
// value bound as a parameter.
class TRecordWriter {
public:
    using TValues = std::vector<std::pair<QString, QVariant>>; // column and stored value

    TRecordWriter(TSqliteDatabase& db, const QString& quotedTable) : m_db(db), m_quotedTable(quotedTable) {}

    // Returns the new record's key.
    qint64 Insert(const TValues& values);
    void Update(qint64 key, const TValues& values);
    void Remove(qint64 key);

    // A field's value as the file stores it: dates as ISO text, everything else as it is.
    static QVariant Stored(TFieldType type, const QVariant& value);

private:
    TSqliteDatabase& m_db;
    const QString& m_quotedTable;
};
