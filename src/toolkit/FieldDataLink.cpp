#include "FieldDataLink.h"

#include "toolkit/ErrorDisplay.h"

#include "store/Table.h"

#include <QKeyEvent>
#include <QKeySequence>

bool IsEditKey(const QKeyEvent& event, bool multiLine) {
    static const QKeySequence::StandardKey editing[] = {
        QKeySequence::Paste,
        QKeySequence::Cut,
        QKeySequence::Undo,
        QKeySequence::Redo,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
    };
    for (QKeySequence::StandardKey key : editing) {
        if (event.matches(key)) {
            return true;
        }
    }
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        return multiLine && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    default:
        break;
    }
    // Control with Alt is AltGr on some keyboards, and types a character.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::MetaModifier) ||
        ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))) {
        return false;
    }
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

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

bool TFieldDataLink::LeaveControl(int reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || m_leaving) {
        return true;
    }
    m_leaving = true;
    const bool written = ErrorDisplay::Guarded([this] { UpdateRecord(); });
    m_leaving = false;
    return written;
}
