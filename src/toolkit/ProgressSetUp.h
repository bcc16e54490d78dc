#pragma once

class QProgressDialog;
class QString;

// Sets a progress dialog up as the program's long tasks show theirs: named for tests, window-modal,
// coming up only once the task has run for `delayMs`, and left open at the end until its owner
// closes it.
void SetUpProgress(QProgressDialog& dialog, const QString& name, const QString& title, const QString& cancel,
                   int delayMs);
