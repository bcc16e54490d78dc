#pragma once

#include "toolkit/TextEditLink.h"

class TDataSource;
class TField;

// What a data-aware text control (one-line edit, memo) offers its window: the field it is bound to
// and the change typed into it. The control itself handles its keys and focus through the link.
class TTextFieldControl {
public:
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
    explicit TTextFieldControl(bool multiLine) : m_link(multiLine) {}
    ~TTextFieldControl() = default;

    TTextEditLink m_link;
};
