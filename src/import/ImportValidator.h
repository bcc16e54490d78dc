#pragma once

#include "ImportMapping.h"
#include "ImportRecord.h"
#include "ImportRow.h"
#include "StoredItemKeys.h"
#include "store/Field.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <vector>

// Reads every record of a file into item values by the user's mapping and checks them before anything
// is written: an amount or date that does not read, a text longer than its field, a category that is
// not one of the catalogue's values, more values than the file has columns. Nothing is cut or changed:
// a value that does not fit refuses its row. A row equal to a stored item in category, description and
// identification is marked as a duplicate.
class TImportValidator {
public:
    // `fields` the item table's fields in table order; `categories` every category value of every language.
    TImportValidator(std::vector<TFieldDef> fields, QSet<QString> categories, TStoredItemKeys stored);

    // The rows of the records, blank lines left out, the headings line too when the mapping says so.
    std::vector<TImportRow> Check(const std::vector<TImportRecord>& records,
                                  const TImportMapping& mapping) const;

    // The captions problems name the fields by, per field name (the active language's); a field
    // without one is named by its stored name.
    void SetCaptions(QHash<QString, QString> captions) { m_captions = std::move(captions); }

    const std::vector<TFieldDef>& Fields() const { return m_fields; }
    int FieldIndex(const QString& name) const;

private:
    TImportRow CheckRecord(const TImportRecord& record, const TImportMapping& mapping,
                           const std::vector<int>& columnFields) const;
    void ReadValue(TImportRow& row, int field, const QString& text, const TImportMapping& mapping) const;
    QString Caption(const TFieldDef& field) const { return m_captions.value(field.Name, field.Name); }

    std::vector<TFieldDef> m_fields;
    QSet<QString> m_categories;
    QHash<QString, QString> m_captions;
    TStoredItemKeys m_stored;
    int m_category = -1;
    int m_description = -1;
    int m_identification = -1;
    QDate m_today = QDate::currentDate(); // two-digit years are read up to this year
};
