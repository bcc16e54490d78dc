#include "BackupCommand.h"
#include "CommandLine.h"
#include "Installation.h"
#include "Program.h"
#include "TerminationWatcher.h"
#include "Unit1.h"

#include "report/ReportFonts.h"
#include "support/JustOne.h"
#include "support/Splash.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/FirstPaintProbe.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char** argv) {
    // A scheduled backup runs without a window, beside a running copy.
    if (const std::optional<int> backup = BackupCommand::Run(argc, argv)) {
        return *backup;
    }
    const TCommandLine commandLine(TCommandLine::Arguments(argc, argv));
    if (commandLine.AnswersAlone()) {
        return commandLine.Answer();
    }
    QApplication app(argc, argv);
    QPointer<TSplash> splash = TSplash::ShowSplash(); // goes by itself once the main window shows
    app.setApplicationName(QStringLiteral("Habitra"));
    app.setDesktopFileName(QStringLiteral("habitra"));
    ReportFonts::Install();

    const TInstallation installation = TInstallation::Locate(QCoreApplication::applicationDirPath(),
                                                             QProcessEnvironment::systemEnvironment());
    try {
        installation.Prepare();
        installation.Enter();
    } catch (const std::exception& error) {
        delete splash; // it would hide the message
        ErrorDisplay::Show(error);
        return 1;
    }
    TProgram program(TFormatSettings::FromSystemLocale(), installation.UserFolder(),
                     installation.ShareFolder());
    TForm1& form1 = program.Form1();
    if (!form1.JustOne1->IsFirst()) {
        delete splash;
        return 0; // the running copy was brought forward; this one writes nothing
    }
    TTerminationWatcher watcher(form1);
    TFirstPaintProbe::Watch(form1);
    form1.show();
    return app.exec();
}
