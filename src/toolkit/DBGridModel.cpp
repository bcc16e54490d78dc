#include "DBGridModel.h"

#include "store/DataSource.h"
#include "store/Field.h"
#include "store/Table.h"
#include "toolkit/ErrorDisplay.h"

class TDBGridModel::TGridDataLink : public TDataLink {
public:
    explicit TGridDataLink(TDBGridModel& model) : m_model(model) {}

protected:
    void ActiveChanged() override { m_model.Reset(); }
    void DataSetChanged() override { m_model.SetChanged(); }
    void DataSetScrolled() override { m_model.Scrolled(); }
    void RecordChanged(TField* /*field*/) override { m_model.RowChanged(); }
    void EditingChanged() override { m_model.RowChanged(); }
    void UpdateData() override {
        if (m_model.OnUpdateData) {
            m_model.OnUpdateData();
        }
    }
    void LayoutChanged() override { m_model.Reset(); }

private:
    TDBGridModel& m_model;
};

TDBGridModel::TDBGridModel(QObject* parent)
    : QAbstractTableModel(parent), m_link(std::make_unique<TGridDataLink>(*this)) {}

TDBGridModel::~TDBGridModel() = default;

void TDBGridModel::SetDataSource(TDataSource* source) {
    m_link->SetDataSource(source);
}

TDataSource* TDBGridModel::DataSource() const {
    return m_link->DataSource();
}

TTable* TDBGridModel::DataSet() const {
    TTable* table = m_link->DataSet();
    return table && table->Active() ? table : nullptr;
}

TField* TDBGridModel::FieldAt(int column) const {
    const TTable* table = DataSet();
    return table && column >= 0 && column < table->FieldCount() ? table->Fields(column) : nullptr;
}

int TDBGridModel::CurrentRow() const {
    const TTable* table = DataSet();
    return table ? table->RecNo() - 1 : -1;
}

QString TDBGridModel::Indicator() const {
    const TTable* table = DataSet();
    if (!table) {
        return {};
    }
    switch (table->State()) {
    case dsInsert:
        return QStringLiteral("I");
    case dsEdit:
        return QStringLiteral("✎");
    case dsBrowse:
        return QStringLiteral("▶");
    case dsInactive:
        break;
    }
    return {};
}

int TDBGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TDBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant TDBGridModel::data(const QModelIndex& index, int role) const {
    const TTable* table = DataSet();
    const TField* field = FieldAt(index.column());
    if (!table || !field || index.row() >= table->RecordCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole: {
        QString text = field->DisplayTextOf(table->RowValue(index.row(), index.column()));
        if (field->IsBlob()) {
            text.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
        }
        return text;
    }
    case Qt::EditRole:
        return field->DisplayTextOf(table->RowValue(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        if (field->DataType() == ftInteger || field->DataType() == ftBCD) {
            return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        const TField* field = FieldAt(section);
        if (role == Qt::DisplayRole && field) {
            return field->DisplayLabel();
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
    case Qt::DisplayRole:
        return section == CurrentRow() ? Indicator() : QString();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    const TTable* table = DataSet();
    if (table && table->CanModify()) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool TDBGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) {
        return false;
    }
    return ErrorDisplay::Guarded([&] { WriteCell(index, value.toString()); });
}

bool TDBGridModel::BeginEdit(const QModelIndex& index) {
    TTable* table = DataSet();
    if (!table || !index.isValid()) {
        return false;
    }
    if (index.row() != CurrentRow()) {
        table->SetRecNo(index.row() + 1);
    }
    return m_link->Edit();
}

void TDBGridModel::WriteCell(const QModelIndex& index, const QString& text) {
    TTable* table = DataSet();
    TField* field = FieldAt(index.column());
    if (!table || !field) {
        return;
    }
    const bool current = index.row() == CurrentRow();
    // Closing an editor without a change must not start editing the record.
    if (current && !m_link->Editing() && text == field->Text()) {
        return;
    }
    if (!BeginEdit(index)) {
        return;
    }
    field->SetAsString(text);
}

void TDBGridModel::Reset() {
    beginResetModel();
    const TTable* table = DataSet();
    m_rows = table ? table->RecordCount() : 0;
    m_columns = table ? table->FieldCount() : 0;
    m_currentRow = CurrentRow();
    endResetModel();
    emit CurrentRowChanged(m_currentRow);
}

void TDBGridModel::SetChanged() {
    const TTable* table = DataSet();
    const int rows = table ? table->RecordCount() : 0;
    const int columns = table ? table->FieldCount() : 0;
    if (rows != m_rows || columns != m_columns) {
        Reset();
        return;
    }
    // Same shape: filter, order or values changed; the view re-reads what it shows.
    m_currentRow = CurrentRow();
    if (m_rows > 0 && m_columns > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    }
    emit CurrentRowChanged(m_currentRow);
}

void TDBGridModel::Scrolled() {
    const int previous = m_currentRow;
    m_currentRow = CurrentRow();
    RowHeaderChanged(previous);
    if (previous >= 0 && previous < m_rows && m_columns > 0) {
        emit dataChanged(index(previous, 0), index(previous, m_columns - 1));
    }
    RowHeaderChanged(m_currentRow);
    emit CurrentRowChanged(m_currentRow);
}

void TDBGridModel::RowChanged() {
    const int row = CurrentRow();
    if (row >= 0 && row < m_rows && m_columns > 0) {
        // The whole row, also for one field: a single-cell change would reload an open cell editor.
        emit dataChanged(index(row, 0), index(row, m_columns - 1));
    }
    RowHeaderChanged(row);
}

void TDBGridModel::RowHeaderChanged(int row) {
    if (row >= 0 && row < m_rows) {
        emit headerDataChanged(Qt::Vertical, row, row);
    }
}
