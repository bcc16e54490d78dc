#pragma once

#include "DataSource.h"

#include <vector>

// Tells a table's data sources what happened to it. While the controls are disabled the news is held
// back, and one change of the set goes out when they are enabled again.
class TDataNotifier {
public:
    TDataNotifier() = default;
    TDataNotifier(const TDataNotifier&) = delete;
    TDataNotifier& operator=(const TDataNotifier&) = delete;

    void Add(TDataSource* source);
    void Remove(TDataSource* source);
    // The table is going: its sources outlive it, and only their bound controls hear of it.
    void DetachAll();

    void Disable() { ++m_disableCount; }
    void Enable();
    bool Disabled() const { return m_disableCount > 0; }

    void Send(TDataEvent event, TField* field = nullptr);

private:
    std::vector<TDataSource*> m_sources;
    int m_disableCount = 0;
    bool m_changedWhileDisabled = false;
};
