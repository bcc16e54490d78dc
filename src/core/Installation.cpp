#include "Installation.h"

#include "localisation/TextCatalogue.h"
#include "pictures/PictureFolder.h"
#include "store/Error.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString WithSeparator(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

void MakeFolder(const QString& folder) {
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        throw EHabitraError(LocalText("Start.FolderNotMade", "Mappen %1 kunne ikke oprettes").arg(folder));
    }
}
} // namespace

TInstallation TInstallation::Locate(const QString& executableFolder, const QProcessEnvironment& environment) {
    TInstallation installation;
    const QDir executable(executableFolder);
    if (QFileInfo(executable.filePath(Schema::DataFolder)).isDir()) {
        installation.m_programFolder = true;
        installation.m_userFolder = WithSeparator(executable.absolutePath());
        return installation;
    }
    installation.m_userFolder = WithSeparator(DataHome(environment) + QStringLiteral("/Habitra"));
    const QString share = executable.absoluteFilePath(QStringLiteral("../share/habitra"));
    if (QFileInfo(share).isDir()) {
        installation.m_shareFolder = WithSeparator(share);
    }
    return installation;
}

QString TInstallation::DataHome(const QProcessEnvironment& environment) {
    const QString xdg = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) {
        return QDir::cleanPath(xdg);
    }
    QString home = environment.value(QStringLiteral("HOME"));
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
        home = QDir::homePath();
    }
    return QDir::cleanPath(home + QStringLiteral("/.local/share"));
}

void TInstallation::Prepare() const {
    if (m_programFolder) {
        return;
    }
    if (!QFileInfo::exists(m_userFolder)) {
        // A register is its user's own: a new data folder is open to its owner alone, as the
        // XDG base directory rules ask of the folders a program makes.
        QDir().mkpath(QFileInfo(QDir::cleanPath(m_userFolder)).path());
        QDir().mkdir(m_userFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString data = m_userFolder + Schema::DataFolder;
    MakeFolder(data);
    try {
        Schema::CreateMissingTables(data);
    } catch (const EHabitraError& error) {
        throw EHabitraError(LocalText("Start.TablesNotMade", "Tabellerne i %1 kunne ikke oprettes: %2")
                                .arg(data, error.Message()));
    }
    const QString pictures = m_userFolder + TPictureFolder::FolderName;
    MakeFolder(pictures);
    const QString placeholder = TPictureFolder::FindIn(pictures, TPictureFolder::PlaceholderName);
    const QString shipped =
        TPictureFolder::FindIn(m_shareFolder + TPictureFolder::FolderName, TPictureFolder::PlaceholderName);
    if (!QFileInfo::exists(placeholder) && !m_shareFolder.isEmpty() && QFileInfo::exists(shipped) &&
        !QFile::copy(shipped, placeholder)) {
        throw EHabitraError(LocalText("Start.PictureNotCopied", "Billedet %1 kunne ikke kopieres til %2")
                                .arg(shipped, pictures));
    }
}

void TInstallation::Enter() const {
    if (!m_programFolder && !QDir::setCurrent(m_userFolder)) {
        throw EHabitraError(
            LocalText("Start.FolderNotOpened", "Mappen %1 kunne ikke åbnes").arg(m_userFolder));
    }
}
