#pragma once

#include <QString>

// The texts this folder composes (errors, the manifest's summary). Danish unless the program hands
// in its catalogue of the active language, which the windows own; the folder itself has no windows.
using TBackupTextSource = QString (*)(const char* key, const char* danish);
void SetBackupTextSource(TBackupTextSource source);
QString BackupText(const char* key, const char* danish);
