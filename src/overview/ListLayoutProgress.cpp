#include "ListLayoutProgress.h"

#include "localisation/TextCatalogue.h"
#include "toolkit/ProgressSetUp.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

int TListLayoutProgress::ShowAfterMs = 500;

TListLayoutProgress::TListLayoutProgress(QWidget* parent)
    : m_parent(parent), m_dialog(std::make_unique<QProgressDialog>(parent)) {
    SetUpProgress(*m_dialog, QStringLiteral("ListLayoutProgress"),
                  LocalText("ListReport.Title", "Udskriv liste"), LocalText("ListReport.Cancel", "Annuller"),
                  ShowAfterMs);
    m_dialog->setMinimumWidth(380);
    m_dialog->setLabelText(Line(0, 0));
}

TListLayoutProgress::~TListLayoutProgress() = default;

QString TListLayoutProgress::Line(int done, int total) {
    return LocalText("ListReport.Progress", "Listen sættes op: genstand %1 af %2").arg(done).arg(total);
}

TReport::TProgress TListLayoutProgress::Progress() {
    return [this](int done, int total) { return Step(done, total); };
}

bool TListLayoutProgress::Step(int done, int total) {
    // Redrawing the window more than a few times a second would only slow the layout down; handling
    // the events of each page costs next to nothing and keeps Cancel quick.
    if (!m_sinceShown.isValid() || m_sinceShown.elapsed() > 100 || done == total) {
        m_sinceShown.start();
        if (m_dialog->maximum() != std::max(total, 1)) {
            m_dialog->setRange(0, std::max(total, 1));
        }
        m_dialog->setLabelText(Line(done, total));
        m_dialog->setValue(done);
    }
    QApplication::processEvents();
    const bool go = !m_dialog->wasCanceled();
    if (go && done == total) {
        // The preview then keeps the program busy for a while: the window it covered gets the moment
        // it needs to be drawn again where the progress was.
        m_dialog->hide();
        QEventLoop loop;
        QTimer::singleShot(60, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return go;
}

void TListLayoutProgress::Close() {
    const bool shown = m_dialog->isVisible();
    m_dialog->hide();
    if (!shown || !m_parent) {
        return;
    }
    m_parent->activateWindow();
    QElapsedTimer waited;
    waited.start();
    do {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    } while (!m_parent->isActiveWindow() && waited.elapsed() < 500);
}
