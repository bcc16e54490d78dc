#include "ProgramFolder.h"

#include "store/Schema.h"

#include <QDir>
#include <QFile>

TProgramFolder::TProgramFolder() {
    if (!m_dir.isValid()) {
        return;
    }
    QDir root(m_dir.path());
    root.mkpath(QStringLiteral("Data"));
    root.mkpath(QStringLiteral("Billeder"));
    root.mkpath(QStringLiteral("Help"));
    Schema::CreateMissingTables(DataPath());
    const QDir shipped(SourcePath(QStringLiteral("resources/languages")));
    for (const QString& name : shipped.entryList({QStringLiteral("*.lng")}, QDir::Files)) {
        QFile::copy(shipped.filePath(name), root.filePath(name));
    }
    QFile::copy(SourcePath(QStringLiteral("resources/pictures/Ingen.jpg")),
                PicturePath() + QStringLiteral("/Ingen.jpg"));
}

QString TProgramFolder::DataPath() const {
    return QDir(m_dir.path()).filePath(QStringLiteral("Data"));
}

QString TProgramFolder::PicturePath() const {
    return QDir(m_dir.path()).filePath(QStringLiteral("Billeder"));
}

QString TProgramFolder::FilePath(const QString& relative) const {
    return QDir(m_dir.path()).filePath(relative);
}

QString TProgramFolder::SourcePath(const QString& relative) {
    return QDir(QStringLiteral(HABITRA_SOURCE_DIR)).filePath(relative);
}
