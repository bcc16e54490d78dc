#include "BackupFixture.h"

#include "store/ProgramSettings.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>

#include <archive.h>
#include <archive_entry.h>

TBackupFixture::TBackupFixture() {
    const QDir data(Folder.DataPath());
    TSqliteDatabase items;
    items.Open(data.filePath("Habitra.db"));
    items.Execute(
        "INSERT INTO Habitra VALUES ('Chatol', 'Snedker Ø', 'Rokoko', 'A-1', 'Auktion', '1998-05-17', "
        "'12500.50', 'Arvet fra mormor' || char(13) || char(10) || 'med\tfaneblad', 1, 'Antikviteter')");
    items.Execute(
        "INSERT INTO Habitra VALUES ('Boremaskine', 'Bosch', 'PSB 500', '', 'Bauhaus', '2021-11-02', "
        "'899.95', NULL, 2, 'Værktøj')");
    items.Execute(
        "INSERT INTO Habitra VALUES ('Uden billede', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 3, 'Bøger')");
    TSqliteDatabase counter;
    counter.Open(data.filePath("Regnr.DB"));
    counter.Execute("INSERT INTO Regnr VALUES (1), (2), (3)");
    TSqliteDatabase config;
    config.Open(data.filePath("Config.DB"));
    config.Execute("UPDATE Config SET Hojde = 700, Bredde = 1100, Sprog = 3");
    TProgramSettings settings;
    settings.Open(Folder.DataPath());
    settings.SetValue("Overview.ColumnWidths", "120,80,80");

    QRandomGenerator random(18);
    for (int foto = 1; foto <= 2; ++foto) {
        QByteArray bytes(200000 + foto, Qt::Uninitialized);
        for (char& c : bytes) {
            c = char(random.generate() & 0xFF);
        }
        QFile file(QDir(Folder.PicturePath()).filePath(QStringLiteral("%1.jpg").arg(foto)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
}

QStringList TBackupFixture::Rows(const QString& file, const QString& table) {
    TSqliteDatabase db;
    db.Open(file);
    TSqliteStatement query(db, "SELECT * FROM " + QuotedName(table) + " ORDER BY rowid");
    QStringList rows;
    while (query.Step()) {
        QStringList row;
        for (int column = 0; column < query.ColumnCount(); ++column) {
            row << (query.IsNull(column) ? QStringLiteral("<null>") : query.Text(column));
        }
        rows << row.join('|');
    }
    return rows;
}

QMap<QString, QByteArray> TBackupFixture::Pictures(const QString& folder) {
    QMap<QString, QByteArray> pictures;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        pictures.insert(QDir(folder).relativeFilePath(file.fileName()), file.readAll());
    }
    return pictures;
}

QStringList TBackupFixture::Register(const QString& dataFolder) {
    const QDir data(dataFolder);
    return Rows(data.filePath("Habitra.db"), "Habitra") + Rows(data.filePath("Regnr.DB"), "Regnr") +
           Rows(data.filePath("Config.DB"), "Config");
}

void RewriteArchive(const QString& from, const QString& to,
                    const std::function<bool(const QString& path, QByteArray& bytes)>& change,
                    const QMap<QString, QByteArray>& extra) {
    archive* in = archive_read_new();
    archive_read_support_format_zip_seekable(in);
    archive_read_open_filename(in, QFile::encodeName(from).constData(), 1 << 16);
    archive* out = archive_write_new();
    archive_write_set_format_zip(out);
    archive_write_open_filename(out, QFile::encodeName(to).constData());
    const auto add = [&](const QString& path, const QByteArray& bytes) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, path.toUtf8().constData());
        archive_entry_set_size(entry, bytes.size());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_write_header(out, entry);
        archive_write_data(out, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(entry);
    };
    archive_entry* entry = nullptr;
    while (archive_read_next_header(in, &entry) == ARCHIVE_OK) {
        const QString path = QString::fromUtf8(archive_entry_pathname(entry));
        QByteArray bytes(archive_entry_size(entry), Qt::Uninitialized);
        archive_read_data(in, bytes.data(), size_t(bytes.size()));
        if (change(path, bytes)) {
            add(path, bytes);
        }
    }
    for (auto it = extra.cbegin(); it != extra.cend(); ++it) {
        add(it.key(), it.value());
    }
    archive_read_free(in);
    archive_write_close(out);
    archive_write_free(out);
}

QByteArray ArchiveEntry(const QString& archivePath, const QString& path) {
    QByteArray found;
    RewriteArchive(archivePath, QDir::temp().filePath("habitra-entry-scratch.zip"),
                   [&](const QString& name, QByteArray& bytes) {
                       if (name == path) {
                           found = bytes;
                       }
                       return false;
                   });
    QFile::remove(QDir::temp().filePath("habitra-entry-scratch.zip"));
    return found;
}
