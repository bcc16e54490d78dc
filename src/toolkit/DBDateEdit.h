#pragma once

#include "toolkit/DBEdit.h"

#include <QDate>

class QAction;
class QCalendarWidget;
class QFrame;

// A date edit bound to a date field: shows the date in the table's short date format, takes an
// empty text as no date, and has a calendar button that drops down a month calendar.
class TDBDateEdit : public TDBEdit {
    Q_OBJECT
public:
    explicit TDBDateEdit(QWidget* parent = nullptr);

    QAction* CalendarButton() const { return m_button; }
    QCalendarWidget* Calendar();
    bool CalendarVisible() const;
    void ShowCalendar();
    // Takes the date as if the user had typed it and writes it into the field.
    void PickDate(const QDate& date);

private:
    QString DateFormat() const;

    QAction* m_button = nullptr;
    QFrame* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};
