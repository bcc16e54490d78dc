#pragma once

#include <QObject>
#include <functional>
#include <vector>

class TTable;
class TField;
class TDataLink;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TDataEvent {
    deActiveChange,  // the table opened or closed
    deDataSetChange, // the set of records changed: filter, order, insert, delete, refresh
    deDataSetScroll, // another record became current
    deRecordChange,  // the current record's values changed as a whole (edit began, cancel)
    deFieldChange,   // one field of the current record changed
    deUpdateState,   // browse, edit or insert changed
    deUpdateRecord,  // controls: write what the user typed into the fields now
    deLayoutChange,
};

// Connects bound controls to one table. The table tells its data sources what happened; each data
// source tells its links and raises OnDataChange / OnStateChange.
class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* owner = nullptr);
    ~TDataSource() override;

    TTable* DataSet() const { return m_dataSet; }
    void SetDataSet(TTable* table);
    TDataSetState State() const;

    // Current record or one of its fields changed (field null: the whole record).
    std::function<void(TDataSource& sender, TField* field)> OnDataChange;
    std::function<void(TDataSource& sender)> OnStateChange;

    void Notify(TDataEvent event, TField* field);

private:
    friend class TDataLink;
    friend class TDataNotifier;
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void DetachTable();

    TTable* m_dataSet = nullptr;
    std::vector<TDataLink*> m_links;
};

// What a bound control implements to follow a data source.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return m_source; }
    TTable* DataSet() const;
    bool Active() const;
    // Puts the table into editing when it is browsing; true when it is editing or inserting.
    bool Edit();
    bool Editing() const;

protected:
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() {}
    virtual void DataSetScrolled() { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void EditingChanged() {}
    virtual void UpdateData() {}
    virtual void LayoutChanged() { DataSetChanged(); }

private:
    friend class TDataSource;
    void Dispatch(TDataEvent event, TField* field);
    TDataSource* m_source = nullptr;
};
