#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

// What a backup archive holds, written into it as "manifest.json": the program and its version,
// when the backup was taken, how many items the register had, and every other file of the archive
// with its size and SHA-256, so that a restore can check each byte before it changes anything.
struct TBackupManifest {
    struct TEntry {
        QString Path; // in the archive: "Data/Habitra.db", "Billeder/12.jpg"
        qint64 Size = 0;
        QByteArray Sha256; // hexadecimal
    };

    static const QString& FileName();    // "manifest.json"
    static const QString& ProgramName(); // "Habitra"

    QString Version;
    QDateTime Created;
    qint64 ItemCount = 0;
    std::vector<TEntry> Files;

    QByteArray ToJson() const;
    // Raises EBackupError when the text is not a manifest of this program.
    static TBackupManifest FromJson(const QByteArray& json);
    const TEntry* Find(const QString& path) const;
};
