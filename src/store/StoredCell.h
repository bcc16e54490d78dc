#pragma once

#include "Field.h"
#include "Sqlite.h"

#include <QByteArrayView>
#include <QVariant>

// One column of a result row as the file holds it: the engine's kind and the value. Text is UTF-8 and
// lives as long as its source does: the statement's current row, or the block it was copied into.
struct TStoredCell {
    TSqliteStatement::TColumnType Type = TSqliteStatement::ctNull;
    qint64 Integer = 0;
    double Real = 0;
    QByteArrayView Text;

    static TStoredCell Read(const TSqliteStatement& query, int column);
    // The value in the form a field of the type keeps it: qint64 for whole numbers and hundredths, QDate
    // for dates (empty when unreadable), QString for text.
    QVariant Value(TFieldType type) const;

private:
    QVariant Generic() const;
    static QVariant Converted(const QVariant& stored, TFieldType type);
};
