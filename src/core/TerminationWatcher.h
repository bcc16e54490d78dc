#pragma once

#include <QObject>

class QMainWindow;
class QSocketNotifier;

// Ends the program like the close command when the session asks it to stop (SIGTERM, SIGINT, SIGHUP):
// open dialogs are dismissed and the main window closes, so its settings are saved.
class TTerminationWatcher : public QObject {
    Q_OBJECT
public:
    explicit TTerminationWatcher(QMainWindow& window);
    ~TTerminationWatcher() override;

private:
    void Terminate();

    QMainWindow& m_window;
    QSocketNotifier* m_notifier = nullptr;
};
