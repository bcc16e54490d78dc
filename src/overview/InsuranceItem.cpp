#include "InsuranceItem.h"

#include "register/ScopedFilter.h"
#include "store/ControlsDisabled.h"
#include "store/Field.h"
#include "store/FilterParser.h"
#include "store/ItemFields.h"
#include "store/Table.h"

#include <algorithm>

namespace {
// Field positions, looked up once per read.
struct TColumns {
    explicit TColumns(const TTable& table) {
        const auto at = [&table](const QString& name) {
            const TField* field = table.FieldByName(name);
            for (int i = 0; i < table.FieldCount(); ++i) {
                if (table.Fields(i) == field) {
                    return std::pair{i, field};
                }
            }
            return std::pair{-1, field};
        };
        Beskrivelse = at(ItemField::Beskrivelse);
        Fabrikat = at(ItemField::Fabrikat);
        Model = at(ItemField::Model);
        Identifikation = at(ItemField::Identifikation);
        Kobssted = at(ItemField::Kobssted);
        Kobsdato = at(ItemField::Kobsdato);
        Vaerdi = at(ItemField::Vaerdi);
        Notater = at(ItemField::Notater);
        Foto = at(ItemField::Foto);
        Kategori = at(ItemField::Kategori);
    }
    std::pair<int, const TField*> Beskrivelse, Fabrikat, Model, Identifikation, Kobssted, Kobsdato, Vaerdi,
        Notater, Foto, Kategori;
};

TInsuranceItem ReadRow(const TTable& table, const TColumns& columns, int row) {
    const auto text = [&](const std::pair<int, const TField*>& column) {
        return column.second->DisplayTextOf(table.RowValue(row, column.first));
    };
    TInsuranceItem item;
    item.Beskrivelse = text(columns.Beskrivelse);
    item.Fabrikat = text(columns.Fabrikat);
    item.Model = text(columns.Model);
    item.Identifikation = text(columns.Identifikation);
    item.Kobssted = text(columns.Kobssted);
    item.Kobsdato = text(columns.Kobsdato);
    const QVariant value = table.RowValue(row, columns.Vaerdi.first);
    item.HasValue = !value.isNull();
    if (item.HasValue) {
        const qint64 stored = value.toLongLong();
        item.Vaerdi =
            TMoney::FromCents(columns.Vaerdi.second->DataType() == ftInteger ? stored * 100 : stored);
    }
    item.Notater = text(columns.Notater);
    item.Foto = text(columns.Foto);
    item.Kategori = text(columns.Kategori);
    return item;
}

// Narrows a table to a scope and puts its filter, filtering and current record back, with its controls
// kept still meanwhile.
class TTableStateKept {
public:
    TTableStateKept(TTable& table, const TFieldFilter& scope)
        : m_table(table), m_bookmark(table.GetBookmark()), m_controls(table), m_scope(table, scope) {}
    ~TTableStateKept() {
        try {
            m_scope.Restore();
            if (m_table.BookmarkValid(m_bookmark)) {
                m_table.GotoBookmark(m_bookmark);
            }
        } catch (...) {
            // The set could not be made again: the table stays on what it shows now.
        }
    }
    TTableStateKept(const TTableStateKept&) = delete;
    TTableStateKept& operator=(const TTableStateKept&) = delete;

private:
    TTable& m_table;
    TBookmark m_bookmark;
    TControlsDisabled m_controls;
    TScopedFilter m_scope;
};
} // namespace

std::vector<TInsuranceItem> ReadInsuranceItems(const TTable& table, const std::vector<int>& rows) {
    const TColumns columns(table);
    std::vector<TInsuranceItem> items;
    items.reserve(rows.size());
    for (const int row : rows) {
        if (row >= 0 && row < table.RecordCount()) {
            items.push_back(ReadRow(table, columns, row));
        }
    }
    return items;
}

std::vector<TInsuranceItem> ReadInsuranceItems(const TTable& table) {
    std::vector<int> rows(size_t(table.RecordCount()));
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i] = int(i);
    }
    return ReadInsuranceItems(table, rows);
}

namespace {
template <typename TRead> auto InScope(TTable& table, const QString& category, TRead read) {
    // An edit under way is stored first, so that the report shows what the user sees.
    table.CheckBrowseMode();
    const TTableStateKept kept(table, category.isEmpty() ? TFieldFilter()
                                                         : TFieldFilter(ItemField::Kategori, category));
    return read(table);
}
} // namespace

std::vector<TInsuranceItem> ReadInsuranceScope(TTable& table, const QString& category) {
    return InScope(table, category, [](const TTable& scoped) { return ReadInsuranceItems(scoped); });
}

int CountInsuranceScope(TTable& table, const QString& category) {
    return InScope(table, category, [](const TTable& scoped) { return scoped.RecordCount(); });
}

TInsuranceTotals InsuranceTotals(const std::vector<TInsuranceItem>& items) {
    TInsuranceTotals totals;
    for (const TInsuranceItem& item : items) {
        auto found =
            std::find_if(totals.Categories.begin(), totals.Categories.end(),
                         [&item](const auto& category) { return category.Kategori == item.Kategori; });
        if (found == totals.Categories.end()) {
            totals.Categories.push_back({item.Kategori, 0, TMoney()});
            found = totals.Categories.end() - 1;
        }
        ++found->Count;
        found->Sum += item.Vaerdi;
        ++totals.Count;
        totals.Total += item.Vaerdi;
    }
    std::stable_sort(totals.Categories.begin(), totals.Categories.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.Kategori, b.Kategori) < 0;
    });
    return totals;
}
