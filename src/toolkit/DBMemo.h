#pragma once

#include "toolkit/TextEditLink.h"

#include <QPlainTextEdit>

class TDataSource;
class TField;

// A multi-line edit bound to a memo field, with a vertical scroll bar; the Tab key types a tab.
// Typing puts the record into editing; the text goes into the field when the control is left or
// the table posts or moves.
class TDBMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ DataField WRITE SetDataField)
public:
    explicit TDBMemo(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source) { m_link.SetDataSource(source); }
    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataField(const QString& name) { m_link.SetFieldName(name); }
    const QString& DataField() const { return m_link.FieldName(); }
    TField* Field() const { return m_link.Field(); }
    bool Modified() const { return m_link.IsModified(); }
    // Writes a pending change into the field; raises EDatabaseError when the field refuses it.
    void UpdateRecord() { m_link.UpdateRecord(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Load();

    TTextEditLink m_link{true};
};
