#include "CategoryComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

TCategoryComboBox::TCategoryComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion is done here, so that a completed entry is chosen at once.
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TCategoryComboBox::TextEdited);
    connect(this, &QComboBox::activated, this, &TCategoryComboBox::Choose);
}

QString TCategoryComboBox::Prompt() const {
    return lineEdit()->placeholderText();
}

void TCategoryComboBox::SetPrompt(const QString& prompt) {
    lineEdit()->setPlaceholderText(prompt);
}

QString TCategoryComboBox::ListText() const {
    const QString line = lineEdit()->text();
    return line.isEmpty() ? Prompt() : line;
}

bool TCategoryComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        m_deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    return QComboBox::eventFilter(watched, event);
}

void TCategoryComboBox::Choose(int index) {
    m_chosen = index;
    emit Chosen(index);
}

void TCategoryComboBox::TextEdited(const QString& text) {
    // Deleting must leave what is left, or the completion would put the deleted letters back.
    if (text.isEmpty() || m_deleting) {
        return;
    }
    int found = -1;
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            found = i;
            break;
        }
    }
    if (found < 0) {
        return;
    }
    const QString entry = itemText(found);
    setCurrentIndex(found);
    setEditText(entry);
    lineEdit()->setSelection(int(entry.size()), int(text.size()) - int(entry.size()));
    if (found != m_chosen) {
        Choose(found);
    }
}
