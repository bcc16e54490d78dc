#include "ColumnSizer.h"

#include "store/Field.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBGridModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <numeric>

namespace {
// Texts longer than this many average characters are cut in view rather than widening the column.
constexpr int LongestText = 32;
constexpr int NarrowestWidth = 24;
constexpr int WidestWidth = 4000;
} // namespace

TColumnSizer::TColumnSizer(TDBGrid& grid, QString spareField)
    : QObject(&grid), m_grid(grid), m_gridObject(&grid), m_titles(grid.horizontalHeader()->viewport()),
      m_spareField(std::move(spareField)) {
    m_grid.installEventFilter(this);
    grid.horizontalHeader()->viewport()->installEventFilter(this);
    connect(m_grid.horizontalHeader(), &QHeaderView::sectionResized, this, [this] { SectionResized(); });
    // A new set of rows (the window switching the filter off as it comes up, another category) is
    // measured again.
    connect(m_grid.model(), &QAbstractItemModel::modelReset, this, [this] { FitSoon(); });
}

bool TColumnSizer::eventFilter(QObject* watched, QEvent* event) {
    // Only the pointers kept at the start are compared: the grid may be halfway through its
    // destruction when the last events reach this filter.
    if (watched == m_gridObject && event->type() == QEvent::Resize) {
        FitSoon();
    } else if (watched == m_titles) {
        // Widths change under the user's hand only while a mouse button is down on the titles
        // (dragging a divider, double-clicking it).
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            m_dragging = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_dragging = false;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TColumnSizer::SectionResized() {
    if (m_dragging) {
        m_chosen = true;
    }
}

void TColumnSizer::FitSoon() {
    if (m_fitPending || m_chosen) {
        return;
    }
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        Fit();
    });
}

int TColumnSizer::AvailableWidth() const {
    const QHeaderView* rows = m_grid.verticalHeader();
    int width = m_grid.contentsRect().width() - (rows->isVisible() ? rows->width() : 0);
    // The vertical scroll bar takes its part once the rows overflow, though it may not show yet.
    const int height = m_grid.contentsRect().height() - m_grid.horizontalHeader()->height();
    if (m_grid.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
        qint64(m_grid.model()->rowCount()) * rows->defaultSectionSize() > height) {
        width -= m_grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid.verticalScrollBar());
    }
    return width;
}

void TColumnSizer::Fit() {
    const TDBGridModel* model = m_grid.Model();
    const int columns = model->columnCount();
    if (m_chosen || columns == 0 || !m_grid.isVisible()) {
        return;
    }
    const QFontMetrics cells = m_grid.fontMetrics();
    const QFontMetrics titles = m_grid.horizontalHeader()->fontMetrics();
    const int cellPadding =
        2 * m_grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &m_grid) + 8;
    const int titlePadding =
        2 * m_grid.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_grid.horizontalHeader()) + 8;
    const int longest = LongestText * cells.averageCharWidth();
    // The rows in view; those further down are not read for this.
    const int first = qMax(0, m_grid.rowAt(0));
    const int shown =
        m_grid.viewport()->height() / qMax(1, m_grid.verticalHeader()->defaultSectionSize()) + 1;
    const int last = qMin(model->rowCount(), first + qMax(shown, 1)) - 1;
    QList<int> natural;
    QList<int> minimum;
    int spare = 0;
    for (int column = 0; column < columns; ++column) {
        const TField* field = model->FieldAt(column);
        const int title =
            titles.horizontalAdvance(model->headerData(column, Qt::Horizontal).toString()) + titlePadding;
        int content = 0;
        for (int row = first; row <= last; ++row) {
            const QString text =
                model->data(model->index(row, column)).toString().section(QLatin1Char('\n'), 0, 0);
            content = qMax(content, qMin(cells.horizontalAdvance(text) + cellPadding, longest));
        }
        natural << qMax(title, content);
        minimum << title;
        if (field && field->FieldName() == m_spareField) {
            spare = column;
        }
    }
    const QList<int> widths = Fit(natural, minimum, AvailableWidth(), spare);
    for (int column = 0; column < columns; ++column) {
        m_grid.setColumnWidth(column, widths.at(column));
    }
}

QList<int> TColumnSizer::Fit(const QList<int>& natural, const QList<int>& minimum, int available, int spare) {
    QList<int> widths = natural;
    const qint64 total = std::accumulate(natural.begin(), natural.end(), qint64(0));
    if (total <= available) {
        if (spare >= 0 && spare < widths.size()) {
            widths[spare] += int(available - total);
        }
        return widths;
    }
    // The other columns give way first, in proportion to what each has above its minimum; the
    // spare column only when they are all at theirs.
    qint64 excess = total - available;
    for (const bool others : {true, false}) {
        const auto counts = [&](int i) { return others ? i != spare : i == spare; };
        qint64 room = 0;
        for (int i = 0; i < widths.size(); ++i) {
            room += counts(i) ? qMax(0, widths.at(i) - minimum.at(i)) : 0;
        }
        const qint64 taking = qMin(excess, room);
        if (taking <= 0) {
            continue;
        }
        qint64 taken = 0;
        QList<int> before = widths;
        for (int i = 0; i < widths.size(); ++i) {
            if (counts(i)) {
                const qint64 cut = qMax(0, before.at(i) - minimum.at(i)) * taking / room;
                widths[i] -= int(cut);
                taken += cut;
            }
        }
        // What the rounding left over comes off the widest of them that still has room.
        for (qint64 left = taking - taken; left > 0;) {
            int widest = -1;
            for (int i = 0; i < widths.size(); ++i) {
                if (counts(i) && widths.at(i) > minimum.at(i) &&
                    (widest < 0 || widths.at(i) > widths.at(widest))) {
                    widest = i;
                }
            }
            if (widest < 0) {
                break;
            }
            const int cut = int(qMin<qint64>(left, widths.at(widest) - minimum.at(widest)));
            widths[widest] -= cut;
            left -= cut;
        }
        excess -= taking;
    }
    return widths;
}

QString TColumnSizer::Saved() const {
    if (!m_chosen) {
        return {};
    }
    QStringList entries;
    const TDBGridModel* model = m_grid.Model();
    for (int column = 0; column < model->columnCount(); ++column) {
        if (const TField* field = model->FieldAt(column)) {
            entries << field->FieldName() + QLatin1Char('=') + QString::number(m_grid.columnWidth(column));
        }
    }
    return entries.join(QLatin1Char(','));
}

bool TColumnSizer::Restore(const QString& saved) {
    const TDBGridModel* model = m_grid.Model();
    bool taken = false;
    for (const QString& entry : saved.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char('='), 0, 0).trimmed();
        bool number = false;
        const int width = entry.section(QLatin1Char('='), 1).trimmed().toInt(&number);
        if (!number || width < NarrowestWidth || width > WidestWidth) {
            continue;
        }
        for (int column = 0; column < model->columnCount(); ++column) {
            const TField* field = model->FieldAt(column);
            if (field && field->FieldName().compare(name, Qt::CaseInsensitive) == 0) {
                m_grid.setColumnWidth(column, width);
                taken = true;
            }
        }
    }
    m_chosen = m_chosen || taken;
    return taken;
}
