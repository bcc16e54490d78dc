#pragma once

#include "store/Error.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QWidget;
class TFormResizer;

class EResizerException : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// Rounds to the nearest integer, a value exactly halfway going to the even neighbour (7.5 -> 8, 4.5 -> 4).
int RoundHalfEven(double value);

// The recorded layout of one control: where it was when the window had its recorded size.
class TSingleResizer {
public:
    TSingleResizer(QWidget* control, QWidget* form, const TFormResizer& resizer);

    // Re-applies the recorded bounds (and font) for the window's current size.
    void Scale(int formHeight, int formWidth, double heightRatio, double widthRatio);
    QWidget* Control() const { return m_control; }

private:
    bool FillsParent() const;
    void ApplyFont(double heightRatio);
    void FitLabel(QLabel& label, const QRect& scaled);

    QPointer<QWidget> m_control;
    int m_top, m_left, m_width, m_height;
    int m_formHeight, m_formWidth;
    bool m_ownFont;
    QFont m_font;
    double m_fontSize; // points
    bool m_resizeFonts;
    int m_minFontSize, m_maxFontSize;
};

// Keeps every control of its window in proportion to the window: CaptureLayout records the designed
// layout once, ScaleLayout re-applies it scaled to the window's current size. Scaling always starts
// from the recorded layout, so no rounding error builds up.
//
// A control that fills its parent is left to its parent: the window marks such a control with the
// dynamic property "align" set to "client". Controls placed by a Qt layout (a main window's central
// widget and menu bar, the pages of a tab widget) are treated the same way.
class TFormResizer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool ResizeFonts READ ResizeFonts WRITE SetResizeFonts)
    Q_PROPERTY(int MinFontSize READ MinFontSize WRITE SetMinFontSize)
    Q_PROPERTY(int MaxFontSize READ MaxFontSize WRITE SetMaxFontSize)
    Q_PROPERTY(bool EnforceMinSize READ EnforceMinSize WRITE SetEnforceMinSize)

public:
    using TPostResizeEvent =
        std::function<void(TFormResizer& sender, QWidget* comp, double heightRatio, double widthRatio)>;

    explicit TFormResizer(QObject* owner);
    ~TFormResizer() override;

    void CaptureLayout();
    void ScaleLayout();

    bool ResizeFonts() const { return m_resizeFonts; }
    void SetResizeFonts(bool on) { m_resizeFonts = on; }
    int MinFontSize() const { return m_minFontSize; }
    void SetMinFontSize(int points) { m_minFontSize = points; }
    int MaxFontSize() const { return m_maxFontSize; }
    void SetMaxFontSize(int points) { m_maxFontSize = points; }
    bool EnforceMinSize() const { return m_enforceMinSize; }
    void SetEnforceMinSize(bool on) { m_enforceMinSize = on; }
    bool IsCaptured() const { return m_captured; }
    // Controls with a record, in recording order.
    QList<QWidget*> Controls() const;

    TPostResizeEvent OnPostResize;

private:
    QWidget* Form() const;

    bool m_resizeFonts = false;
    int m_minFontSize = 8;
    int m_maxFontSize = 48;
    bool m_enforceMinSize = false;
    bool m_captured = false;
    int m_formHeight = 0;
    int m_formWidth = 0;
    std::vector<std::unique_ptr<TSingleResizer>> m_resizers;
};
