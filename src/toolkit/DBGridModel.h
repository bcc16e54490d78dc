#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <memory>

class TDataSource;
class TField;
class TTable;

// The records of a data source's table as a table model: one row per record of the current set,
// one column per field in the table's field order, titled with the field name. Rows are read on
// demand (TTable::RowValue), so only the rows a view shows are fetched. The vertical header marks
// the current record: "▶" browsing, "I" inserting, "✎" editing.
class TDBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDBGridModel(QObject* parent = nullptr);
    ~TDBGridModel() override;

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    TTable* DataSet() const;
    TField* FieldAt(int column) const;
    // The table's current record as a row; -1 without one.
    int CurrentRow() const;
    // The marker of the current row in the table's present state.
    QString Indicator() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // In-place editing; a refused value goes to the error display and the record stays in editing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Makes the index's record current and puts it into editing; raises what the table raises.
    // False when the table cannot edit.
    bool BeginEdit(const QModelIndex& index);
    // Writes a cell's text through the field's conversion; raises EDatabaseError when refused.
    void WriteCell(const QModelIndex& index, const QString& text);

    // The table asks for pending input (before a post or a move).
    std::function<void()> OnUpdateData;

signals:
    // The table's current record moved or the set changed; row -1 without a current record.
    void CurrentRowChanged(int row);

private:
    class TGridDataLink;
    friend class TGridDataLink;

    void Reset();
    void SetChanged();
    void Scrolled();
    void RowChanged();
    void RowHeaderChanged(int row);

    std::unique_ptr<TGridDataLink> m_link;
    int m_rows = 0;
    int m_columns = 0;
    int m_currentRow = -1;
};
