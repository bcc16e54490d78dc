// The start-up benchmark's baseline: a minimal Qt Widgets program that opens one empty window.
#include "toolkit/FirstPaintProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    TFirstPaintProbe::Watch(window);
    window.show();
    return app.exec();
}
