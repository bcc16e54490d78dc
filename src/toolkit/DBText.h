#pragma once

#include "toolkit/FieldDataLink.h"

#include <QLabel>

class TDataSource;
class TField;

// A read-only label showing one field of a data source's current record as displayed text.
class TDBText : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ DataField WRITE SetDataField)
public:
    explicit TDBText(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source) { m_link.SetDataSource(source); }
    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataField(const QString& name) { m_link.SetFieldName(name); }
    const QString& DataField() const { return m_link.FieldName(); }
    TField* Field() const { return m_link.Field(); }

private:
    TFieldDataLink m_link;
};
