#pragma once

#include <QPointer>
#include <QStringList>
#include <QTableView>

class TDataSource;
class TDBGridModel;
class TTable;

// A grid over a data source's table (TDBGridModel): one column per field, a row indicator, resizable
// columns, in-place editing through the fields' conversions, Ctrl+Del deletes after confirmation.
// The grid's current row and the table's current record are kept the same both ways.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    // Takes a model of the caller's (owned by the grid from then on).
    explicit TDBGrid(TDBGridModel* model, QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    TDBGridModel* Model() const { return m_model; }
    // The cell editor that is open, if any.
    QWidget* OpenEditor() const { return m_editor; }

signals:
    // The user double-clicked a cell.
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    class TGridDelegate;
    friend class TGridDelegate;

    void FollowTable(int row);
    void SetColumnWidths();
    void EditorOpened(QWidget* editor);
    void EditorChanged();
    void WritePendingEdit();
    void DeleteRecord();

    TDBGridModel* m_model = nullptr;
    QPointer<QWidget> m_editor;
    QStringList m_columnsSized;
    bool m_following = false;
};
