#include "DBEdit.h"

#include "store/Field.h"
#include "toolkit/ErrorDisplay.h"

#include <QFocusEvent>
#include <QKeyEvent>

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
    m_link.OnDataChange = [this] { Load(); };
    m_link.OnUpdateData = [this] {
        WriteField(text());
        Load(); // the field may have cut or reformatted it
    };
    connect(this, &QLineEdit::textEdited, this, [this] { ErrorDisplay::Guarded([&] { UserEdited(); }); });
}

QString TDBEdit::FieldText() const {
    const TField* field = m_link.Field();
    return field ? field->Text() : QString();
}

void TDBEdit::WriteField(const QString& text) {
    if (TField* field = m_link.Field()) {
        field->SetText(text);
    }
}

void TDBEdit::Load() {
    m_loading = true;
    const QString shown = FieldText();
    if (shown != text()) {
        setText(shown);
    }
    m_loading = false;
}

bool TDBEdit::BeginChange() {
    bool accepted = false;
    ErrorDisplay::Guarded([&] { accepted = m_link.BeginChange(); });
    return accepted;
}

void TDBEdit::UserEdited() {
    if (m_loading) {
        return;
    }
    // Paste by mouse or drop arrives here without a key press.
    if (!m_link.Editing() || !m_link.Field()) {
        if (!BeginChange()) {
            m_link.Reset();
            return;
        }
    }
    m_link.Modified();
}

bool TDBEdit::EnterText(const QString& value) {
    if (!BeginChange()) {
        return false;
    }
    m_loading = true;
    setText(value);
    m_loading = false;
    m_link.Modified();
    return true;
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    ErrorDisplay::Guarded([&] {
        if (event->key() == Qt::Key_Escape && m_link.IsModified()) {
            m_link.Reset();
            selectAll();
            event->accept();
            return;
        }
        if (IsEditKey(*event, false) && !isReadOnly() && !BeginChange()) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!m_link.LeaveControl(event->reason())) {
        selectAll();
        setFocus();
    }
}
