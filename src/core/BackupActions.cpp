#include "BackupActions.h"

#include "BackupProgressDialog.h"
#include "Unit1.h"
#include "ui_Unit1.h"

#include "backup/BackupError.h"
#include "backup/BackupReader.h"
#include "backup/BackupReminder.h"
#include "backup/BackupText.h"
#include "backup/BackupWriter.h"
#include "backup/RegisterSwap.h"
#include "backup/TableFiles.h"
#include "localisation/TextCatalogue.h"
#include "pictures/PictureFolder.h"
#include "register/Register.h"
#include "store/ProgramSettings.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>

namespace {
QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString Megabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
}

int PictureCount(const TBackupManifest& manifest) {
    return int(
        std::count_if(manifest.Files.begin(), manifest.Files.end(), [](const TBackupManifest::TEntry& entry) {
            return entry.Path.startsWith(TPictureFolder::FolderName + QLatin1Char('/')) &&
                   entry.Path.compare(TPictureFolder::FolderName + QLatin1Char('/') +
                                          TPictureFolder::PlaceholderName,
                                      Qt::CaseInsensitive) != 0;
        }));
}
} // namespace

TBackupActions::TBackupActions(TForm1& form) : QObject(&form), m_form(form), m_reminder(CreateReminder()) {
    setObjectName(QStringLiteral("BackupActions1"));
    SetBackupTextSource(&LocalText);
}

QLabel* TBackupActions::CreateReminder() {
    auto* label = new QLabel(m_form.Controls().Panel4);
    label->setObjectName(QStringLiteral("BackupReminder1"));
    label->setGeometry(540, 362, 450, 76); // beside the floor plan, below the buttons
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setStyleSheet(
        QStringLiteral("QLabel { background: #fff6d5; color: #4a3b00; border: 1px solid #e0c060;"
                       " border-radius: 4px; padding: 6px; }"));
    label->hide();
    connect(label, &QLabel::linkActivated, this,
            [this] { ErrorDisplay::Guarded([this] { BackupClick(); }); });
    return label;
}

QString TBackupActions::DataFolder() const {
    return QDir::current().absoluteFilePath(m_form.Register().HabitraTable().DatabaseName());
}

QString TBackupActions::PictureFolder() const {
    return m_form.ProgramFolder() + TPictureFolder::FolderName;
}

QString TBackupActions::ReminderText() const {
    qint64 items = 0;
    try {
        // Counting a large register would cost the start a full read of its file.
        items = TableFiles::HasRows(QDir(DataFolder()).filePath(m_form.Register().HabitraTable().TableName()),
                                    QStringLiteral("Habitra"))
                    ? 1
                    : 0;
    } catch (const EBackupError&) {
        return {}; // no register to speak of
    }
    const QString last = m_form.Register().ProgramSettings().Value(BackupReminder::LastDateSetting);
    const QDateTime now = QDateTime::currentDateTime();
    if (!BackupReminder::Due(items, last, now)) {
        return {};
    }
    const QDateTime lastDate = BackupReminder::FromSetting(last);
    const QString advice =
        lastDate.isValid()
            ? LocalText("Backup.ReminderOld",
                        "Den seneste sikkerhedskopi af registret er fra %1, %2 dage siden.")
                  .arg(lastDate.date().toString(Qt::ISODate))
                  .arg(lastDate.daysTo(now))
            : LocalText("Backup.ReminderNone", "Der er endnu ikke taget en sikkerhedskopi af registret.");
    return advice + QStringLiteral(" <a href=\"backup\">") +
           LocalText("Backup.ReminderLink", "Tag en sikkerhedskopi nu").toHtmlEscaped() +
           QStringLiteral("</a>");
}

void TBackupActions::UpdateReminder() {
    const QString text = ReminderText();
    m_reminder->setText(text);
    m_reminder->setVisible(!text.isEmpty());
}

void TBackupActions::BackupClick() {
    QFileDialog dialog(&m_form);
    dialog.setObjectName(QStringLiteral("BackupSaveDialog"));
    dialog.setWindowTitle(LocalText("Backup.SaveTitle", "Gem sikkerhedskopi"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(LocalText("Backup.Filter", "Sikkerhedskopier (*.zip)"));
    dialog.setDefaultSuffix(QStringLiteral("zip"));
    const QString folder =
        m_form.Register().ProgramSettings().Value(BackupReminder::LastFolderSetting, QDir::homePath());
    dialog.setDirectory(QDir(folder).exists() ? folder : QDir::homePath());
    dialog.selectFile(TBackupWriter::DefaultFileName(QDate::currentDate()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    Backup(dialog.selectedFiles().constFirst());
}

void TBackupActions::RestoreClick() {
    QFileDialog dialog(&m_form);
    dialog.setObjectName(QStringLiteral("RestoreOpenDialog"));
    dialog.setWindowTitle(LocalText("Backup.OpenTitle", "Vælg sikkerhedskopien, der skal gendannes"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(LocalText("Backup.Filter", "Sikkerhedskopier (*.zip)"));
    const QString folder =
        m_form.Register().ProgramSettings().Value(BackupReminder::LastFolderSetting, QDir::homePath());
    dialog.setDirectory(QDir(folder).exists() ? folder : QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    Restore(dialog.selectedFiles().constFirst());
}

bool TBackupActions::Backup(const QString& target) {
    TTable& items = m_form.Register().HabitraTable();
    if (items.Active() && (items.State() == dsEdit || items.State() == dsInsert)) {
        const Dialogs::TModalResult answer = Dialogs::MessageDlg(
            LocalText("Backup.PendingEdit",
                      "Du er ved at redigere en genstand. Skal den gemmes, før sikkerhedskopien tages?"
                      "\n\r\n\rJa: gem den og tag den med.\n\rNej: tag sikkerhedskopien uden "
                      "ændringerne, som ikke er gemt."),
            QMessageBox::Question, {Dialogs::mbYes, Dialogs::mbNo, Dialogs::mbCancel});
        if (answer == Dialogs::mrCancel || answer == Dialogs::mrNone) {
            return false;
        }
        if (answer == Dialogs::mrYes) {
            items.CheckBrowseMode();
        }
    }
    TBackupManifest manifest;
    try {
        TBackupProgressDialog progress(&m_form, LocalText("Backup.ProgressTitle", "Sikkerhedskopi"));
        TBackupWriter writer(DataFolder(), PictureFolder());
        writer.SetProgress(progress.Progress());
        manifest = writer.Write(target);
    } catch (const EBackupCancelled& cancelled) {
        Dialogs::MessageDlg(cancelled.Message(), QMessageBox::Information, {Dialogs::mbOK});
        return false;
    }
    TProgramSettings& settings = m_form.Register().ProgramSettings();
    if (!settings.IsReadOnly()) {
        settings.SetValue(BackupReminder::LastDateSetting, BackupReminder::SettingValue(manifest.Created));
        settings.SetValue(BackupReminder::LastFolderSetting, QFileInfo(target).absolutePath());
    }
    UpdateReminder();
    qint64 bytes = 0;
    for (const TBackupManifest::TEntry& entry : manifest.Files) {
        bytes += entry.Size;
    }
    Dialogs::MessageDlg(
        LocalText("Backup.Done", "Sikkerhedskopien er gemt i\n\r%1\n\r\n\r%2 genstande, %3 billeder, %4 MB.")
            .arg(Native(QFileInfo(target).absoluteFilePath()))
            .arg(manifest.ItemCount)
            .arg(PictureCount(manifest))
            .arg(Megabytes(bytes)),
        QMessageBox::Information, {Dialogs::mbOK});
    return true;
}

bool TBackupActions::Restore(const QString& archive) {
    // Unpacked beside the register, so that putting it in place is a rename on the same disk.
    QTemporaryDir staging(m_form.ProgramFolder() + QStringLiteral(".Gendannelse-XXXXXX"));
    if (!staging.isValid()) {
        throw EBackupError(LocalText("Backup.NoStaging", "Der kunne ikke laves en midlertidig mappe i %1: %2")
                               .arg(Native(m_form.ProgramFolder()), staging.errorString()));
    }
    TBackupManifest manifest;
    try {
        TBackupProgressDialog progress(&m_form,
                                       LocalText("Backup.RestoreProgressTitle", "Gendan sikkerhedskopi"));
        TBackupReader reader(archive);
        reader.SetProgress(progress.Progress());
        manifest = reader.Unpack(staging.path());
    } catch (const EBackupCancelled& cancelled) {
        Dialogs::MessageDlg(cancelled.Message(), QMessageBox::Information, {Dialogs::mbOK});
        return false;
    }
    const QString question =
        LocalText("Backup.RestoreQuestion", "Sikkerhedskopien er taget %1 og indeholder %2 genstande og %3 "
                                            "billeder.\n\r\n\rDet nuværende register "
                                            "flyttes til en mappe med dags dato i programmappen (intet "
                                            "slettes), og sikkerhedskopien sættes i "
                                            "stedet.\n\r\n\rVil du gendanne sikkerhedskopien?")
            .arg(manifest.Created.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
            .arg(manifest.ItemCount)
            .arg(PictureCount(manifest));
    if (Dialogs::MessageDlg(question, QMessageBox::Question, {Dialogs::mbYes, Dialogs::mbNo}) !=
        Dialogs::mrYes) {
        return false;
    }
    Swap(staging.path(), manifest);
    return true;
}

void TBackupActions::Reopen() {
    m_form.OpenTables();
    m_form.PageControl1Change(); // the page shows the items of the register now in place
}

void TBackupActions::Swap(const QString& staging, const TBackupManifest& manifest) {
    const QString lastBackup = m_form.Register().ProgramSettings().Value(BackupReminder::LastDateSetting);
    const QString lastFolder = m_form.Register().ProgramSettings().Value(BackupReminder::LastFolderSetting);
    TRegisterSwap swap(DataFolder(), PictureFolder(), m_form.ProgramFolder());
    swap.BeforeStep = RestoreStep;
    m_form.CloseTables();
    try {
        swap.Apply(QDir(staging).filePath(Schema::DataFolder),
                   QDir(staging).filePath(TPictureFolder::FolderName));
    } catch (...) {
        Reopen();
        throw;
    }
    try {
        if (RestoreStep) {
            RestoreStep(QStringLiteral("open tables"));
        }
        Reopen();
    } catch (...) {
        m_form.CloseTables();
        swap.Revert();
        Reopen();
        throw;
    }
    // The backups taken since the archive was written still exist: the reminder goes by the latest.
    TProgramSettings& settings = m_form.Register().ProgramSettings();
    if (!settings.IsReadOnly()) {
        const QDateTime before = BackupReminder::FromSetting(lastBackup);
        if (before.isValid() &&
            before > BackupReminder::FromSetting(settings.Value(BackupReminder::LastDateSetting))) {
            settings.SetValue(BackupReminder::LastDateSetting, lastBackup);
        }
        if (!lastFolder.isEmpty()) {
            settings.SetValue(BackupReminder::LastFolderSetting, lastFolder);
        }
    }
    UpdateReminder();
    Dialogs::MessageDlg(
        LocalText("Backup.Restored",
                  "Registret er gendannet: %1 genstande fra sikkerhedskopien af %2.\n\r\n\r"
                  "Det tidligere register ligger i\n\r%3")
            .arg(manifest.ItemCount)
            .arg(manifest.Created.toString(QStringLiteral("yyyy-MM-dd HH:mm")), Native(swap.AsideFolder())),
        QMessageBox::Information, {Dialogs::mbOK});
}
