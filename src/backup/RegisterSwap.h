#pragma once

#include <QString>
#include <functional>

// Puts a restored register in place of the current one without deleting anything: the current data
// and picture folders are moved into a dated folder beside them, then the restored ones are moved in.
// A failure on the way puts every folder back where it was.
class TRegisterSwap {
public:
    // `asideRoot` is the program folder, where the dated folder "Tidligere-YYYY-MM-DD-HHMMSS" is made.
    TRegisterSwap(QString dataFolder, QString pictureFolder, QString asideRoot);

    // Called before each move with its name ("data aside", "pictures aside", "data in",
    // "pictures in"); a test makes a move fail by throwing.
    std::function<void(const QString& step)> BeforeStep;

    // Moves the folders; on failure puts back what was moved and raises EBackupError.
    void Apply(const QString& restoredData, const QString& restoredPictures);
    // After Apply: the restored folders go back where they came from and the previous ones return.
    void Revert();
    // The dated folder that holds the previous register after Apply.
    const QString& AsideFolder() const { return m_aside; }

private:
    struct TMove {
        QString From;
        QString To;
    };
    void Move(const QString& step, const QString& from, const QString& to);
    void Undo();

    QString m_dataFolder;
    QString m_pictureFolder;
    QString m_asideRoot;
    QString m_aside;
    std::vector<TMove> m_done;
};
