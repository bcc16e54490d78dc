#include "BackupManifest.h"

#include "BackupError.h"
#include "BackupText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

const QString& TBackupManifest::FileName() {
    static const QString name = QStringLiteral("manifest.json");
    return name;
}

const QString& TBackupManifest::ProgramName() {
    static const QString name = QStringLiteral("Habitra");
    return name;
}

QByteArray TBackupManifest::ToJson() const {
    QJsonArray files;
    for (const TEntry& entry : Files) {
        files.append(QJsonObject{{QStringLiteral("path"), entry.Path},
                                 {QStringLiteral("size"), double(entry.Size)},
                                 {QStringLiteral("sha256"), QString::fromLatin1(entry.Sha256)}});
    }
    const QJsonObject root{{QStringLiteral("program"), ProgramName()},
                           {QStringLiteral("version"), Version},
                           {QStringLiteral("created"), Created.toString(Qt::ISODate)},
                           {QStringLiteral("items"), double(ItemCount)},
                           {QStringLiteral("files"), files}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TBackupManifest TBackupManifest::FromJson(const QByteArray& json) {
    const auto refuse = [] {
        throw EBackupError(
            BackupText("Backup.BadManifest",
                       "arkivets indholdsfortegnelse (manifest.json) er ikke fra Habitra eller er ødelagt"));
    };
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        refuse();
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("program")).toString() != ProgramName() ||
        !root.value(QStringLiteral("files")).isArray()) {
        refuse();
    }
    TBackupManifest manifest;
    manifest.Version = root.value(QStringLiteral("version")).toString();
    manifest.Created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);
    manifest.ItemCount = qint64(root.value(QStringLiteral("items")).toDouble(-1));
    if (!manifest.Created.isValid() || manifest.ItemCount < 0) {
        refuse();
    }
    for (const QJsonValue& value : root.value(QStringLiteral("files")).toArray()) {
        const QJsonObject file = value.toObject();
        TEntry entry{file.value(QStringLiteral("path")).toString(),
                     qint64(file.value(QStringLiteral("size")).toDouble(-1)),
                     file.value(QStringLiteral("sha256")).toString().toLatin1()};
        if (entry.Path.isEmpty() || entry.Size < 0 || entry.Sha256.size() != 64 ||
            manifest.Find(entry.Path)) {
            refuse();
        }
        manifest.Files.push_back(std::move(entry));
    }
    return manifest;
}

const TBackupManifest::TEntry* TBackupManifest::Find(const QString& path) const {
    for (const TEntry& entry : Files) {
        if (entry.Path == path) {
            return &entry;
        }
    }
    return nullptr;
}
