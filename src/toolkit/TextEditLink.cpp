#include "TextEditLink.h"

#include "toolkit/ErrorDisplay.h"

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

TTextEditLink::TKeyAnswer TTextEditLink::KeyPressed(const QKeyEvent& event, bool readOnly) {
    if (event.key() == Qt::Key_Escape && IsModified()) {
        Reset();
        return kaReset;
    }
    if (IsEditKey(event, m_multiLine) && !readOnly && !BeginUserChange()) {
        return kaRefused;
    }
    return kaPass;
}

bool TTextEditLink::TextChanged() {
    if (m_showing) {
        return true;
    }
    if (!Editing() || !Field()) {
        if (!BeginUserChange()) {
            return false;
        }
    }
    Modified();
    return true;
}

bool TTextEditLink::BeginUserChange() {
    bool accepted = false;
    ErrorDisplay::Guarded([&] { accepted = BeginChange(); });
    return accepted;
}

void TTextEditLink::Showing(const std::function<void()>& show) {
    m_showing = true;
    try {
        show();
    } catch (...) {
        m_showing = false;
        throw;
    }
    m_showing = false;
}

bool TTextEditLink::LeaveControl(int reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || m_leaving) {
        return true;
    }
    m_leaving = true;
    const bool written = ErrorDisplay::Guarded([this] { UpdateRecord(); });
    m_leaving = false;
    return written;
}
