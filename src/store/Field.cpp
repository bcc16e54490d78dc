#include "Field.h"

#include "Error.h"
#include "FormatSettings.h"
#include "NumberFormat.h"
#include "Table.h"

TField::TField(TTable& table, int index, TFieldDef def)
    : m_table(table), m_index(index), m_def(std::move(def)) {}

const QVariant& TField::Stored() const {
    return m_table.CurrentValue(m_index);
}

bool TField::IsNull() const {
    return Stored().isNull();
}

QVariant TField::Value() const {
    return Stored();
}

void TField::SetValue(const QVariant& value) {
    QVariant stored = value;
    if (!value.isNull()) {
        switch (m_def.DataType) {
        case ftString:
        case ftMemo: {
            QString text = value.toString();
            if (m_def.DataType == ftString && m_def.Size > 0 && text.size() > m_def.Size) {
                text.truncate(m_def.Size);
            }
            stored = text.isEmpty() ? QVariant() : QVariant(text);
            break;
        }
        case ftInteger:
            stored = QVariant(value.toLongLong());
            break;
        case ftDate:
            stored = value.toDate().isValid() ? QVariant(value.toDate()) : QVariant();
            break;
        case ftBCD:
            stored = QVariant(value.toLongLong());
            break;
        }
    }
    m_table.SetCurrentValue(m_index, stored);
}

void TField::Clear() {
    SetValue(QVariant());
}

QVariant TField::Convert(const QString& text) const {
    const QString trimmed = text.trimmed();
    const auto invalid = [&] {
        const TValueKind kind = m_def.DataType == ftDate      ? vkDate
                                : m_def.DataType == ftInteger ? vkWholeNumber
                                                              : vkAmount;
        const QString wanted = kind == vkDate          ? QStringLiteral("date")
                               : kind == vkWholeNumber ? QStringLiteral("whole number")
                                                       : QStringLiteral("amount");
        const QString message =
            QStringLiteral("'%1' is not a valid %2 for the field '%3'").arg(text, wanted, m_def.Name);
        EDatabaseError error(message, ekInvalidValue, m_def.Name, QString());
        error.SetValue(text, kind);
        return error;
    };
    switch (m_def.DataType) {
    case ftString:
    case ftMemo:
        return text.isEmpty() ? QVariant() : QVariant(text);
    case ftInteger: {
        if (trimmed.isEmpty()) {
            return {};
        }
        bool ok = false;
        const qint64 value = trimmed.toLongLong(&ok);
        if (!ok) {
            throw invalid();
        }
        return value;
    }
    case ftDate: {
        if (trimmed.isEmpty()) {
            return {};
        }
        const QDate date = QDate::fromString(trimmed, m_table.FormatSettings().ShortDateFormat);
        if (date.isValid()) {
            return date;
        }
        const QDate iso = QDate::fromString(trimmed, Qt::ISODate);
        if (!iso.isValid()) {
            throw invalid();
        }
        return iso;
    }
    case ftBCD: {
        if (trimmed.isEmpty()) {
            return {};
        }
        const auto money = TMoney::Parse(trimmed, m_table.FormatSettings());
        if (!money) {
            throw invalid();
        }
        return money->Cents();
    }
    }
    return {};
}

QString TField::AsString() const {
    const QVariant& value = Stored();
    // Amounts as plain text drop trailing zeros; everything else reads as it is shown.
    if (m_def.DataType == ftBCD && !value.isNull()) {
        return TMoney::FromCents(value.toLongLong()).ToGeneralString(m_table.FormatSettings());
    }
    return DisplayTextOf(value);
}

void TField::SetAsString(const QString& text) {
    SetValue(Convert(text));
}

qint64 TField::AsInteger() const {
    const QVariant& value = Stored();
    if (value.isNull()) {
        return 0;
    }
    if (m_def.DataType == ftInteger) {
        return value.toLongLong();
    }
    bool ok = false;
    const qint64 number = AsString().toLongLong(&ok);
    if (!ok) {
        throw EDatabaseError(QStringLiteral("'%1' is not a valid whole number").arg(AsString()));
    }
    return number;
}

void TField::SetAsInteger(qint64 value) {
    if (m_def.DataType == ftInteger) {
        SetValue(value);
    } else if (m_def.DataType == ftBCD) {
        SetValue(value * 100);
    } else {
        SetAsString(QString::number(value));
    }
}

QDate TField::AsDate() const {
    return m_def.DataType == ftDate ? Stored().toDate() : QDate();
}

void TField::SetAsDate(const QDate& date) {
    if (m_def.DataType != ftDate) {
        SetAsString(date.toString(m_table.FormatSettings().ShortDateFormat));
        return;
    }
    SetValue(date.isValid() ? QVariant(date) : QVariant());
}

TMoney TField::AsMoney() const {
    const QVariant& value = Stored();
    if (value.isNull()) {
        return {};
    }
    if (m_def.DataType == ftBCD) {
        return TMoney::FromCents(value.toLongLong());
    }
    if (m_def.DataType == ftInteger) {
        return TMoney::FromCents(value.toLongLong() * 100);
    }
    return TMoney::FromCents(Convert(AsString()).toLongLong());
}

void TField::SetAsMoney(TMoney value) {
    if (m_def.DataType == ftBCD) {
        SetValue(value.Cents());
    } else {
        SetAsString(value.ToGeneralString(m_table.FormatSettings()));
    }
}

QString TField::DisplayTextOf(const QVariant& value) const {
    if (value.isNull()) {
        return {};
    }
    switch (m_def.DataType) {
    case ftInteger:
        return QString::number(value.toLongLong());
    case ftDate:
        return FormatDate(value.toDate(), m_table.FormatSettings().ShortDateFormat);
    case ftBCD:
        return TMoney::FromCents(value.toLongLong()).ToString(m_table.FormatSettings());
    case ftString:
    case ftMemo:
        break;
    }
    return value.toString();
}

QString TField::DisplayText() const {
    return DisplayTextOf(Stored());
}

QByteArray TField::AsBytes() const {
    return Stored().toString().toUtf8();
}
