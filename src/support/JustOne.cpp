#include "support/JustOne.h"

#include "toolkit/ErrorDisplay.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {
const QByteArray ActivateRequest = QByteArrayLiteral("activate\n");
constexpr int ConnectTimeoutMs = 1000;
} // namespace

TJustOne::TJustOne(QObject* owner) : QObject(owner) {
    const QString name = ServerName();
    if (TellRunningCopy(name)) {
        m_first = false;
        return;
    }
    Listen(name);
}

TJustOne::~TJustOne() = default;

QString TJustOne::ServerName() {
    return QCoreApplication::applicationName() + QLatin1Char('-') + QString::number(::getuid());
}

bool TJustOne::TellRunningCopy(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(ConnectTimeoutMs)) {
        return false;
    }
    socket.write(ActivateRequest);
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void TJustOne::Listen(const QString& name) {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this,
            [this] { ErrorDisplay::Guarded([this] { Accept(); }); });
    if (m_server->listen(name)) {
        return;
    }
    // Nobody answered, so a socket file there was left by a copy that ended without closing it.
    QLocalServer::removeServer(name);
    m_server->listen(name);
}

void TJustOne::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        const auto serve = [this, socket] {
            ErrorDisplay::Guarded([&] {
                while (socket->canReadLine()) {
                    if (socket->readLine() == ActivateRequest) {
                        Activate();
                    }
                }
            });
        };
        connect(socket, &QLocalSocket::readyRead, this, serve);
        connect(socket, &QLocalSocket::disconnected, this, [socket, serve] {
            serve();
            socket->deleteLater();
        });
        serve();
    }
}

void TJustOne::Activate() {
    if (OnActivate) {
        OnActivate();
        return;
    }
    QWidget* window = qobject_cast<QWidget*>(parent());
    BringForward(window != nullptr ? window->window() : nullptr);
}

void TJustOne::BringForward(QWidget* window) {
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr) {
        target = window;
    }
    if (target == nullptr) {
        return;
    }
    if (target->isMinimized()) {
        target->setWindowState((target->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        target->show();
    }
    target->raise();
    target->activateWindow();
}
