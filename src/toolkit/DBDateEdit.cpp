#include "DBDateEdit.h"

#include "store/Field.h"
#include "store/Table.h"
#include "toolkit/ErrorDisplay.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QPainter>
#include <QVBoxLayout>

namespace {
QIcon CalendarIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, QColor(180, 30, 30));
    painter.setPen(QColor(90, 90, 90));
    for (int y = 8; y <= 12; y += 2) {
        for (int x = 3; x <= 12; x += 3) {
            painter.drawPoint(x, y);
            painter.drawPoint(x + 1, y);
        }
    }
    return QIcon(pixmap);
}
} // namespace

TDBDateEdit::TDBDateEdit(QWidget* parent) : TDBEdit(parent) {
    m_button = addAction(CalendarIcon(), QLineEdit::TrailingPosition);
    m_button->setObjectName(QStringLiteral("CalendarButton"));
    m_button->setText(QStringLiteral("Kalender")); // the button's name for screen readers
    connect(m_button, &QAction::triggered, this, [this] { ErrorDisplay::Guarded([&] { ShowCalendar(); }); });
}

// Made when first wanted: a month calendar costs more to build than the rest of the edit, and the
// main window has one date edit on every page.
QCalendarWidget* TDBDateEdit::Calendar() {
    if (m_calendar) {
        return m_calendar;
    }
    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    m_calendar = new QCalendarWidget(m_popup);
    m_calendar->setGridVisible(true);
    layout->addWidget(m_calendar);
    const auto picked = [this](QDate date) {
        ErrorDisplay::Guarded([&] {
            m_popup->hide();
            PickDate(date);
        });
    };
    connect(m_calendar, &QCalendarWidget::clicked, this, picked);
    connect(m_calendar, &QCalendarWidget::activated, this, picked);
    return m_calendar;
}

QString TDBDateEdit::DateFormat() const {
    const TField* field = Field();
    return field ? field->DataSet().FormatSettings().ShortDateFormat : QStringLiteral("dd-MM-yyyy");
}

bool TDBDateEdit::CalendarVisible() const {
    return m_popup && m_popup->isVisible();
}

void TDBDateEdit::ShowCalendar() {
    const QDate shown = QDate::fromString(text().trimmed(), DateFormat());
    Calendar()->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus();
}

void TDBDateEdit::PickDate(const QDate& date) {
    if (EnterText(date.isValid() ? date.toString(DateFormat()) : QString())) {
        UpdateRecord();
    }
}
