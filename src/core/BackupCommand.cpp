#include "BackupCommand.h"

#include "Installation.h"

#include "backup/BackupError.h"
#include "backup/BackupReminder.h"
#include "backup/BackupText.h"
#include "backup/BackupWriter.h"
#include "pictures/PictureFolder.h"
#include "store/ProgramSettings.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace {
const char* const Option = "--backup";

// The program folder of a command-line run: the working folder when it holds the register, as it
// does for the installed program; otherwise the folder of the program file.
QString ProgramFolder() {
    if (QFileInfo(QDir::current().filePath(Schema::DataFolder)).isDir()) {
        return QDir::currentPath();
    }
    // Else where the window would find them: beside the executable or in the user's data folder.
    return TInstallation::Locate(QCoreApplication::applicationDirPath(),
                                 QProcessEnvironment::systemEnvironment())
        .UserFolder();
}
} // namespace

QString BackupCommand::Usage() {
    return BackupText("Backup.Usage",
                      "  --backup MAPPE_ELLER_FIL  skriver en sikkerhedskopi af registret og billederne "
                      "uden at åbne et vindue (en mappe får navnet Habitra-ÅÅÅÅ-MM-DD.zip)");
}

QString BackupCommand::Target(const QString& folderOrFile, const QDate& day) {
    const QFileInfo info(folderOrFile);
    if (info.isDir() || folderOrFile.endsWith(QLatin1Char('/'))) {
        return QDir(folderOrFile).filePath(TBackupWriter::DefaultFileName(day));
    }
    return folderOrFile;
}

int BackupCommand::Backup(const QString& folderOrFile, const QString& programFolder, QTextStream& out,
                          QTextStream& err) {
    if (folderOrFile.isEmpty()) {
        err << "habitra: " << BackupText("Backup.UsageMissing", "--backup kræver en mappe eller et filnavn")
            << '\n'
            << Usage() << '\n';
        return 2;
    }
    const QString target = QFileInfo(Target(folderOrFile, QDate::currentDate())).absoluteFilePath();
    const QDir folder(programFolder);
    try {
        TBackupWriter writer(folder.filePath(Schema::DataFolder),
                             folder.filePath(TPictureFolder::FolderName));
        const TBackupManifest manifest = writer.Write(target);
        TProgramSettings settings;
        settings.Open(folder.filePath(Schema::DataFolder));
        if (!settings.IsReadOnly()) {
            settings.SetValue(BackupReminder::LastDateSetting,
                              BackupReminder::SettingValue(manifest.Created));
        }
        out << BackupText("Backup.Written", "Sikkerhedskopi skrevet: %1 (%2 genstande, %3 filer)")
                   .arg(QDir::toNativeSeparators(target))
                   .arg(manifest.ItemCount)
                   .arg(manifest.Files.size())
            << '\n';
        return 0;
    } catch (const EHabitraError& error) {
        err << "habitra: " << error.Message() << '\n';
    } catch (const std::exception& error) {
        err << "habitra: " << error.what() << '\n';
    }
    return 1;
}

std::optional<int> BackupCommand::Run(int argc, char** argv) {
    int at = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], Option) == 0 || std::strncmp(argv[i], "--backup=", 9) == 0) {
            at = i;
            break;
        }
    }
    if (at == 0) {
        return std::nullopt;
    }
    // No window and no display: a core application is all the work needs.
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString given = arguments.at(at);
    const QString value = given.startsWith(QLatin1String("--backup="))
                              ? given.mid(9)
                              : (at + 1 < arguments.size() ? arguments.at(at + 1) : QString());
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Backup(value, ProgramFolder(), out, err);
}
