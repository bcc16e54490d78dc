#include "BackupProgressDialog.h"

#include "localisation/TextCatalogue.h"
#include "toolkit/ProgressSetUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

TBackupProgressDialog::TBackupProgressDialog(QWidget* parent, const QString& title)
    : m_dialog(std::make_unique<QProgressDialog>(parent)) {
    SetUpProgress(*m_dialog, QStringLiteral("BackupProgress"), title, LocalText("Backup.Cancel", "Annuller"),
                  400);
    m_dialog->setRange(0, 1000);
    m_dialog->setMinimumWidth(420);
    m_dialog->setValue(0);
}

TBackupProgressDialog::~TBackupProgressDialog() = default;

QString TBackupProgressDialog::Line(const TBackupProgressState& state) {
    const auto megabytes = [](qint64 bytes) {
        return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
    };
    if (state.FilesTotal > 0) {
        return LocalText("Backup.ProgressFiles", "%1 af %2 filer, %3 af %4 MB")
            .arg(state.FilesDone)
            .arg(state.FilesTotal)
            .arg(megabytes(state.BytesDone), megabytes(state.BytesTotal));
    }
    return LocalText("Backup.ProgressRead", "%1 filer, %2 af %3 MB læst")
        .arg(state.FilesDone)
        .arg(megabytes(state.BytesDone), megabytes(state.BytesTotal));
}

TBackupProgress TBackupProgressDialog::Progress() {
    auto shown = std::make_shared<QElapsedTimer>();
    return [this, shown](const TBackupProgressState& state) {
        // The window is brought up to date a few times a second; more would only slow the work.
        if (!shown->isValid() || shown->elapsed() > 100 || state.FilesDone == state.FilesTotal) {
            shown->start();
            m_dialog->setLabelText(Line(state));
            m_dialog->setValue(state.BytesTotal > 0 ? int(state.BytesDone * 1000 / state.BytesTotal) : 0);
            QApplication::processEvents();
        }
        return !m_dialog->wasCanceled();
    };
}
