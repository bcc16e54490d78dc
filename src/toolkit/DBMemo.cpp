#include "DBMemo.h"

#include "store/Field.h"
#include "toolkit/ErrorDisplay.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent), TTextFieldControl(true) {
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
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        ErrorDisplay::Guarded([&] {
            if (!m_link.TextChanged()) {
                // Not inside the document's own change notification.
                QTimer::singleShot(0, this, [this] { m_link.Reset(); });
            }
        });
    });
}

void TDBMemo::Load() {
    const TField* field = m_link.Field();
    const QString shown = field ? field->AsString() : QString();
    if (shown != toPlainText()) {
        m_link.Showing([&] { setPlainText(shown); });
    }
}

void TDBMemo::keyPressEvent(QKeyEvent* event) {
    ErrorDisplay::Guarded([&] {
        switch (m_link.KeyPressed(*event, isReadOnly())) {
        case TTextEditLink::kaReset:
        case TTextEditLink::kaRefused:
            event->accept();
            break;
        case TTextEditLink::kaPass:
            QPlainTextEdit::keyPressEvent(event);
            break;
        }
    });
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (!m_link.LeaveControl(event->reason())) {
        setFocus();
    }
}
