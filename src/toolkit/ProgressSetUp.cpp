#include "ProgressSetUp.h"

#include <QProgressDialog>

void SetUpProgress(QProgressDialog& dialog, const QString& name, const QString& title, const QString& cancel,
                   int delayMs) {
    dialog.setObjectName(name);
    dialog.setWindowTitle(title);
    dialog.setCancelButtonText(cancel);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(delayMs);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
}
