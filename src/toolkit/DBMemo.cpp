#include "DBMemo.h"

#include "store/Field.h"
#include "toolkit/ErrorDisplay.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
    setTabChangesFocus(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_link.OnDataChange = [this] { Load(); };
    m_link.OnUpdateData = [this] {
        if (TField* field = m_link.Field()) {
            field->SetAsString(toPlainText());
        }
    };
    connect(this, &QPlainTextEdit::textChanged, this,
            [this] { ErrorDisplay::Guarded([&] { UserEdited(); }); });
}

void TDBMemo::Load() {
    const TField* field = m_link.Field();
    const QString shown = field ? field->AsString() : QString();
    if (shown == toPlainText()) {
        return;
    }
    m_loading = true;
    setPlainText(shown);
    m_loading = false;
}

bool TDBMemo::BeginChange() {
    bool accepted = false;
    ErrorDisplay::Guarded([&] { accepted = m_link.BeginChange(); });
    return accepted;
}

void TDBMemo::UserEdited() {
    if (m_loading) {
        return;
    }
    // Paste by mouse or drop arrives here without a key press.
    if (!m_link.Editing() || !m_link.Field()) {
        if (!BeginChange()) {
            // Not inside the document's own change notification.
            QTimer::singleShot(0, this, [this] { m_link.Reset(); });
            return;
        }
    }
    m_link.Modified();
}

void TDBMemo::keyPressEvent(QKeyEvent* event) {
    ErrorDisplay::Guarded([&] {
        if (event->key() == Qt::Key_Escape && m_link.IsModified()) {
            m_link.Reset();
            event->accept();
            return;
        }
        if (IsEditKey(*event, true) && !isReadOnly() && !BeginChange()) {
            event->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    });
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (!m_link.LeaveControl(event->reason())) {
        setFocus();
    }
}
