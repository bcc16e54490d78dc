#include "support/JustOne.h"
#include "TestRegistry.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <memory>
#include <unistd.h>

class TestJustOne : public QObject {
    Q_OBJECT

private:
    int m_run = 0;

    QString UniqueName() {
        return QStringLiteral("HabitraGuardTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++m_run);
    }

    static std::unique_ptr<QProcess> StartGuard(const QString& name) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(HABITRA_GUARD_PROGRAM), {name});
        return process;
    }

    static QString ReadLine(QProcess& process) {
        QDeadlineTimer deadline(10000);
        while (!process.canReadLine() && !deadline.hasExpired()) {
            process.waitForReadyRead(100);
        }
        return QString::fromLocal8Bit(process.readLine()).trimmed();
    }

    static void Stop(QProcess& process) {
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 0);
    }

    // Runs `check` with the application named `name`, as the guard names its socket after it.
    template <typename F> static void WithName(const QString& name, F&& check) {
        const QString saved = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(name);
        check();
        QCoreApplication::setApplicationName(saved);
    }

private slots:
    void nameIncludesProgramAndUser() {
        WithName(QStringLiteral("Habitra"), [] {
            QVERIFY(TJustOne::ServerName().startsWith(QStringLiteral("Habitra-")));
            QVERIFY(TJustOne::ServerName().size() > 8);
        });
    }

    void secondStartTellsTheFirstAndEnds() {
        const QString name = UniqueName();
        const auto first = StartGuard(name);
        QCOMPARE(ReadLine(*first), QStringLiteral("first"));

        const auto second = StartGuard(name);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(second->readAllStandardOutput()).trimmed(), QStringLiteral("second"));
        QCOMPARE(ReadLine(*first), QStringLiteral("activated"));

        Stop(*first);
        // The first copy cleaned up after itself: the next start is a first start again.
        const auto third = StartGuard(name);
        QCOMPARE(ReadLine(*third), QStringLiteral("first"));
        Stop(*third);
    }

    void socketOfCrashedCopyDoesNotBlock() {
        const QString name = UniqueName();
        const auto crashed = StartGuard(name);
        QCOMPARE(ReadLine(*crashed), QStringLiteral("first"));
        crashed->kill();
        QVERIFY(crashed->waitForFinished(10000));
        QVERIFY(QFile::exists(QDir(QDir::tempPath()).filePath(name + QStringLiteral("-%1").arg(::getuid()))));

        const auto next = StartGuard(name);
        QCOMPARE(ReadLine(*next), QStringLiteral("first"));
        const auto after = StartGuard(name);
        QVERIFY(after->waitForFinished(10000));
        QCOMPARE(QString::fromLocal8Bit(after->readAllStandardOutput()).trimmed(), QStringLiteral("second"));
        Stop(*next);
    }

    void runningCopyRestoresItsMinimisedWindow() {
        WithName(UniqueName(), [] {
            QWidget window;
            TJustOne guard(&window);
            QVERIFY(guard.IsFirst());
            window.showMinimized();
            QVERIFY(window.isMinimized());

            TJustOne second(nullptr);
            QVERIFY(!second.IsFirst());
            QTRY_VERIFY(!window.isMinimized());
            QVERIFY(window.isVisible());
        });
    }

    void runningCopyBringsItsModalWindowForward() {
        WithName(UniqueName(), [] {
            QWidget window;
            TJustOne guard(&window);
            window.show();
            QDialog modal(&window);
            modal.setModal(true);
            modal.show();
            modal.showMinimized();
            QCOMPARE(QApplication::activeModalWidget(), &modal);

            TJustOne second(nullptr);
            QVERIFY(!second.IsFirst());
            QTRY_VERIFY(!modal.isMinimized());
            QTRY_COMPARE(QApplication::activeWindow(), &modal);
        });
    }
};

HABITRA_TEST(TestJustOne)
#include "JustOneTest.moc"
