#include "support/Easysize.h"

#include "toolkit/PictureLabel.h"

#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QStackedWidget>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cfenv>
#include <cmath>

int RoundHalfEven(double value) {
    // nearbyint rounds in the current mode; the program never leaves the default, to nearest even.
    if (std::fegetround() == FE_TONEAREST) {
        return static_cast<int>(std::nearbyint(value));
    }
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        return static_cast<int>(floor) + 1;
    }
    return static_cast<int>(floor);
}

namespace {
bool IsInternal(const QWidget* widget) {
    const QString name = widget->objectName();
    return name.isEmpty() || name.startsWith(QLatin1String("qt_"));
}

// Qt's own containers that hold the window's controls: a tab widget's page stack, a scroll area's viewport.
bool HoldsControls(const QWidget* widget) {
    return qobject_cast<const QStackedWidget*>(widget) != nullptr ||
           widget->objectName() == QLatin1String("qt_scrollarea_viewport");
}

// The window's controls in the order they were created, nested ones included; Qt's inner widgets
// (a tab bar's scroll buttons, a line edit's icon buttons) and popups are not.
void Collect(QWidget* parent, QList<QWidget*>& result) {
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow()) {
            continue;
        }
        const bool internal = IsInternal(widget);
        if (!internal) {
            result.append(widget);
        }
        if (!internal || HoldsControls(widget)) {
            Collect(widget, result);
        }
    }
}

// A label that shows text (plain or data-bound), as opposed to a picture.
QLabel* TextLabel(QWidget* widget) {
    auto* label = qobject_cast<QLabel*>(widget);
    if (label == nullptr || qobject_cast<TPictureLabel*>(widget) != nullptr || label->hasScaledContents() ||
        !label->pixmap().isNull() || !label->picture().isNull() || label->movie() != nullptr) {
        return nullptr;
    }
    return label;
}

double PointSize(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
}
} // namespace

TSingleResizer::TSingleResizer(QWidget* control, QWidget* form, const TFormResizer& resizer) {
    if (control == nullptr) {
        throw EResizerException(QStringLiteral("TSingleResizer created without a component link"));
    }
    if (form == nullptr) {
        throw EResizerException(QStringLiteral("TSingleResizer created without a parent form link"));
    }
    m_control = control;
    const QRect bounds = control->geometry();
    m_top = bounds.top();
    m_left = bounds.left();
    m_width = bounds.width();
    m_height = bounds.height();
    m_formHeight = form->height();
    m_formWidth = form->width();
    m_ownFont = control->testAttribute(Qt::WA_SetFont);
    m_font = control->font();
    m_fontSize = PointSize(m_font);
    m_resizeFonts = resizer.ResizeFonts();
    m_minFontSize = resizer.MinFontSize();
    m_maxFontSize = resizer.MaxFontSize();
}

bool TSingleResizer::FillsParent() const {
    if (m_control->property("align").toString().compare(QLatin1String("client"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QWidget* parent = m_control->parentWidget();
    const QLayout* layout = parent != nullptr ? parent->layout() : nullptr;
    return layout != nullptr && (layout->indexOf(m_control) >= 0 || layout->menuBar() == m_control);
}

void TSingleResizer::Scale(int formHeight, int formWidth, double heightRatio, double widthRatio) {
    if (m_control == nullptr || FillsParent()) {
        return;
    }
    if (formHeight == m_formHeight && formWidth == m_formWidth) {
        // Back at the recorded size: the recorded layout itself, labels included.
        if (m_resizeFonts) {
            m_control->setFont(m_ownFont ? m_font : QFont());
        }
        m_control->setGeometry(m_left, m_top, m_width, m_height);
        return;
    }
    const QRect scaled(RoundHalfEven(m_left * widthRatio), RoundHalfEven(m_top * heightRatio),
                       RoundHalfEven(m_width * widthRatio), RoundHalfEven(m_height * heightRatio));
    if (m_resizeFonts) {
        ApplyFont(heightRatio);
    }
    if (QLabel* label = TextLabel(m_control)) {
        FitLabel(*label, scaled);
    } else {
        m_control->setGeometry(scaled);
    }
}

void TSingleResizer::ApplyFont(double heightRatio) {
    int size = RoundHalfEven(m_fontSize * heightRatio);
    size = std::min(size, m_maxFontSize);
    size = std::max(size, m_minFontSize);
    QFont font = m_font;
    font.setPointSize(size);
    m_control->setFont(font);
}

// A text label keeps its place and fits itself to its text in the new font. Where it is aligned to
// the right (or centred), the scaled right edge (or centre) stays, so captions stay beside their edits.
void TSingleResizer::FitLabel(QLabel& label, const QRect& scaled) {
    if (label.wordWrap()) {
        label.setGeometry(scaled.left(), scaled.top(), scaled.width(), label.heightForWidth(scaled.width()));
        return;
    }
    const QSize fitted = label.sizeHint();
    const Qt::Alignment alignment = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
    int left = scaled.left();
    if (alignment & Qt::AlignRight) {
        left = scaled.left() + scaled.width() - fitted.width();
    } else if (alignment & Qt::AlignHCenter) {
        left = scaled.left() + (scaled.width() - fitted.width()) / 2;
    }
    label.setGeometry(left, scaled.top(), fitted.width(), fitted.height());
    label.update();
}

namespace {
QObject* CheckedOwner(QObject* owner) {
    if (owner == nullptr) {
        throw EResizerException(QStringLiteral("TFormResizer created without an owner"));
    }
    if (!owner->isWidgetType()) {
        throw EResizerException(QStringLiteral("TFormResizer owner must be a panel or form"));
    }
    return owner;
}
} // namespace

TFormResizer::TFormResizer(QObject* owner) : QObject(CheckedOwner(owner)) {}

TFormResizer::~TFormResizer() = default;

QWidget* TFormResizer::Form() const {
    return static_cast<QWidget*>(parent());
}

void TFormResizer::CaptureLayout() {
    if (m_captured) {
        return;
    }
    m_captured = true;
    QWidget* form = Form();
    m_formHeight = form->height();
    m_formWidth = form->width();
    QList<QWidget*> controls;
    Collect(form, controls);
    m_resizers.reserve(size_t(controls.size()));
    for (QWidget* control : controls) {
        m_resizers.push_back(std::make_unique<TSingleResizer>(control, form, *this));
    }
}

void TFormResizer::ScaleLayout() {
    if (!m_captured || m_formHeight <= 0 || m_formWidth <= 0) {
        return;
    }
    QWidget* form = Form();
    if (m_enforceMinSize && (form->height() < m_formHeight || form->width() < m_formWidth)) {
        form->resize(std::max(form->width(), m_formWidth), std::max(form->height(), m_formHeight));
    }
    const int height = form->height();
    const int width = form->width();
    const double widthRatio = double(width) / m_formWidth;
    const double heightRatio = double(height) / m_formHeight;
    for (const auto& resizer : m_resizers) {
        resizer->Scale(height, width, heightRatio, widthRatio);
        if (OnPostResize) {
            OnPostResize(*this, resizer->Control(), heightRatio, widthRatio);
        }
    }
}

QList<QWidget*> TFormResizer::Controls() const {
    QList<QWidget*> controls;
    for (const auto& resizer : m_resizers) {
        controls.append(resizer->Control());
    }
    return controls;
}
