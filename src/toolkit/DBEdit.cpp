#include "DBEdit.h"

#include "store/Field.h"
#include "toolkit/ErrorDisplay.h"

#include <QFocusEvent>
#include <QKeyEvent>

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), TTextFieldControl(false) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
    m_link.OnDataChange = [this] { Load(); };
    m_link.OnUpdateData = [this] {
        WriteField(text());
        Load(); // the field may have cut or reformatted it
    };
    connect(this, &QLineEdit::textEdited, this, [this] {
        ErrorDisplay::Guarded([&] {
            if (!m_link.TextChanged()) {
                m_link.Reset();
            }
        });
    });
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
    m_link.Showing([&] {
        const QString shown = FieldText();
        if (shown != text()) {
            setText(shown);
        }
    });
}

bool TDBEdit::EnterText(const QString& value) {
    if (!m_link.BeginUserChange()) {
        return false;
    }
    m_link.Showing([&] { setText(value); });
    m_link.Modified();
    return true;
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    ErrorDisplay::Guarded([&] {
        switch (m_link.KeyPressed(*event, isReadOnly())) {
        case TTextEditLink::kaReset:
            selectAll();
            event->accept();
            break;
        case TTextEditLink::kaRefused:
            event->accept();
            break;
        case TTextEditLink::kaPass:
            QLineEdit::keyPressEvent(event);
            break;
        }
    });
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!m_link.LeaveControl(event->reason())) {
        selectAll();
        setFocus();
    }
}
