#include "StoredCell.h"

#include <QDate>
#include <QString>

#include <optional>

namespace {
// The ISO date as the table stores it ("yyyy-MM-dd"); nullopt for any other form.
std::optional<QVariant> StoredDate(QByteArrayView text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    const int from[3] = {0, 5, 8};
    const int length[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = from[p]; i < from[p] + length[p]; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return std::nullopt;
            }
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    return parts[0] > 0 && date.isValid() ? QVariant(date) : QVariant();
}
} // namespace

TStoredCell TStoredCell::Read(const TSqliteStatement& query, int column) {
    TStoredCell cell;
    cell.Type = query.Type(column);
    switch (cell.Type) {
    case TSqliteStatement::ctInteger:
        cell.Integer = query.Int64(column);
        break;
    case TSqliteStatement::ctFloat:
        cell.Real = query.Real(column);
        break;
    case TSqliteStatement::ctText:
    case TSqliteStatement::ctBlob:
        cell.Text = query.Utf8(column);
        break;
    case TSqliteStatement::ctNull:
        break;
    }
    return cell;
}

QVariant TStoredCell::Value(TFieldType type) const {
    // The kinds the table writes, read straight.
    switch (type) {
    case ftString:
    case ftMemo:
        if (Type == TSqliteStatement::ctText) {
            return QVariant(QString::fromUtf8(Text));
        }
        break;
    case ftInteger:
    case ftBCD:
        if (Type == TSqliteStatement::ctInteger) {
            return QVariant(Integer);
        }
        break;
    case ftDate:
        if (Type == TSqliteStatement::ctText) {
            if (auto date = StoredDate(Text)) {
                return *date;
            }
        }
        break;
    }
    // Anything else, as written by other programs, through a general value.
    return Converted(Generic(), type);
}

QVariant TStoredCell::Generic() const {
    switch (Type) {
    case TSqliteStatement::ctNull:
        return {};
    case TSqliteStatement::ctInteger:
        return QVariant(Integer);
    case TSqliteStatement::ctFloat:
        return QVariant(Real);
    case TSqliteStatement::ctText:
    case TSqliteStatement::ctBlob:
        break;
    }
    return QVariant(QString::fromUtf8(Text));
}

QVariant TStoredCell::Converted(const QVariant& stored, TFieldType type) {
    if (stored.isNull()) {
        return {};
    }
    switch (type) {
    case ftInteger:
        return QVariant(stored.toLongLong());
    case ftDate: {
        const QDate date = QDate::fromString(stored.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case ftBCD:
        if (stored.typeId() == QMetaType::Double) {
            return QVariant(qint64(qRound64(stored.toDouble() * 100.0)));
        }
        return QVariant(stored.toLongLong());
    case ftString:
    case ftMemo:
        break;
    }
    return QVariant(stored.toString());
}
