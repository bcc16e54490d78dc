#include "DBNavigator.h"

#include "store/DataSource.h"
#include "store/Table.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QToolButton>

class TDBNavigator::TNavDataLink : public TDataLink {
public:
    explicit TNavDataLink(TDBNavigator& navigator) : m_navigator(navigator) {}

protected:
    void ActiveChanged() override { m_navigator.UpdateButtons(); }
    void DataSetChanged() override { m_navigator.UpdateButtons(); }
    void EditingChanged() override { m_navigator.UpdateButtons(); }

private:
    TDBNavigator& m_navigator;
};

namespace {
const char* const ButtonNames[TDBNavigator::ButtonCount] = {"nbFirst",  "nbPrior",  "nbNext", "nbLast",
                                                            "nbInsert", "nbDelete", "nbEdit", "nbPost",
                                                            "nbCancel", "nbRefresh"};

QIcon DrawButtonIcon(TNavigateBtn button) {
    constexpr int size = 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 30, 30);
    const auto triangle = [&](qreal tipX, bool pointsLeft) {
        QPainterPath path;
        const qreal baseX = pointsLeft ? tipX + 6 : tipX - 6;
        path.moveTo(tipX, 8);
        path.lineTo(baseX, 2);
        path.lineTo(baseX, 14);
        path.closeSubpath();
        painter.fillPath(path, ink);
    };
    QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (button) {
    case nbFirst:
        painter.fillRect(QRectF(3, 2, 2, 12), ink);
        triangle(5, true);
        break;
    case nbPrior:
        triangle(4.5, true);
        break;
    case nbNext:
        triangle(11.5, false);
        break;
    case nbLast:
        painter.fillRect(QRectF(11, 2, 2, 12), ink);
        triangle(11, false);
        break;
    case nbInsert:
        painter.fillRect(QRectF(7, 2, 2.5, 12), ink);
        painter.fillRect(QRectF(2, 7, 12, 2.5), ink);
        break;
    case nbDelete:
        painter.fillRect(QRectF(2, 7, 12, 2.5), ink);
        break;
    case nbEdit: {
        QPainterPath pencil;
        pencil.moveTo(3, 13);
        pencil.lineTo(4, 10);
        pencil.lineTo(11, 3);
        pencil.lineTo(13, 5);
        pencil.lineTo(6, 12);
        pencil.closeSubpath();
        painter.fillPath(pencil, ink);
        break;
    }
    case nbPost:
        pen.setColor(QColor(0, 120, 0));
        painter.setPen(pen);
        painter.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
        break;
    case nbCancel:
        pen.setColor(QColor(170, 0, 0));
        painter.setPen(pen);
        painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    case nbRefresh: {
        painter.setPen(pen);
        painter.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(8, 0.5);
        head.lineTo(12, 3);
        head.lineTo(8, 5.5);
        head.closeSubpath();
        painter.fillPath(head, ink);
        break;
    }
    }
    return QIcon(pixmap);
}

// Drawn once for all navigators: the main window alone has one on each of its 21 pages. Never
// destroyed: as a static object they would go after the application object, which pixmaps must not.
const QIcon& ButtonIcon(TNavigateBtn button) {
    static const auto* const icons = [] {
        auto* drawn = new std::array<QIcon, TDBNavigator::ButtonCount>;
        for (int i = 0; i < TDBNavigator::ButtonCount; ++i) {
            (*drawn)[size_t(i)] = DrawButtonIcon(TNavigateBtn(i));
        }
        return drawn;
    }();
    return (*icons)[size_t(button)];
}
} // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent), m_link(std::make_unique<TNavDataLink>(*this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        const auto kind = TNavigateBtn(i);
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(ButtonNames[i]));
        button->setIcon(ButtonIcon(kind));
        button->setAutoRaise(m_flat);
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::TabFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this,
                [this, kind] { ErrorDisplay::Guarded([&] { BtnClick(kind); }); });
        layout->addWidget(button);
        m_buttons[size_t(i)] = button;
        m_visible.insert(kind);
    }
    setCursor(Qt::PointingHandCursor);
    SetHints({});
    UpdateButtons();
}

TDBNavigator::~TDBNavigator() = default;

void TDBNavigator::SetDataSource(TDataSource* source) {
    m_link->SetDataSource(source);
}

TDataSource* TDBNavigator::DataSource() const {
    return m_link->DataSource();
}

TTable* TDBNavigator::Table() const {
    return m_link->DataSet();
}

void TDBNavigator::SetVisibleButtons(const TNavButtonSet& buttons) {
    m_visible = buttons;
    for (int i = 0; i < ButtonCount; ++i) {
        m_buttons[size_t(i)]->setVisible(m_visible.count(TNavigateBtn(i)) > 0);
    }
}

QStringList TDBNavigator::DefaultHints() {
    return {QStringLiteral("Første"), QStringLiteral("Forrige"), QStringLiteral("Næste"),
            QStringLiteral("Sidste"), QStringLiteral("Tilføj"),  QStringLiteral("Slet"),
            QStringLiteral("Ret"),    QStringLiteral("Gem"),     QStringLiteral("Fortryd"),
            QStringLiteral("Opdatér")};
}

void TDBNavigator::SetHints(const QStringList& hints) {
    m_hints = hints;
    UpdateHints();
}

void TDBNavigator::UpdateHints() {
    const QStringList defaults = DefaultHints();
    for (int i = 0; i < ButtonCount; ++i) {
        const QString hint = i < m_hints.size() ? m_hints.at(i) : defaults.at(i);
        QStringList keys;
        if (m_keys) {
            // The keypad's Enter goes unnamed beside Return.
            for (const QKeySequence& key : KeySequences(TNavigateBtn(i))) {
                if (key[0].key() != Qt::Key_Enter) {
                    keys << key.toString(QKeySequence::NativeText);
                }
            }
        }
        const QString named = keys.join(QStringLiteral(", "));
        QToolButton* button = m_buttons[size_t(i)];
        button->setToolTip(keys.isEmpty()   ? hint
                           : hint.isEmpty() ? named
                                            : hint + QStringLiteral(" (") + named + QLatin1Char(')'));
        button->setAccessibleName(hint);
    }
}

QList<QKeySequence> TDBNavigator::KeySequences(TNavigateBtn button) {
    switch (button) {
    case nbInsert:
        return {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_N)};
    case nbDelete:
        return {QKeySequence(Qt::CTRL | Qt::Key_Delete)};
    case nbPost:
        return {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::Key_Return),
                QKeySequence(Qt::CTRL | Qt::Key_Enter)};
    case nbCancel:
        return {QKeySequence(Qt::Key_Escape)};
    default:
        return {};
    }
}

void TDBNavigator::SetKeysEnabled(bool enabled) {
    if (enabled == m_keys) {
        return;
    }
    m_keys = enabled;
    for (int i = 0; i < ButtonCount; ++i) {
        const auto kind = TNavigateBtn(i);
        QToolButton* button = m_buttons[size_t(i)];
        // Owned by the button: a key only counts while its button is shown and enabled, so the bars
        // of the hidden pages and a disabled command never answer.
        for (QShortcut* shortcut : button->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
            delete shortcut;
        }
        if (!enabled) {
            continue;
        }
        for (const QKeySequence& key : KeySequences(kind)) {
            auto* shortcut = new QShortcut(key, button);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this,
                    [this, kind] { ErrorDisplay::Guarded([&] { BtnClick(kind); }); });
        }
    }
    UpdateHints();
}

void TDBNavigator::SetFlat(bool flat) {
    m_flat = flat;
    for (QToolButton* button : m_buttons) {
        button->setAutoRaise(flat);
    }
}

void TDBNavigator::UpdateButtons() {
    const TTable* table = Table();
    const bool active = table && table->Active();
    const TDataSetState state = active ? table->State() : dsInactive;
    const bool browsing = state == dsBrowse;
    const bool editing = state == dsEdit || state == dsInsert;
    const bool canModify = active && table->CanModify();
    const bool hasRecord = active && !table->IsEmpty();
    // By position rather than the Bof/Eof flags alone: those are only set by trying to pass an end.
    const bool up = active && table->RecNo() > 1;
    const bool down = active && table->RecNo() < table->RecordCount();
    const bool enabled[ButtonCount] = {
        up,
        up,
        down,
        down,
        canModify && browsing,
        canModify && browsing && hasRecord,
        canModify && browsing && hasRecord,
        canModify && editing,
        canModify && editing,
        browsing,
    };
    for (int i = 0; i < ButtonCount; ++i) {
        m_buttons[size_t(i)]->setEnabled(enabled[i]);
    }
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    TTable* table = Table();
    if (table && table->Active()) {
        switch (button) {
        case nbFirst:
            table->First();
            break;
        case nbPrior:
            table->Prior();
            break;
        case nbNext:
            table->Next();
            break;
        case nbLast:
            table->Last();
            break;
        case nbInsert:
            table->Insert();
            break;
        case nbDelete:
            if (!m_confirmDelete || Dialogs::ConfirmDelete()) {
                table->Delete();
            }
            break;
        case nbEdit:
            table->Edit();
            break;
        case nbPost:
            table->Post();
            break;
        case nbCancel:
            table->Cancel();
            break;
        case nbRefresh:
            table->Refresh();
            break;
        }
    }
    if (OnClick) {
        OnClick(*this, button);
    }
}
