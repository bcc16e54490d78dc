#include "DataSource.h"

#include "Table.h"

#include <algorithm>

TDataSource::TDataSource(QObject* owner) : QObject(owner) {}

TDataSource::~TDataSource() {
    // The handlers belong to an owner that is being destroyed too.
    OnDataChange = nullptr;
    OnStateChange = nullptr;
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(m_links)) {
        link->m_source = nullptr;
    }
}

void TDataSource::SetDataSet(TTable* table) {
    if (table == m_dataSet) {
        return;
    }
    if (m_dataSet) {
        m_dataSet->RemoveDataSource(this);
    }
    m_dataSet = table;
    if (m_dataSet) {
        m_dataSet->AddDataSource(this);
    }
    Notify(deActiveChange, nullptr);
}

void TDataSource::DetachTable() {
    // The table is being destroyed, usually with the window that owns this source and its
    // handlers: only the bound controls hear of it.
    m_dataSet = nullptr;
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* link : links) {
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end()) {
            link->Dispatch(deActiveChange, nullptr);
        }
    }
}

TDataSetState TDataSource::State() const {
    return m_dataSet ? m_dataSet->State() : dsInactive;
}

void TDataSource::AddLink(TDataLink* link) {
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end()) {
        m_links.push_back(link);
    }
}

void TDataSource::RemoveLink(TDataLink* link) {
    std::erase(m_links, link);
}

void TDataSource::Notify(TDataEvent event, TField* field) {
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* link : links) {
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end()) {
            link->Dispatch(event, field);
        }
    }
    switch (event) {
    case deDataSetChange:
    case deDataSetScroll:
    case deRecordChange:
    case deFieldChange:
    case deLayoutChange:
    case deActiveChange:
        if (OnDataChange) {
            OnDataChange(*this, event == deFieldChange ? field : nullptr);
        }
        break;
    case deUpdateState:
        if (OnStateChange) {
            OnStateChange(*this);
        }
        break;
    case deUpdateRecord:
        break;
    }
}

TDataLink::~TDataLink() {
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == m_source) {
        return;
    }
    if (m_source) {
        m_source->RemoveLink(this);
    }
    m_source = source;
    if (m_source) {
        m_source->AddLink(this);
    }
    ActiveChanged();
}

TTable* TDataLink::DataSet() const {
    return m_source ? m_source->DataSet() : nullptr;
}

bool TDataLink::Active() const {
    const TTable* table = DataSet();
    return table && table->Active();
}

bool TDataLink::Edit() {
    TTable* table = DataSet();
    if (!table || !table->Active()) {
        return false;
    }
    if (table->State() == dsBrowse) {
        table->Edit();
    }
    return Editing();
}

bool TDataLink::Editing() const {
    const TTable* table = DataSet();
    return table && (table->State() == dsEdit || table->State() == dsInsert);
}

void TDataLink::Dispatch(TDataEvent event, TField* field) {
    switch (event) {
    case deActiveChange:
        ActiveChanged();
        break;
    case deDataSetChange:
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled();
        break;
    case deRecordChange:
        RecordChanged(nullptr);
        break;
    case deFieldChange:
        RecordChanged(field);
        break;
    case deUpdateState:
        EditingChanged();
        break;
    case deUpdateRecord:
        UpdateData();
        break;
    case deLayoutChange:
        LayoutChanged();
        break;
    }
}
