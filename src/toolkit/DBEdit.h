#pragma once

#include "toolkit/TextFieldControl.h"

#include <QLineEdit>

// A one-line edit bound to one field of a data source's current record. Typing puts the record into
// editing; the text goes into the field when the control is left or the table posts or moves.
class TDBEdit : public QLineEdit, public TTextFieldControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ DataField WRITE SetDataField)
public:
    explicit TDBEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Puts `text` in as if the user had typed it (calendar pick); false when the table refused.
    bool EnterText(const QString& text);

private:
    QString FieldText() const;
    void WriteField(const QString& text);
    void Load();
};
