#include "ControlsDisabled.h"

#include "Table.h"

TControlsDisabled::TControlsDisabled(TTable* table) : m_table(table) {
    if (m_table) {
        m_table->DisableControls();
    }
}

void TControlsDisabled::Resume() {
    if (m_table) {
        m_table->EnableControls();
        m_table = nullptr;
    }
}
