#include "CurrentRecord.h"

void TCurrentRecord::Clear(size_t fields) {
    m_values = std::make_shared<TRecord>(fields);
    Unmodify();
}

void TCurrentRecord::Show(TSharedRecord record) {
    m_values = std::move(record);
    Unmodify();
}

void TCurrentRecord::Unmodify() {
    m_modified = false;
    m_changed.clear();
}

const QVariant& TCurrentRecord::Value(int field) const {
    static const QVariant none;
    if (field < 0 || size_t(field) >= m_values->size()) {
        return none;
    }
    return (*m_values)[size_t(field)];
}

bool TCurrentRecord::Set(int field, const QVariant& value) {
    const QVariant& current = (*m_values)[size_t(field)];
    if (current == value && current.isNull() == value.isNull()) {
        return false;
    }
    if (m_values.use_count() > 1) {
        m_values = std::make_shared<TRecord>(*m_values); // the cached copy stays as the file has it
    }
    (*m_values)[size_t(field)] = value;
    m_modified = true;
    m_changed.insert(field);
    return true;
}
