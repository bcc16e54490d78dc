#include "DataNotifier.h"

#include <algorithm>

void TDataNotifier::DetachAll() {
    for (TDataSource* source : std::vector<TDataSource*>(m_sources)) {
        source->DetachTable();
    }
    m_sources.clear();
}

void TDataNotifier::Add(TDataSource* source) {
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end()) {
        m_sources.push_back(source);
    }
}

void TDataNotifier::Remove(TDataSource* source) {
    std::erase(m_sources, source);
}

void TDataNotifier::Enable() {
    if (m_disableCount == 0) {
        return;
    }
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        Send(deDataSetChange);
    }
}

void TDataNotifier::Send(TDataEvent event, TField* field) {
    // What the user typed must reach the fields even while the controls are detached.
    if (m_disableCount > 0 && event != deUpdateRecord) {
        m_changedWhileDisabled = true;
        return;
    }
    for (TDataSource* source : std::vector<TDataSource*>(m_sources)) {
        source->Notify(event, field);
    }
}
