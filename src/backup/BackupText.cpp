#include "BackupText.h"

#include <atomic>

namespace {
std::atomic<TBackupTextSource> Source{nullptr};
}

void SetBackupTextSource(TBackupTextSource source) {
    Source = source;
}

QString BackupText(const char* key, const char* danish) {
    const TBackupTextSource source = Source;
    return source ? source(key, danish) : QString::fromUtf8(danish);
}
