#pragma once

#include "backup/BackupProgress.h"

#include <QString>
#include <memory>

class QWidget;
class QProgressDialog;

// The window a long backup or restore shows: files and megabytes done, and a Cancel button. It
// appears only when the work lasts more than a moment.
class TBackupProgressDialog {
public:
    TBackupProgressDialog(QWidget* parent, const QString& title);
    ~TBackupProgressDialog();
    TBackupProgressDialog(const TBackupProgressDialog&) = delete;
    TBackupProgressDialog& operator=(const TBackupProgressDialog&) = delete;

    // The progress to hand to the work: shows the state, lets the window react, returns false once
    // the user has pressed Cancel.
    TBackupProgress Progress();
    static QString Line(const TBackupProgressState& state);

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
