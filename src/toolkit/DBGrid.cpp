#include "DBGrid.h"

#include "store/Field.h"
#include "store/Table.h"
#include "toolkit/DBGridModel.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>

// Line editors for plain fields (cut at the field's width by the field, not here), a small text
// box for memos; tells the grid when the user starts changing a value.
class TDBGrid::TGridDelegate : public QStyledItemDelegate {
public:
    explicit TGridDelegate(TDBGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const TField* field = m_grid.m_model->FieldAt(index.column());
        QWidget* editor = nullptr;
        if (field && field->IsBlob()) {
            auto* memo = new QPlainTextEdit(parent);
            memo->setTabChangesFocus(true);
            connect(memo->document(), &QTextDocument::modificationChanged, &m_grid, [this](bool changed) {
                if (changed) {
                    m_grid.EditorChanged();
                }
            });
            editor = memo;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
            if (auto* line = qobject_cast<QLineEdit*>(editor)) {
                connect(line, &QLineEdit::textEdited, &m_grid, [this] { m_grid.EditorChanged(); });
            }
        }
        m_grid.EditorOpened(editor);
        return editor;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        if (qobject_cast<QPlainTextEdit*>(editor)) {
            editor->setGeometry(option.rect.adjusted(0, 0, 0, option.rect.height() * 4));
        }
    }

private:
    TDBGrid& m_grid;
};

TDBGrid::TDBGrid(QWidget* parent) : TDBGrid(new TDBGridModel, parent) {}

TDBGrid::TDBGrid(TDBGridModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    m_model->setParent(this);
    setModel(m_model);
    setItemDelegate(new TGridDelegate(*this));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    // Every row the same height, and no measuring of contents: a view over 100,000 records only
    // ever reads the rows it shows.
    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("▶")) + 12);
    rows->setHighlightSections(false);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    m_model->OnUpdateData = [this] { WritePendingEdit(); };
    connect(m_model, &TDBGridModel::CurrentRowChanged, this,
            [this](int row) { ErrorDisplay::Guarded([&] { FollowTable(row); }); });
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { ErrorDisplay::Guarded([&] { SetColumnWidths(); }); });
}

void TDBGrid::SetDataSource(TDataSource* source) {
    m_model->SetDataSource(source);
}

TDataSource* TDBGrid::DataSource() const {
    return m_model->DataSource();
}

void TDBGrid::SetColumnWidths() {
    QStringList names;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        names << m_model->FieldAt(column)->FieldName();
    }
    // Only a new set of columns gets default widths; the user's widths stay across changes.
    if (names == m_columnsSized) {
        return;
    }
    m_columnsSized = names;
    const QFontMetrics metrics = fontMetrics();
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < names.size(); ++column) {
        const TField* field = m_model->FieldAt(column);
        int characters = 20;
        switch (field->DataType()) {
        case ftString:
            characters = qBound(6, field->Size(), 25);
            break;
        case ftDate:
            characters = 11;
            break;
        case ftBCD:
            characters = 12;
            break;
        case ftInteger:
            characters = 7;
            break;
        case ftMemo:
            characters = 25;
            break;
        }
        const int title = metrics.horizontalAdvance(field->DisplayLabel()) + 16;
        setColumnWidth(column, qMax(characters * digit + 8, title));
    }
}

void TDBGrid::FollowTable(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        return;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row) {
        return;
    }
    // The table has moved: an editor left open on another row is dropped, not written there.
    if (m_editor) {
        closeEditor(m_editor, QAbstractItemDelegate::RevertModelCache);
    }
    m_following = true;
    const QModelIndex target = m_model->index(row, current.isValid() ? current.column() : 0);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
    m_following = false;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid() || current.row() == m_model->CurrentRow()) {
        return;
    }
    TTable* table = m_model->DataSet();
    if (!table) {
        return;
    }
    const bool moved = ErrorDisplay::Guarded([&] { table->SetRecNo(current.row() + 1); });
    // A refused post keeps the table where it was, and the grid with it; so does a move that
    // changed the set (a dropped insertion).
    if (!moved || m_model->CurrentRow() != current.row()) {
        FollowTable(m_model->CurrentRow());
    }
}

void TDBGrid::EditorOpened(QWidget* editor) {
    m_editor = editor;
}

void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == m_editor) {
        m_editor = nullptr;
    }
    QTableView::closeEditor(editor, hint);
}

void TDBGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                          const QList<int>& roles) {
    // The view would load the record's value into an open cell editor, wiping what the user is typing
    // (starting the edit reloads the record): pass on the range around the edited cell only.
    const QModelIndex edited = m_editor ? currentIndex() : QModelIndex();
    const int top = topLeft.row();
    const int bottom = bottomRight.row();
    const int left = topLeft.column();
    const int right = bottomRight.column();
    if (!edited.isValid() || edited.row() < top || edited.row() > bottom || edited.column() < left ||
        edited.column() > right) {
        QTableView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const auto pass = [&](int fromRow, int fromColumn, int toRow, int toColumn) {
        if (fromRow <= toRow && fromColumn <= toColumn) {
            QTableView::dataChanged(m_model->index(fromRow, fromColumn), m_model->index(toRow, toColumn),
                                    roles);
        }
    };
    pass(top, left, edited.row() - 1, right);
    pass(edited.row() + 1, left, bottom, right);
    pass(edited.row(), left, edited.row(), edited.column() - 1);
    pass(edited.row(), edited.column() + 1, edited.row(), right);
}

void TDBGrid::EditorChanged() {
    QWidget* editor = m_editor;
    const QModelIndex index = currentIndex();
    bool editing = false;
    ErrorDisplay::Guarded([&] { editing = m_model->BeginEdit(index); });
    if (!editing && editor) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
}

void TDBGrid::WritePendingEdit() {
    QWidget* editor = m_editor;
    if (!editor || state() != QAbstractItemView::EditingState) {
        return;
    }
    const QModelIndex index = currentIndex();
    if (index.row() == m_model->CurrentRow()) {
        const QByteArray property = editor->metaObject()->userProperty().name();
        m_model->WriteCell(index, editor->property(property.constData()).toString());
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TDBGrid::DeleteRecord() {
    TTable* table = m_model->DataSet();
    if (table && !table->IsEmpty() && Dialogs::ConfirmDelete()) {
        table->Delete();
    }
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    ErrorDisplay::Guarded([&] {
        if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
            event->accept();
            DeleteRecord();
            return;
        }
        TTable* table = m_model->DataSet();
        if (event->key() == Qt::Key_Escape && state() != QAbstractItemView::EditingState && table &&
            (table->State() == dsEdit || table->State() == dsInsert)) {
            event->accept();
            table->Cancel();
            return;
        }
        QTableView::keyPressEvent(event);
    });
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid()) {
        ErrorDisplay::Guarded([&] { emit DblClick(); });
    }
}
