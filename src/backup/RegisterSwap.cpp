#include "RegisterSwap.h"

#include "BackupError.h"
#include "BackupText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

TRegisterSwap::TRegisterSwap(QString dataFolder, QString pictureFolder, QString asideRoot)
    : m_dataFolder(QFileInfo(dataFolder).absoluteFilePath()),
      m_pictureFolder(QFileInfo(pictureFolder).absoluteFilePath()), m_asideRoot(std::move(asideRoot)) {}

void TRegisterSwap::Move(const QString& step, const QString& from, const QString& to) {
    if (BeforeStep) {
        BeforeStep(step);
    }
    if (!QDir().rename(from, to)) {
        throw EBackupError(BackupText("Backup.NotMoved", "Mappen \"%1\" kunne ikke flyttes til \"%2\"")
                               .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to)));
    }
    m_done.push_back({from, to});
}

void TRegisterSwap::Undo() {
    while (!m_done.empty()) {
        const TMove move = m_done.back();
        m_done.pop_back();
        QDir().rename(move.To, move.From);
    }
}

void TRegisterSwap::Apply(const QString& restoredData, const QString& restoredPictures) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    m_aside = QDir(m_asideRoot).filePath(QStringLiteral("Tidligere-") + stamp);
    for (int n = 2; QFileInfo::exists(m_aside); ++n) {
        m_aside = QDir(m_asideRoot).filePath(QStringLiteral("Tidligere-%1-%2").arg(stamp).arg(n));
    }
    if (!QDir().mkpath(m_aside)) {
        throw EBackupError(BackupText("Backup.NoAside", "Mappen \"%1\" kunne ikke oprettes")
                               .arg(QDir::toNativeSeparators(m_aside)));
    }
    const QDir aside(m_aside);
    try {
        if (QFileInfo::exists(m_dataFolder)) {
            Move(QStringLiteral("data aside"), m_dataFolder,
                 aside.filePath(QFileInfo(m_dataFolder).fileName()));
        }
        if (QFileInfo::exists(m_pictureFolder)) {
            Move(QStringLiteral("pictures aside"), m_pictureFolder,
                 aside.filePath(QFileInfo(m_pictureFolder).fileName()));
        }
        Move(QStringLiteral("data in"), restoredData, m_dataFolder);
        Move(QStringLiteral("pictures in"), restoredPictures, m_pictureFolder);
    } catch (...) {
        Undo();
        QDir().rmdir(m_aside); // only when empty again
        throw;
    }
}

void TRegisterSwap::Revert() {
    Undo();
    QDir().rmdir(m_aside);
}
