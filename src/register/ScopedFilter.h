#pragma once

#include "store/FieldFilter.h"

#include <QString>

class TTable;

// Narrows a table to `filter` (an empty one: every record) for as long as it lives and then puts back the
// filter that was in force before, whichever way the scope is left. Restore() puts it back early and lets an
// error in doing so reach the caller; the destructor swallows such an error, since it may run while another
// one is on its way out.
class TScopedFilter {
public:
    TScopedFilter(TTable& table, const TFieldFilter& filter);
    ~TScopedFilter();
    TScopedFilter(const TScopedFilter&) = delete;
    TScopedFilter& operator=(const TScopedFilter&) = delete;

    void Restore();

private:
    TTable& m_table;
    QString m_filter;
    bool m_filtered;
    bool m_restored = false;
};
