#pragma once

#include "BackupManifest.h"
#include "BackupProgress.h"

#include <QString>

// Reads a backup archive and checks all of it: that it is a zip archive of this program with a
// manifest, that no entry reaches outside its folder, that every file has the size and SHA-256 the
// manifest gives, and that every table passes the engine's integrity check and has the fields the
// program needs. Nothing of the running register is touched.
class TBackupReader {
public:
    explicit TBackupReader(QString archive);
    void SetProgress(TBackupProgress progress) { m_progress = std::move(progress); }

    // Unpacks the archive into `folder` (empty, on the same disk as the register so that it can be
    // moved into place) as folder/Data and folder/Billeder, and checks it. Raises EBackupError
    // saying what is wrong, or EBackupCancelled.
    TBackupManifest Unpack(const QString& folder);

private:
    void CheckTables(const QString& folder, const TBackupManifest& manifest) const;
    [[noreturn]] void Refuse(const QString& reason) const;

    QString m_archive;
    TBackupProgress m_progress;
};
