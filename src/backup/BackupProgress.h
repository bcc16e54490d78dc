#pragma once

#include <QtGlobal>
#include <functional>

// How far a backup or a restore has come. Totals are what is known when the work starts.
struct TBackupProgressState {
    int FilesDone = 0;
    int FilesTotal = 0;
    qint64 BytesDone = 0;
    qint64 BytesTotal = 0;
};

// Told of the progress now and then; returns false to cancel the work.
using TBackupProgress = std::function<bool(const TBackupProgressState&)>;
