#pragma once

#include "Money.h"

#include <QDate>
#include <QString>
#include <QVariant>

class TTable;

enum TFieldType { ftString, ftInteger, ftDate, ftBCD, ftMemo };

struct TFieldDef {
    QString Name;
    TFieldType DataType = ftString;
    int Size = 0; // characters, for ftString
};

// One field of a table's current record. Values are held as QVariant: QString for text and memo,
// qint64 for integers, QDate for dates, qint64 hundredths for decimals; a null QVariant is an empty field.
class TField {
public:
    TField(TTable& table, int index, TFieldDef def);

    const QString& FieldName() const { return m_def.Name; }
    const QString& DisplayLabel() const { return m_def.Name; }
    TFieldType DataType() const { return m_def.DataType; }
    int Size() const { return m_def.Size; }
    int Index() const { return m_index; }
    bool IsBlob() const { return m_def.DataType == ftMemo; }
    TTable& DataSet() const { return m_table; }

    bool IsNull() const;
    QVariant Value() const;
    void SetValue(const QVariant& value); // checked and cut to size like every setter
    void Clear();

    // Plain text: integer digits, general decimal "1234,5", short date, stored text.
    QString AsString() const;
    // Converts by the field's type; a text that does not convert raises EDatabaseError.
    void SetAsString(const QString& text);
    qint64 AsInteger() const; // 0 when empty
    void SetAsInteger(qint64 value);
    QDate AsDate() const;
    void SetAsDate(const QDate& date);
    TMoney AsMoney() const;
    void SetAsMoney(TMoney value);
    // How the field is shown in grids and reports: decimals with two places.
    QString DisplayText() const;
    // The text an edit control shows and writes back.
    QString Text() const { return DisplayText(); }
    void SetText(const QString& text) { SetAsString(text); }
    // Memo content as UTF-8 bytes.
    QByteArray AsBytes() const;

    // Converts a stored or typed value to the field's type; raises EDatabaseError when it does not fit.
    QVariant Convert(const QString& text) const;
    // The display text of a raw value of this field (for rows other than the current one).
    QString DisplayTextOf(const QVariant& value) const;

private:
    // The current record's value, read in place.
    const QVariant& Stored() const;

    TTable& m_table;
    int m_index;
    TFieldDef m_def;
};
