#include "TerminationWatcher.h"
#include "Unit1.h"

#include "store/FormatSettings.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Habitra"));
    app.setApplicationDisplayName(QStringLiteral("Habitra"));
    const TFormatSettings settings = TFormatSettings::FromSystemLocale();

    TForm1 form1(settings);
    TTerminationWatcher watcher(form1);
    form1.show();
    return app.exec();
}
