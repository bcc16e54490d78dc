#include "ExportCommand.h"

#include "DataExportASCII.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

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
} // namespace

QString ExportCommand::ConfirmationText(const QString& fileName) {
    return QStringLiteral("Data er exporteret til ") + fileName + QStringLiteral("\n\r") +
           QStringLiteral("Filen kan evt. importeres i et Excel regneark.");
}

bool RunExportCommand(TDataExportASCII& exporter, QWidget* parent) {
    bool written = false;
    ErrorDisplay::Guarded([&] {
        const std::optional<QString> fileName = AskFileName(parent);
        if (!fileName) {
            return;
        }
        exporter.SetFileName(*fileName);
        exporter.RunExport();
        written = true;
        Dialogs::MessageDlg(ExportCommand::ConfirmationText(*fileName), QMessageBox::Information,
                            {Dialogs::mbOK});
    });
    return written;
}
