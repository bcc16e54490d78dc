// support_guard <program name>: prints "first" or "second" as the guard decides; a first copy then
// prints "activated" whenever a later start asks it to come forward, and ends when stdin closes.
#include "support/JustOne.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace {
void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    QCoreApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
    QWidget window;
    TJustOne guard(&window);
    if (!guard.IsFirst()) {
        Say("second");
        return 0;
    }
    guard.OnActivate = [] { Say("activated"); };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    Say("first");
    return app.exec();
}
