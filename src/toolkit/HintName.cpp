#include "HintName.h"

#include <QEvent>
#include <QWidget>

THintName::THintName(QWidget* button) : QObject(button), m_button(button) {
    m_button->setAccessibleName(m_button->toolTip());
    m_button->installEventFilter(this);
}

bool THintName::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_button && event->type() == QEvent::ToolTipChange) {
        m_button->setAccessibleName(m_button->toolTip());
    }
    return QObject::eventFilter(watched, event);
}
