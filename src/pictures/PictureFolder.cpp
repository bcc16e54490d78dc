#include "PictureFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TPictureFolder::TPictureFolder() : m_path(FindIn(QCoreApplication::applicationDirPath(), FolderName)) {}

TPictureFolder::TPictureFolder(const QString& path) : m_path(path) {}

QString TPictureFolder::FileName(const QString& foto) const {
    return QDir(m_path).filePath(foto + QStringLiteral(".jpg"));
}

QString TPictureFolder::Find(const QString& name) const {
    return FindIn(m_path, name);
}

QString TPictureFolder::ItemPicture(const QString& foto) const {
    return Find(foto + QStringLiteral(".jpg"));
}

QString TPictureFolder::FindIn(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QString wanted = dir.filePath(name);
    if (name.isEmpty() || QFileInfo::exists(wanted)) {
        return wanted;
    }
    // Sorted, so that of several spellings the same one always wins.
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return dir.filePath(entry);
        }
    }
    return wanted;
}
