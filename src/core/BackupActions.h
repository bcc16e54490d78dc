#pragma once

#include <QObject>
#include <QString>
#include <functional>

class TForm1;
class QLabel;
struct TBackupManifest;

// The main window's backup commands: taking a backup of the register into one archive, restoring
// one, and the note on the front page that reminds the user when the last backup is old.
class TBackupActions : public QObject {
    Q_OBJECT
public:
    explicit TBackupActions(TForm1& form);

    QLabel* Reminder() const { return m_reminder; }
    // Shows or hides the reminder by the register and the date of the last backup.
    void UpdateReminder();

    // "Sikkerhedskopi...": asks where, then backs up.
    void BackupClick();
    // "Gendan sikkerhedskopi...": asks for the archive, then restores it.
    void RestoreClick();

    // Writes the archive; false when the user stopped. An edit in progress is posted first or left
    // out, as the user chooses.
    bool Backup(const QString& target);
    // Checks the archive, asks, and puts it in place of the register; false when nothing changed
    // because the user said no or cancelled. Errors are raised with nothing changed.
    bool Restore(const QString& archive);

    // Called before each step of putting a restored register in place; tests throw from it.
    std::function<void(const QString& step)> RestoreStep;

    QString DataFolder() const;
    QString PictureFolder() const;
    QString ReminderText() const;

private:
    QLabel* CreateReminder();
    void Reopen();
    void Swap(const QString& staging, const TBackupManifest& manifest);

    TForm1& m_form;
    QLabel* m_reminder;
};
