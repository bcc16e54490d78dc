#include "BackupReminder.h"

bool BackupReminder::Due(qint64 itemCount, const QString& lastBackup, const QDateTime& now) {
    if (itemCount <= 0) {
        return false;
    }
    const QDateTime last = FromSetting(lastBackup);
    return !last.isValid() || last.daysTo(now) > DaysBetweenBackups;
}

QString BackupReminder::SettingValue(const QDateTime& moment) {
    return moment.toString(Qt::ISODate);
}

QDateTime BackupReminder::FromSetting(const QString& value) {
    return QDateTime::fromString(value, Qt::ISODate);
}
