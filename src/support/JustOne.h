#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QWidget;

// Lets one copy of the program run per user. Constructing it checks for a running copy through a local
// socket named after the program and the user: when one answers, it is told to come forward and
// IsFirst() is false, so start-up ends before anything is saved. Otherwise this copy listens, and a
// later start brings its last active window forward. A socket left by a copy that crashed is replaced.
class TJustOne : public QObject {
    Q_OBJECT
public:
    explicit TJustOne(QObject* owner);
    ~TJustOne() override;

    bool IsFirst() const { return m_first; }
    // The socket name for this program and user.
    static QString ServerName();
    // Restores and raises the modal window when one is open, else `window`.
    static void BringForward(QWidget* window);

    // Replaces what the running copy does when a second start asks it to come forward
    // (by default BringForward on the owner's window).
    std::function<void()> OnActivate;

private:
    bool TellRunningCopy(const QString& name);
    void Listen(const QString& name);
    void Accept();
    void Activate();

    QLocalServer* m_server = nullptr;
    bool m_first = true;
};
