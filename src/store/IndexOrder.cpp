#include "IndexOrder.h"

#include "Error.h"

#include <QStringList>

TIndexOrder TIndexOrder::Read(TSqliteDatabase& db, const QString& sqlTable, const QString& name,
                              const QString& tableName) {
    TIndexOrder order;
    if (name.isEmpty()) {
        return order;
    }
    TSqliteStatement owner(db, QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND "
                                              "name = ? COLLATE NOCASE"));
    owner.Bind(1, name);
    if (!owner.Step() || owner.Text(0).compare(sqlTable, Qt::CaseInsensitive) != 0) {
        throw EDatabaseError(QStringLiteral("%1: Index '%2' not found").arg(tableName, name));
    }
    QStringList parts;
    TSqliteStatement info(db, QStringLiteral("PRAGMA index_xinfo(%1)").arg(QuotedName(name)));
    while (info.Step()) {
        if (info.Int64(5) == 0 || info.IsNull(2)) {
            continue; // the row key at the end, or an expression
        }
        const QString column = info.Text(2);
        order.Fields.insert(column);
        parts << QStringLiteral("%1 COLLATE %2%3")
                     .arg(QuotedName(column), info.Text(4),
                          info.Int64(3) ? QStringLiteral(" DESC") : QString());
    }
    parts << QStringLiteral("rowid");
    order.Sql = parts.join(QStringLiteral(", "));
    return order;
}
