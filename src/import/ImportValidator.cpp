#include "ImportValidator.h"

#include "localisation/TextCatalogue.h"
#include "store/ItemFields.h"

TImportValidator::TImportValidator(std::vector<TFieldDef> fields, QSet<QString> categories,
                                   TStoredItemKeys stored)
    : m_fields(std::move(fields)), m_categories(std::move(categories)), m_stored(std::move(stored)) {
    m_category = FieldIndex(ItemField::Kategori);
    m_description = FieldIndex(ItemField::Beskrivelse);
    m_identification = FieldIndex(ItemField::Identifikation);
}

int TImportValidator::FieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].Name == name) {
            return int(i);
        }
    }
    return -1;
}

std::vector<TImportRow> TImportValidator::Check(const std::vector<TImportRecord>& records,
                                                const TImportMapping& mapping) const {
    std::vector<int> columnFields;
    for (const QString& name : mapping.ColumnFields) {
        columnFields.push_back(name.isEmpty() ? -1 : FieldIndex(name));
    }
    std::vector<TImportRow> rows;
    rows.reserve(records.size());
    for (size_t i = mapping.HasHeadings ? 1 : 0; i < records.size(); ++i) {
        if (!records[i].IsBlank()) {
            rows.push_back(CheckRecord(records[i], mapping, columnFields));
        }
    }
    return rows;
}

TImportRow TImportValidator::CheckRecord(const TImportRecord& record, const TImportMapping& mapping,
                                         const std::vector<int>& columnFields) const {
    TImportRow row;
    row.Line = record.Line;
    row.Values.resize(m_fields.size());
    if (record.Unclosed) {
        row.Problems << LocalText("Import.Unclosed", "et anførselstegn lukkes ikke før filens slutning");
    }
    int columns = int(columnFields.size());
    for (qsizetype c = columns; c < record.Cells.size(); ++c) {
        if (!record.Cells[c].trimmed().isEmpty()) {
            row.Problems << LocalText("Import.TooManyValues",
                                      "linjen har %1 værdier, men filen har kun %2 kolonner")
                                .arg(record.Cells.size())
                                .arg(columns);
            break;
        }
    }
    for (int c = 0; c < columns && c < record.Cells.size(); ++c) {
        if (columnFields[size_t(c)] >= 0 &&
            !(columnFields[size_t(c)] == m_category && !mapping.FixedCategory.isEmpty())) {
            ReadValue(row, columnFields[size_t(c)], record.Cells[c], mapping);
        }
    }
    if (m_category >= 0) {
        const QString category = mapping.FixedCategory.isEmpty() ? row.Values[size_t(m_category)].toString()
                                                                 : mapping.FixedCategory;
        if (category.isEmpty()) {
            row.Problems << LocalText("Import.NoCategory", "kategorien mangler");
        } else if (!m_categories.contains(category)) {
            row.Problems
                << LocalText("Import.BadCategory", "\"%1\" er ikke en af de 21 kategorier").arg(category);
        }
        row.Values[size_t(m_category)] = category.isEmpty() ? QVariant() : QVariant(category);
    }
    if (!row.Problems.isEmpty()) {
        row.Status = irRefused;
        return row;
    }
    const auto text = [&](int field) {
        return field >= 0 ? row.Values[size_t(field)].toString() : QString();
    };
    if (m_stored.Contains(
            TStoredItemKeys::Key(text(m_category), text(m_description), text(m_identification)))) {
        row.Status = irDuplicate;
        row.Problems << LocalText(
            "Import.Duplicate",
            "findes allerede i registeret (samme kategori, beskrivelse og identifikation)");
    }
    return row;
}

void TImportValidator::ReadValue(TImportRow& row, int field, const QString& text,
                                 const TImportMapping& mapping) const {
    const TFieldDef& def = m_fields[size_t(field)];
    QVariant& value = row.Values[size_t(field)];
    const QString trimmed = text.trimmed();
    switch (def.DataType) {
    case ftString:
        if (def.Size > 0 && text.size() > def.Size) {
            row.Problems << LocalText("Import.TooLong", "%1 har %2 tegn, men feltet rummer kun %3")
                                .arg(Caption(def))
                                .arg(text.size())
                                .arg(def.Size);
        }
        value = text.isEmpty() ? QVariant() : QVariant(text);
        break;
    case ftMemo:
        value = text.isEmpty() ? QVariant() : QVariant(text);
        break;
    case ftDate:
        if (!trimmed.isEmpty()) {
            const auto date = mapping.Conventions.ReadDate(trimmed, m_today);
            if (date) {
                value = *date;
            } else {
                row.Problems << LocalText("Import.BadDate", "%1 \"%2\" kan ikke læses som en dato")
                                    .arg(Caption(def), text);
            }
        }
        break;
    case ftBCD:
        if (!trimmed.isEmpty()) {
            const auto amount = mapping.Conventions.ReadAmount(trimmed);
            if (amount) {
                value = amount->Cents();
            } else {
                row.Problems << LocalText("Import.BadAmount", "%1 \"%2\" kan ikke læses som et beløb")
                                    .arg(Caption(def), text);
            }
        }
        break;
    case ftInteger: {
        if (!trimmed.isEmpty()) {
            bool ok = false;
            const qint64 number = trimmed.toLongLong(&ok);
            if (ok) {
                value = number;
            } else {
                row.Problems
                    << LocalText("Import.BadNumber", "%1 \"%2\" er ikke et helt tal").arg(Caption(def), text);
            }
        }
        break;
    }
    }
}
