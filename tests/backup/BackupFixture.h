#pragma once

#include "ProgramFolder.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <functional>

// A program folder with a small register of its own: items with every kind of field, the counter,
// the settings, a program setting and a few pictures of random bytes.
struct TBackupFixture {
    TProgramFolder Folder;

    TBackupFixture();
    // Every row of a table as text, in storage order: what a round trip must keep.
    static QStringList Rows(const QString& file, const QString& table);
    // The picture folder's files and their bytes.
    static QMap<QString, QByteArray> Pictures(const QString& folder);
    // Every item, counter and settings row of a data folder, one list.
    static QStringList Register(const QString& dataFolder);
};

// Rewrites a zip archive entry by entry: `change` may alter an entry's bytes (or return false to
// leave it out); `extra` entries are added at the end. For making damaged archives in tests.
void RewriteArchive(const QString& from, const QString& to,
                    const std::function<bool(const QString& path, QByteArray& bytes)>& change,
                    const QMap<QString, QByteArray>& extra = {});
// Reads one entry of a zip archive.
QByteArray ArchiveEntry(const QString& archive, const QString& path);
