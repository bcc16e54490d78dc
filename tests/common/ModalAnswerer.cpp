#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

TModalAnswerer::TModalAnswerer(QString button) : m_button(std::move(button)) {
    connect(&m_timer, &QTimer::timeout, this, &TModalAnswerer::Poll);
    m_timer.start(10);
}

void TModalAnswerer::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        return;
    }
    Titles << box->windowTitle();
    const QVariant composed = box->property("composedText");
    Texts << (composed.isValid() ? composed.toString() : box->text());
    Shown << box->text();
    QAbstractButton* chosen = nullptr;
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == m_button) {
            chosen = button;
        }
    }
    if (!chosen && !box->buttons().isEmpty()) {
        chosen = box->buttons().first();
    }
    if (chosen) {
        chosen->click();
    } else {
        box->reject();
    }
}
