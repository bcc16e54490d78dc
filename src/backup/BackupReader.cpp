#include "BackupReader.h"

#include "BackupError.h"
#include "BackupText.h"
#include "Sha256.h"
#include "TableFiles.h"

#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {
struct TArchiveFree {
    void operator()(archive* a) const { archive_read_free(a); }
};

struct TUnpacked {
    qint64 Size = 0;
    QByteArray Sha256;
};

// Only files under Data/ and Billeder/ and the manifest itself, by plain relative names.
bool SafePath(const QString& path) {
    if (path == TBackupManifest::FileName()) {
        return true;
    }
    if (path.contains(QLatin1Char('\\')) || path.contains(QChar(0))) {
        return false;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() < 2 || (parts.first() != Schema::DataFolder && parts.first() != Schema::PictureFolder)) {
        return false;
    }
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            return false;
        }
    }
    return parts.first() != Schema::DataFolder || parts.size() == 2;
}
} // namespace

TBackupReader::TBackupReader(QString archive) : m_archive(std::move(archive)) {}

void TBackupReader::Refuse(const QString& reason) const {
    throw EBackupError(BackupText("Backup.Refused", "\"%1\" kan ikke gendannes: %2")
                           .arg(QDir::toNativeSeparators(m_archive), reason));
}

TBackupManifest TBackupReader::Unpack(const QString& folder) {
    const QFileInfo archiveInfo(m_archive);
    if (!archiveInfo.isFile()) {
        Refuse(BackupText("Backup.NoArchive", "filen findes ikke"));
    }
    std::unique_ptr<archive, TArchiveFree> zip(archive_read_new());
    archive_read_support_format_zip_seekable(zip.get());
    const auto damaged = [&] {
        Refuse(BackupText("Backup.Damaged", "arkivet er ødelagt, afkortet eller ikke et zip-arkiv (%1)")
                   .arg(QString::fromUtf8(archive_error_string(zip.get()))));
    };
    if (archive_read_open_filename(zip.get(), QFile::encodeName(m_archive).constData(), 1 << 16) !=
        ARCHIVE_OK) {
        damaged();
    }

    TBackupProgressState state;
    state.BytesTotal = archiveInfo.size();
    const auto report = [&] {
        state.BytesDone = qMin(state.BytesTotal, qint64(archive_filter_bytes(zip.get(), -1)));
        if (m_progress && !m_progress(state)) {
            throw EBackupCancelled(
                BackupText("Backup.RestoreCancelled", "Gendannelsen blev afbrudt; intet er ændret"));
        }
    };
    report();

    const QDir target(folder);
    QHash<QString, TUnpacked> unpacked;
    QByteArray manifestJson;
    bool haveManifest = false;
    TSha256 hash;
    archive_entry* entry = nullptr;
    for (;;) {
        const int rc = archive_read_next_header(zip.get(), &entry);
        if (rc == ARCHIVE_EOF) {
            break;
        }
        if (rc < ARCHIVE_WARN) {
            damaged();
        }
        const char* utf8 = archive_entry_pathname_utf8(entry);
        const QString path = QString::fromUtf8(utf8 ? utf8 : archive_entry_pathname(entry));
        if (archive_entry_filetype(entry) == AE_IFDIR) {
            continue;
        }
        if (archive_entry_filetype(entry) != AE_IFREG || !SafePath(path)) {
            Refuse(BackupText("Backup.ForeignEntry",
                              "arkivet indeholder \"%1\", som ikke hører til en sikkerhedskopi fra Habitra")
                       .arg(path));
        }
        if (unpacked.contains(path) || (path == TBackupManifest::FileName() && haveManifest)) {
            Refuse(BackupText("Backup.Duplicate", "arkivet indeholder \"%1\" to gange").arg(path));
        }
        const bool isManifest = path == TBackupManifest::FileName();
        QFile file(target.filePath(path));
        if (!isManifest) {
            if (!QDir().mkpath(QFileInfo(file.fileName()).absolutePath()) ||
                !file.open(QIODevice::WriteOnly)) {
                throw EBackupError(BackupText("Backup.NotUnpacked", "\"%1\" kunne ikke pakkes ud: %2")
                                       .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
            }
        }
        qint64 size = 0;
        const void* data = nullptr;
        size_t length = 0;
        la_int64_t offset = 0;
        int read;
        while ((read = archive_read_data_block(zip.get(), &data, &length, &offset)) == ARCHIVE_OK) {
            // Stored files come as they lie; a gap would be a sparse file, which no backup has.
            if (offset != size) {
                damaged();
            }
            const char* bytes = static_cast<const char*>(data);
            size += qint64(length);
            if (isManifest) {
                if (manifestJson.size() + qint64(length) > (16 << 20)) {
                    Refuse(BackupText(
                        "Backup.BadManifest",
                        "arkivets indholdsfortegnelse (manifest.json) er ikke fra Habitra eller er ødelagt"));
                }
                manifestJson.append(bytes, qsizetype(length));
                continue;
            }
            hash.Add(QByteArrayView(bytes, qsizetype(length)));
            if (file.write(bytes, qint64(length)) != qint64(length)) {
                throw EBackupError(BackupText("Backup.NotUnpacked", "\"%1\" kunne ikke pakkes ud: %2")
                                       .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
            }
            report();
        }
        if (read != ARCHIVE_EOF) {
            damaged();
        }
        if (isManifest) {
            haveManifest = true;
        } else {
            if (!file.flush()) {
                throw EBackupError(BackupText("Backup.NotUnpacked", "\"%1\" kunne ikke pakkes ud: %2")
                                       .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
            }
            unpacked.insert(path, {size, hash.HexResult()});
            ++state.FilesDone;
        }
        report();
    }
    if (!haveManifest) {
        Refuse(BackupText("Backup.NoManifest", "arkivet har ingen indholdsfortegnelse (manifest.json) og er "
                                               "ikke en sikkerhedskopi fra Habitra"));
    }
    TBackupManifest manifest;
    try {
        manifest = TBackupManifest::FromJson(manifestJson);
    } catch (const EBackupError& error) {
        Refuse(error.Message());
    }
    for (const TBackupManifest::TEntry& expected : manifest.Files) {
        const auto found = unpacked.constFind(expected.Path);
        if (found == unpacked.cend()) {
            Refuse(BackupText("Backup.MissingFile", "filen \"%1\" mangler i arkivet").arg(expected.Path));
        }
        if (found->Size != expected.Size || found->Sha256 != expected.Sha256) {
            Refuse(BackupText("Backup.BadChecksum",
                              "filen \"%1\" er ændret eller beskadiget (kontrolsummen passer ikke)")
                       .arg(expected.Path));
        }
    }
    for (auto it = unpacked.cbegin(); it != unpacked.cend(); ++it) {
        if (!manifest.Find(it.key())) {
            Refuse(BackupText("Backup.Unlisted", "filen \"%1\" står ikke i arkivets indholdsfortegnelse")
                       .arg(it.key()));
        }
    }
    CheckTables(folder, manifest);
    QDir().mkpath(target.filePath(Schema::PictureFolder));
    return manifest;
}

void TBackupReader::CheckTables(const QString& folder, const TBackupManifest& manifest) const {
    const QDir data(QDir(folder).filePath(Schema::DataFolder));
    const std::vector<std::pair<QString, std::vector<TFieldDef>>> required{
        {Schema::ItemFile, Schema::ItemFields()},
        {Schema::CounterFile, Schema::CounterFields()},
        {Schema::SettingsFile, Schema::SettingsFields()},
    };
    for (const auto& [file, fields] : required) {
        const QString path = data.filePath(file);
        if (!QFileInfo::exists(path)) {
            Refuse(BackupText("Backup.MissingTable", "tabellen \"%1\" mangler i arkivet").arg(file));
        }
        if (const QString problem = TableFiles::IntegrityProblem(path); !problem.isEmpty()) {
            Refuse(BackupText("Backup.TableDamaged", "tabellen \"%1\" er beskadiget: %2").arg(file, problem));
        }
        const QString table = QFileInfo(file).completeBaseName();
        if (const QString missing = TableFiles::MissingField(path, table, fields); !missing.isEmpty()) {
            Refuse(BackupText("Backup.TableField", "tabellen \"%1\" mangler feltet %2").arg(file, missing));
        }
    }
    const QString dataPrefix = Schema::DataFolder + QLatin1Char('/');
    for (const TBackupManifest::TEntry& entry : manifest.Files) {
        const QString path = QDir(folder).filePath(entry.Path);
        const bool checked = std::any_of(required.begin(), required.end(), [&](const auto& table) {
            return entry.Path == dataPrefix + table.first;
        });
        if (!checked && entry.Path.startsWith(dataPrefix) && TableFiles::IsTableFile(path)) {
            if (const QString problem = TableFiles::IntegrityProblem(path); !problem.isEmpty()) {
                Refuse(BackupText("Backup.TableDamaged", "tabellen \"%1\" er beskadiget: %2")
                           .arg(QFileInfo(path).fileName(), problem));
            }
        }
    }
}
