#pragma once

#include "report/Report.h"

#include <QElapsedTimer>
#include <memory>

class QProgressDialog;
class QWidget;

// The window a long inventory list shows while it is laid out: the items done of all, and Cancel.
// It appears only when the layout lasts longer than half a second, and goes once the last item is done,
// before the preview opens.
class TListLayoutProgress {
public:
    explicit TListLayoutProgress(QWidget* parent);
    ~TListLayoutProgress();
    TListLayoutProgress(const TListLayoutProgress&) = delete;
    TListLayoutProgress& operator=(const TListLayoutProgress&) = delete;

    // The progress to hand to the layout: keeps the window up to date a few times a second and
    // returns false once the user has pressed Cancel.
    TReport::TProgress Progress();
    // Hides the window and waits a moment for the window it covered to be active again, so that what
    // its activation does has happened before the caller puts its state back.
    void Close();
    static QString Line(int done, int total);

    // How long a layout runs before the window shows; tests show it at once.
    static int ShowAfterMs;

private:
    bool Step(int done, int total);

    QWidget* m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceShown;
};
