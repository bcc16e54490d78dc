#include "BackupWriter.h"

#include "BackupError.h"
#include "BackupText.h"
#include "Sha256.h"
#include "TableFiles.h"

#include "store/Schema.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {
const QString DataPrefix = Schema::DataFolder + QLatin1Char('/');
const QString PicturePrefix = Schema::PictureFolder + QLatin1Char('/');
constexpr qint64 BlockSize = 1 << 20;

struct TArchiveFree {
    void operator()(archive* a) const { archive_write_free(a); }
};
struct TEntryFree {
    void operator()(archive_entry* e) const { archive_entry_free(e); }
};

la_ssize_t WriteToFile(archive*, void* file, const void* buffer, size_t length) {
    auto* out = static_cast<QSaveFile*>(file);
    return la_ssize_t(out->write(static_cast<const char*>(buffer), qint64(length)));
}
} // namespace

TBackupWriter::TBackupWriter(QString dataFolder, QString pictureFolder)
    : m_dataFolder(std::move(dataFolder)), m_pictureFolder(std::move(pictureFolder)) {}

QString TBackupWriter::DefaultFileName(const QDate& day) {
    return QStringLiteral("Habitra-%1.zip").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QString TBackupWriter::ProgramVersion() {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(HABITRA_VERSION_MAJOR)
        .arg(HABITRA_VERSION_MINOR)
        .arg(HABITRA_VERSION_PATCH)
        .arg(HABITRA_VERSION_TWEAK);
}

std::vector<TBackupWriter::TSource> TBackupWriter::CopyTables(const QString& copyFolder,
                                                              qint64& itemCount) const {
    const QDir data(m_dataFolder);
    if (!data.exists()) {
        throw EBackupError(BackupText("Backup.NoDataFolder", "Datamappen \"%1\" findes ikke")
                               .arg(QDir::toNativeSeparators(m_dataFolder)));
    }
    if (!QFileInfo::exists(data.filePath(QStringLiteral("Habitra.db")))) {
        throw EBackupError(BackupText("Backup.NoRegister", "Datamappen \"%1\" indeholder ingen Habitra.db")
                               .arg(QDir::toNativeSeparators(m_dataFolder)));
    }
    std::vector<TSource> sources;
    itemCount = 0;
    for (const QFileInfo& info : data.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (TableFiles::IsJournal(info.fileName())) {
            continue;
        }
        TSource source{info.filePath(), DataPrefix + info.fileName(), true, 0};
        if (TableFiles::IsTableFile(info.filePath())) {
            source.File = QDir(copyFolder).filePath(info.fileName());
            TableFiles::Copy(info.filePath(), source.File);
            if (info.fileName() == QLatin1String("Habitra.db")) {
                itemCount = TableFiles::RowCount(source.File, QStringLiteral("Habitra"));
            }
        }
        source.Size = QFileInfo(source.File).size();
        sources.push_back(std::move(source));
    }
    return sources;
}

std::vector<TBackupWriter::TSource> TBackupWriter::Pictures() const {
    std::vector<TSource> sources;
    const QDir folder(m_pictureFolder);
    if (!folder.exists()) {
        return sources;
    }
    QDirIterator it(m_pictureFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        // Hidden folders hold what the program derives from the photos (their previews), made
        // again when missing: a restored register never shows another day's previews.
        const QString relative = folder.relativeFilePath(info.filePath());
        QStringList folders = relative.split(QLatin1Char('/'));
        folders.removeLast();
        if (std::any_of(folders.begin(), folders.end(),
                        [](const QString& name) { return name.startsWith(QLatin1Char('.')); })) {
            continue;
        }
        sources.push_back({info.filePath(), PicturePrefix + relative, false, info.size()});
    }
    std::sort(sources.begin(), sources.end(),
              [](const TSource& a, const TSource& b) { return a.ArchivePath < b.ArchivePath; });
    return sources;
}

TBackupManifest TBackupWriter::Write(const QString& target) {
    const QFileInfo targetInfo(target);
    if (!targetInfo.absoluteDir().exists()) {
        throw EBackupError(BackupText("Backup.NoTargetFolder", "Mappen \"%1\" findes ikke")
                               .arg(QDir::toNativeSeparators(targetInfo.absolutePath())));
    }
    if (targetInfo.isDir()) {
        throw EBackupError(BackupText("Backup.TargetIsFolder", "\"%1\" er en mappe, ikke en fil")
                               .arg(QDir::toNativeSeparators(target)));
    }
    QTemporaryDir copies(QDir::tempPath() + QStringLiteral("/habitra-backup-XXXXXX"));
    if (!copies.isValid()) {
        throw EBackupError(BackupText("Backup.NoTemporary", "Der kunne ikke laves en midlertidig mappe: %1")
                               .arg(copies.errorString()));
    }
    TBackupManifest manifest;
    manifest.Version = ProgramVersion();
    manifest.Created = QDateTime::currentDateTime();
    std::vector<TSource> sources = CopyTables(copies.path(), manifest.ItemCount);
    for (TSource& picture : Pictures()) {
        sources.push_back(std::move(picture));
    }

    TBackupProgressState state;
    state.FilesTotal = int(sources.size());
    for (const TSource& source : sources) {
        state.BytesTotal += source.Size;
    }
    const auto report = [&] {
        if (m_progress && !m_progress(state)) {
            throw EBackupCancelled(BackupText(
                "Backup.Cancelled", "Sikkerhedskopieringen blev afbrudt; der er ikke skrevet noget arkiv"));
        }
    };
    report();

    QSaveFile out(target);
    const auto failWrite = [&](const QString& reason) {
        throw EBackupError(BackupText("Backup.NotWritten", "Sikkerhedskopien \"%1\" kunne ikke skrives: %2")
                               .arg(QDir::toNativeSeparators(target), reason));
    };
    if (!out.open(QIODevice::WriteOnly)) {
        failWrite(out.errorString());
    }
    std::unique_ptr<archive, TArchiveFree> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    archive_write_set_bytes_in_last_block(zip.get(), 1);
    if (archive_write_open2(zip.get(), &out, nullptr, WriteToFile, nullptr, nullptr) != ARCHIVE_OK) {
        failWrite(QString::fromUtf8(archive_error_string(zip.get())));
    }
    const auto archiveError = [&] {
        const QString reason = out.error() != QFileDevice::NoError
                                   ? out.errorString()
                                   : QString::fromUtf8(archive_error_string(zip.get()));
        failWrite(reason);
    };
    const auto addEntry = [&](const QString& path, qint64 size, bool compress) {
        std::unique_ptr<archive_entry, TEntryFree> entry(archive_entry_new());
        archive_entry_set_pathname_utf8(entry.get(), path.toUtf8().constData());
        archive_entry_set_size(entry.get(), size);
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_mtime(entry.get(), manifest.Created.toSecsSinceEpoch(), 0);
        if (compress) {
            archive_write_zip_set_compression_deflate(zip.get());
        } else {
            archive_write_zip_set_compression_store(zip.get());
        }
        if (archive_write_header(zip.get(), entry.get()) != ARCHIVE_OK) {
            archiveError();
        }
    };
    const auto addData = [&](const char* data, qint64 length) {
        if (archive_write_data(zip.get(), data, size_t(length)) != la_ssize_t(length)) {
            archiveError();
        }
    };

    TSha256 hash;
    QByteArray block(BlockSize, Qt::Uninitialized);
    for (const TSource& source : sources) {
        QFile file(source.File);
        if (!file.open(QIODevice::ReadOnly)) {
            failWrite(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(source.File), file.errorString()));
        }
        // The size read now is the size stored; a picture that changes meanwhile is read as far as it was.
        addEntry(source.ArchivePath, source.Size, source.Compress);
        qint64 remaining = source.Size;
        while (remaining > 0) {
            const qint64 read = file.read(block.data(), qMin(remaining, BlockSize));
            if (read <= 0) {
                failWrite(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(source.File),
                                                       read < 0 ? file.errorString()
                                                                : QStringLiteral("short read")));
            }
            hash.Add(QByteArrayView(block.constData(), read));
            addData(block.constData(), read);
            remaining -= read;
            state.BytesDone += read;
            report();
        }
        manifest.Files.push_back({source.ArchivePath, source.Size, hash.HexResult()});
        ++state.FilesDone;
        report();
    }
    const QByteArray json = manifest.ToJson();
    addEntry(TBackupManifest::FileName(), json.size(), true);
    addData(json.constData(), json.size());
    if (archive_write_close(zip.get()) != ARCHIVE_OK) {
        archiveError();
    }
    if (!out.commit()) {
        failWrite(out.errorString());
    }
    return manifest;
}
