#pragma once

#include "toolkit/TextFieldControl.h"

#include <QPlainTextEdit>

// A multi-line edit bound to a memo field, with a vertical scroll bar; the Tab key types a tab.
// Typing puts the record into editing; the text goes into the field when the control is left or
// the table posts or moves.
class TDBMemo : public QPlainTextEdit, public TTextFieldControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ DataField WRITE SetDataField)
public:
    explicit TDBMemo(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Load();
};
