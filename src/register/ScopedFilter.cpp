#include "ScopedFilter.h"

#include "store/Table.h"

TScopedFilter::TScopedFilter(TTable& table, const TFieldFilter& filter)
    : m_table(table), m_filter(table.Filter()), m_filtered(table.Filtered()) {
    if (filter.IsEmpty()) {
        m_table.SetFilterOff();
    } else {
        m_table.SetFilterOn(filter);
    }
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
    m_table.SetFilter(m_filter, m_filtered);
}
