#include "DataExportText.h"

#include "ExportError.h"
#include "toolkit/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
[[noreturn]] void RaiseCannotCreate(const QString& fileName, const QString& reason) {
    const QString fullPath = fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
    const QString message = QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath, reason);
    throw EExportError(message, ekCannotCreate, fullPath.isEmpty() ? fileName : fullPath, message);
}

QString SystemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Opens the file for writing, created when missing and emptied when `truncate` is set; the system's
// own text for a failure.
int CreateFile(const QString& fileName, bool truncate) {
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0), 0666);
    if (fd < 0) {
        RaiseCannotCreate(fileName, SystemReason());
    }
    return fd;
}

void WriteInto(TDataExportText& exporter, const QString& fileName, int fd) {
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        RaiseCannotCreate(fileName, file.errorString());
    }
    exporter.ExportTo(file);
}

// The mode a new file gets from the process's mask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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
    const QByteArray target = QFile::encodeName(m_fileName);
    struct stat before {};
    const bool existed = ::lstat(target.constData(), &before) == 0;
    // Opened first as it is, so that a name that cannot be written fails as it always has.
    const int check = CreateFile(m_fileName, false);
    struct stat opened {};
    const bool plainFile =
        ::fstat(check, &opened) == 0 && S_ISREG(opened.st_mode) && (!existed || S_ISREG(before.st_mode));
    if (!plainFile) {
        // A device or a link is written in place.
        ::close(check);
        WriteInto(*this, m_fileName, CreateFile(m_fileName, true));
        AfterRun();
        return;
    }
    ::close(check);
    // Written beside the file and put in its place when complete: a cancelled or failed export leaves
    // the file as it was, or no file when there was none.
    QByteArray temporary = QFile::encodeName(FolderOf(QFileInfo(m_fileName).absoluteFilePath())) + "/." +
                           QFile::encodeName(QFileInfo(m_fileName).fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const QString reason = SystemReason();
        if (!existed) {
            ::unlink(target.constData());
        }
        RaiseCannotCreate(m_fileName, reason);
    }
    ::fchmod(fd, existed ? before.st_mode & 07777 : NewFileMode());
    try {
        WriteInto(*this, m_fileName, fd);
        if (::rename(temporary.constData(), target.constData()) != 0) {
            RaiseCannotCreate(m_fileName, SystemReason());
        }
    } catch (...) {
        ::unlink(temporary.constData());
        if (!existed) {
            ::unlink(target.constData());
        }
        throw;
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
