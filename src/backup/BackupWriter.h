#pragma once

#include "BackupManifest.h"
#include "BackupProgress.h"

#include <QDate>
#include <QString>

// Writes the register into one zip archive: every table file of the data folder, copied through the
// engine so that it is consistent while the program runs; every file of the picture folder but those
// in its hidden folders (previews the program makes again), stored
// as it is (photos do not shrink); and the manifest with a SHA-256 of each. The archive is written
// beside the target under a temporary name and takes the target's name only when it is complete.
class TBackupWriter {
public:
    TBackupWriter(QString dataFolder, QString pictureFolder);
    void SetProgress(TBackupProgress progress) { m_progress = std::move(progress); }

    // Raises EBackupError (EBackupCancelled when the progress asked to stop); the target is then
    // as it was before.
    TBackupManifest Write(const QString& target);

    // "Habitra-YYYY-MM-DD.zip"
    static QString DefaultFileName(const QDate& day);
    static QString ProgramVersion();

private:
    struct TSource {
        QString File;        // what is read
        QString ArchivePath; // where it goes in the archive
        bool Compress = false;
        qint64 Size = 0;
    };
    std::vector<TSource> CopyTables(const QString& copyFolder, qint64& itemCount) const;
    std::vector<TSource> Pictures() const;

    QString m_dataFolder;
    QString m_pictureFolder;
    TBackupProgress m_progress;
};
