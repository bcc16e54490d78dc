#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>

// Start-up timing: with HABITRA_EXIT_AFTER_PAINT set, the first paint of the watched window writes
// the line "painted" to standard output and the program quits once that paint has been flushed;
// unset, Watch installs nothing. Header only, so that the benchmark's empty window uses the same.
class TFirstPaintProbe : public QObject {
public:
    static void Watch(QWidget& window) {
        if (qEnvironmentVariableIsSet("HABITRA_EXIT_AFTER_PAINT")) {
            window.installEventFilter(new TFirstPaintProbe(&window));
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == parent() && !m_painted) {
            m_painted = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::fputs("painted\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    explicit TFirstPaintProbe(QObject* window) : QObject(window) {}

    bool m_painted = false;
};
