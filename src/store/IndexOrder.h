#pragma once

#include "Sqlite.h"

#include <QSet>
#include <QString>

// The order of a table's records under one of its indexes, read from the file's schema: an ORDER BY
// clause ending with the row key, so that equal keys keep the order they were stored in.
struct TIndexOrder {
    QString Sql = QStringLiteral("rowid");
    QSet<QString> Fields; // the columns the order depends on

    // The order of index `name` of table `sqlTable`; an empty name is the stored order. Raises
    // EDatabaseError when the file has no such index on that table (`tableName` names it).
    static TIndexOrder Read(TSqliteDatabase& db, const QString& sqlTable, const QString& name,
                            const QString& tableName);
};
