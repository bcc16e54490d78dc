#pragma once

#include "toolkit/TextEditLink.h"

#include <QLineEdit>

class TDataSource;
class TField;

// A one-line edit bound to one field of a data source's current record. Typing puts the record into
// editing; the text goes into the field when the control is left or the table posts or moves.
class TDBEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ DataField WRITE SetDataField)
public:
    explicit TDBEdit(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source) { m_link.SetDataSource(source); }
    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataField(const QString& name) { m_link.SetFieldName(name); }
    const QString& DataField() const { return m_link.FieldName(); }
    TField* Field() const { return m_link.Field(); }
    // True while the text holds a change that is not in the field yet.
    bool Modified() const { return m_link.IsModified(); }
    // Writes a pending change into the field; raises EDatabaseError when the field refuses it.
    void UpdateRecord() { m_link.UpdateRecord(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Puts `text` in as if the user had typed it (calendar pick); false when the table refused.
    bool EnterText(const QString& text);

private:
    QString FieldText() const;
    void WriteField(const QString& text);
    void Load();

    TTextEditLink m_link{false};
};
