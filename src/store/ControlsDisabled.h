#pragma once

class TTable;

// Keeps a table's bound controls still until resumed or destroyed, however the work ends, so that a
// walk over the records does not repaint them record by record; resumes only once.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TTable& table) : TControlsDisabled(&table) {}
    // Without a table there is nothing to keep still.
    explicit TControlsDisabled(TTable* table);
    ~TControlsDisabled() { Resume(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

    void Resume();

private:
    TTable* m_table;
};
