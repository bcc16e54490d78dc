#pragma once

#include "store/DataSource.h"

#include <QString>
#include <functional>

class TField;

// The link of a control that shows one field of the current record. The control loads the field's
// text on OnDataChange, calls Modified() when the user changed it, and writes it back in
// OnUpdateData, which runs when the control is left or the table asks for pending input (post, move).
class TFieldDataLink : public TDataLink {
public:
    void SetFieldName(const QString& name);
    const QString& FieldName() const { return m_fieldName; }
    // The bound field of the open table, or null.
    TField* Field() const { return m_field; }

    // Begins editing of the record for a change the user makes; raises what the table raises.
    // False when the table cannot edit (closed, or no such field).
    bool BeginChange();
    bool IsModified() const { return m_modified; }
    void Modified() { m_modified = true; }
    // Drops the user's change and shows the field again.
    void Reset();
    // Writes a pending change into the field now (OnUpdateData); raises when the field refuses it.
    void UpdateRecord();

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;
    std::function<void()> OnActiveChange;

protected:
    void ActiveChanged() override;
    void DataSetChanged() override { RecordChanged(nullptr); }
    void RecordChanged(TField* field) override;
    void EditingChanged() override;
    void UpdateData() override;
    void LayoutChanged() override;

private:
    void UpdateField();
    void DataChange();

    QString m_fieldName;
    TField* m_field = nullptr;
    bool m_modified = false;
    bool m_beginning = false;
};
