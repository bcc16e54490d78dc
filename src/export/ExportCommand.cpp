#include "ExportCommand.h"

#include "DataExportASCII.h"
#include "ExportError.h"
#include "localisation/TextCatalogue.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/ProgressSetUp.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {
// The modal file-name question; no value when the user cancels.
std::optional<QString> AskFileName(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ExportFileNameDialog"));
    dialog.setWindowTitle(QStringLiteral("Data export til semikolon separeret fil"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* prompt = new QLabel(QStringLiteral("Skriv et filnavn f.eks. Habitra.txt"), &dialog);
    prompt->setObjectName(QStringLiteral("Prompt"));
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("FileNameEdit"));
    edit->setMaxLength(255);
    edit->setText(ExportCommand::DefaultFileName);
    edit->selectAll();
    prompt->setBuddy(edit);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Annuller"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(360);
    dialog.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return edit->text();
}

// Writes the file under a progress dialog that comes up when the export takes a while; Cancel stops
// it with nothing written. Returns false when cancelled.
bool ExportWithProgress(TDataExportASCII& exporter, QWidget* parent, int delayMs) {
    QProgressDialog progress(parent);
    SetUpProgress(progress, QStringLiteral("ExportProgress"), LocalText("Export.Title", "Data eksport"),
                  LocalText("Export.Cancel", "Annuller"), delayMs);
    progress.setLabelText(LocalText("Export.Writing", "Genstandene skrives til filen ..."));
    progress.setValue(0);
    exporter.SetProgress([&](int done, int total) {
        progress.setMaximum(std::max(total, 1));
        progress.setValue(done);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    struct TDetach {
        TDataExportASCII& Exporter;
        ~TDetach() { Exporter.SetProgress({}); }
    } detach{exporter};
    try {
        exporter.RunExport();
    } catch (const EExportCancelled&) {
        return false;
    }
    return true;
}
} // namespace

QString ExportCommand::ConfirmationText(const QString& fileName) {
    return QStringLiteral("Data er exporteret til ") + fileName + QStringLiteral("\n\r") +
           QStringLiteral("Filen kan evt. importeres i et Excel regneark.");
}

QString ExportCommand::CancelledText() {
    return LocalText("Export.Cancelled", "Eksporten er afbrudt. Der er ikke skrevet nogen fil.");
}

bool RunExportCommand(TDataExportASCII& exporter, QWidget* parent, int progressDelayMs) {
    bool written = false;
    ErrorDisplay::Guarded([&] {
        const std::optional<QString> fileName = AskFileName(parent);
        if (!fileName) {
            return;
        }
        exporter.SetFileName(*fileName);
        if (!ExportWithProgress(exporter, parent, progressDelayMs)) {
            Dialogs::MessageDlg(ExportCommand::CancelledText(), QMessageBox::Information, {Dialogs::mbOK});
            return;
        }
        written = true;
        Dialogs::MessageDlg(ExportCommand::ConfirmationText(*fileName), QMessageBox::Information,
                            {Dialogs::mbOK});
    });
    return written;
}
