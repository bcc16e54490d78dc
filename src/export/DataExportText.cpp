#include "DataExportText.h"

#include "ExportError.h"
#include "toolkit/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Creates or truncates the file; the system's own text for a failure.
int CreateFile(const QString& fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        const QString fullPath = fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
        const QString message = QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath, reason);
        throw EExportError(message, ekCannotCreate, fullPath.isEmpty() ? fileName : fullPath, message);
    }
    return fd;
}

void EnsureFolder(const QString& fileName) {
    QString folder = TDataExportText::FolderOf(fileName);
    if (folder.isEmpty()) {
        folder = QCoreApplication::applicationDirPath();
    }
    if (QFileInfo(folder).isDir()) {
        return;
    }
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir()) {
        const QString message =
            QStringLiteral("Directory \"%1\" not found and cannot be created").arg(folder);
        throw EExportError(message, ekCannotCreate, folder, message);
    }
}
} // namespace

QString TDataExportText::FolderOf(const QString& fileName) {
    qsizetype end = fileName.lastIndexOf(QLatin1Char('/'));
    while (end > 0 && fileName.at(end - 1) == QLatin1Char('/')) {
        --end;
    }
    return end <= 0 ? QString() : fileName.left(end);
}

void TDataExportText::RunExport() {
    EnsureFolder(m_fileName);
    {
        QFile file;
        const int fd = CreateFile(m_fileName);
        if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            const QString path = QFileInfo(m_fileName).absoluteFilePath();
            const QString message =
                QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString());
            throw EExportError(message, ekCannotCreate, path, message);
        }
        ExportTo(file);
    }
    AfterRun();
}

void TDataExportText::AfterRun() {
    if (m_showFile) {
        TPlatform::Instance().OpenDocument(FileToOpen());
    }
}

QString TDataExportText::FileToOpen() const {
    return QFileInfo(m_fileName).absoluteFilePath();
}
