#include "BackupCommand.h"
#include "Program.h"
#include "TerminationWatcher.h"
#include "Unit1.h"

#include "report/ReportFonts.h"
#include "support/JustOne.h"
#include "support/Splash.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char** argv) {
    // A scheduled backup runs without a window, beside a running copy.
    if (const std::optional<int> backup = BackupCommand::Run(argc, argv)) {
        return *backup;
    }
    QApplication app(argc, argv);
    QPointer<TSplash> splash = TSplash::ShowSplash(); // goes by itself once the main window shows
    app.setApplicationName(QStringLiteral("Habitra"));
    ReportFonts::Install();

    TProgram program(TFormatSettings::FromSystemLocale());
    TForm1& form1 = program.Form1();
    if (!form1.JustOne1->IsFirst()) {
        delete splash;
        return 0; // the running copy was brought forward; this one writes nothing
    }
    TTerminationWatcher watcher(form1);
    form1.show();
    return app.exec();
}
