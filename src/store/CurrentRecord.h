#pragma once

#include "RecordCache.h"

#include <QSet>
#include <QVariant>

// The values of a table's current record as its controls see them: shared with the record cache
// while unchanged, a copy of its own from the first change on, with the fields changed since the
// record became current or its edit began.
class TCurrentRecord {
public:
    using TRecord = TRecordCache::TRecord;
    using TSharedRecord = TRecordCache::TSharedRecord;

    // A record of `fields` empty values: a new record, or none at all.
    void Clear(size_t fields);
    // A record as the file holds it.
    void Show(TSharedRecord record);
    // The values stay; what changed is forgotten (an edit begins).
    void Unmodify();

    // Null outside the record's fields.
    const QVariant& Value(int field) const;
    // False when the field holds that value already.
    bool Set(int field, const QVariant& value);
    bool Modified() const { return m_modified; }
    const QSet<int>& Changed() const { return m_changed; }

private:
    TSharedRecord m_values = std::make_shared<TRecord>();
    bool m_modified = false;
    QSet<int> m_changed;
};
