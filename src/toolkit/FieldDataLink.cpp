#include "FieldDataLink.h"

#include "store/Table.h"

void TFieldDataLink::SetFieldName(const QString& name) {
    if (name == m_fieldName) {
        return;
    }
    m_fieldName = name;
    UpdateField();
}

void TFieldDataLink::UpdateField() {
    TTable* table = DataSet();
    m_field = table && table->Active() && !m_fieldName.isEmpty() ? table->FindField(m_fieldName) : nullptr;
    m_modified = false;
    DataChange();
}

void TFieldDataLink::DataChange() {
    if (OnDataChange) {
        OnDataChange();
    }
}

bool TFieldDataLink::BeginChange() {
    if (!m_field) {
        return false;
    }
    if (Editing()) {
        return true;
    }
    // The table reloads the record as it starts editing; the control keeps what the user typed.
    m_beginning = true;
    try {
        Edit();
    } catch (...) {
        m_beginning = false;
        throw;
    }
    m_beginning = false;
    return Editing() && m_field;
}

void TFieldDataLink::Reset() {
    m_modified = false;
    DataChange();
}

void TFieldDataLink::UpdateRecord() {
    if (m_modified && m_field && OnUpdateData) {
        OnUpdateData();
    }
    m_modified = false;
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange) {
        OnActiveChange();
    }
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (m_beginning) {
        return;
    }
    if (field == nullptr || field == m_field) {
        m_modified = false;
        DataChange();
    }
}

void TFieldDataLink::EditingChanged() {
    if (OnEditingChange) {
        OnEditingChange();
    }
}

void TFieldDataLink::UpdateData() {
    UpdateRecord();
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}
