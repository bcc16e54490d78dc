#pragma once

#include <QDateTime>
#include <QString>

// When the program reminds the user to take a backup: items exist and the last backup is more than
// 30 days old, or there has been none. The date of the last backup is a program setting.
namespace BackupReminder {
inline const QString LastDateSetting = QStringLiteral("Backup.LastDate");
inline const QString LastFolderSetting = QStringLiteral("Backup.LastFolder");
constexpr int DaysBetweenBackups = 30;

// `lastBackup` as the setting holds it (ISO date and time), empty when there was none.
bool Due(qint64 itemCount, const QString& lastBackup, const QDateTime& now);
QString SettingValue(const QDateTime& moment);
QDateTime FromSetting(const QString& value);
} // namespace BackupReminder
