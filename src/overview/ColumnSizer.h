#pragma once

#include <QList>
#include <QObject>
#include <QString>

class TDBGrid;

// Sizes a grid's columns to what they show within the grid's width: each column as wide as its
// title and the texts of the rows in view (long texts to a limit), the spare width to one column,
// texts narrowed towards their titles when the window is too small; again when the window's size
// or the set of rows changes. Once the user has dragged a
// column's width the grid keeps the user's widths, also through resizing, and they can be saved
// and restored by field name.
class TColumnSizer : public QObject {
    Q_OBJECT
public:
    TColumnSizer(TDBGrid& grid, QString spareField);

    // Sizes the columns now, unless the user has chosen their widths.
    void Fit();
    // Fits once the events under way (showing, laying out) are done.
    void FitSoon();
    bool Chosen() const { return m_chosen; }
    // The widths the user chose as "Field=width" entries joined by ","; empty when none were chosen.
    QString Saved() const;
    // Takes the widths of a Saved() text for the columns of the same field names; entries that name
    // no column or hold no sensible width are passed over. True when a width was taken.
    bool Restore(const QString& saved);

    // Widths for columns of natural widths `natural` (at least `minimum` each) in `available`
    // pixels: spare width goes to column `spare`; too little narrows the other columns in
    // proportion to what each has above its minimum, then column `spare`, never below the minimums
    // (the grid then scrolls).
    static QList<int> Fit(const QList<int>& natural, const QList<int>& minimum, int available, int spare);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int AvailableWidth() const;
    void SectionResized();

    TDBGrid& m_grid;
    const QObject* m_gridObject;
    const QObject* m_titles;
    QString m_spareField;
    bool m_chosen = false;
    bool m_dragging = false;
    bool m_fitPending = false;
};
