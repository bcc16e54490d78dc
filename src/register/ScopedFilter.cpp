#include "ScopedFilter.h"

#include "store/Table.h"

TScopedFilter::TScopedFilter(TTable& table, const TFieldFilter& filter)
    : m_table(table), m_filter(table.Filter()), m_filtered(table.Filtered()) {
    m_table.SetFilterOn(filter);
}

TScopedFilter::~TScopedFilter() {
    if (m_restored) {
        return;
    }
    try {
        Restore();
    } catch (...) {
        // The error that left the scope is the one the user is told of.
    }
}

void TScopedFilter::Restore() {
    m_restored = true;
    // Unfiltered first, so that the old text is not applied only to be dropped.
    if (!m_filtered) {
        m_table.SetFiltered(false);
    }
    m_table.SetFilter(m_filter);
    m_table.SetFiltered(m_filtered);
}
