#pragma once

#include <QDate>
#include <QString>
#include <optional>

class QTextStream;

// `habitra --backup FOLDER_OR_FILE`: writes a backup archive of the register without any window,
// for scheduled backups, also while the program runs. A folder gets the day's default name.
namespace BackupCommand {
// The exit code when the arguments ask for a backup; no value when they do not.
std::optional<int> Run(int argc, char** argv);

// The work of the command for a program folder; the outcome goes to `out`, a failure's reason to
// `err`. Returns the exit code: 0 written, 1 failed, 2 wrong use.
int Backup(const QString& folderOrFile, const QString& programFolder, QTextStream& out, QTextStream& err);
// The archive a FOLDER_OR_FILE argument names on `day`.
QString Target(const QString& folderOrFile, const QDate& day);
// The line of `habitra --help` that describes the command.
QString Usage();
} // namespace BackupCommand
