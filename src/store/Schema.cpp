#include "Schema.h"

#include "Error.h"
#include "ItemFields.h"
#include "Sqlite.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString TypeSql(const TFieldDef& def) {
    switch (def.DataType) {
    case ftString:
        return QStringLiteral("VARCHAR(%1)").arg(def.Size);
    case ftInteger:
        return QStringLiteral("INTEGER");
    case ftDate:
        return QStringLiteral("DATE");
    case ftBCD:
        return QStringLiteral("DECIMAL(18,2)");
    case ftMemo:
        return QStringLiteral("MEMO");
    }
    return {};
}

QString CreateTableSql(const QString& table, const std::vector<TFieldDef>& fields,
                       const QString& firstExtra = {}) {
    QStringList columns;
    for (const TFieldDef& def : fields) {
        columns << def.Name + QLatin1Char(' ') + TypeSql(def) + (columns.isEmpty() ? firstExtra : QString());
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(QStringLiteral(", ")));
}

void CreateFile(const QString& path, const QStringList& statements) {
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    {
        TSqliteDatabase db;
        db.Open(partial, true);
        TTransaction transaction(db);
        for (const QString& sql : statements) {
            db.Execute(sql);
        }
        transaction.Commit();
    }
    // Only a complete file ever carries the table's name.
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw EDatabaseError(QStringLiteral("Cannot create table \"%1\"").arg(path), ekCannotCreate, path,
                             QString());
    }
}
} // namespace

std::vector<TFieldDef> Schema::ItemFields() {
    return {
        {ItemField::Beskrivelse, ftString, 60}, {ItemField::Fabrikat, ftString, 60},
        {ItemField::Model, ftString, 60},       {ItemField::Identifikation, ftString, 30},
        {ItemField::Kobssted, ftString, 60},    {ItemField::Kobsdato, ftDate, 0},
        {ItemField::Vaerdi, ftBCD, 0},          {ItemField::Notater, ftMemo, 0},
        {ItemField::Foto, ftInteger, 0},        {ItemField::Kategori, ftString, 30},
    };
}

std::vector<TFieldDef> Schema::CounterFields() {
    return {{CounterField::Regnr, ftInteger, 0}};
}

std::vector<TFieldDef> Schema::SettingsFields() {
    return {
        {SettingsField::Hojde, ftInteger, 0},          {SettingsField::Bredde, ftInteger, 0},
        {SettingsField::Sprog, ftInteger, 0},          {SettingsField::HojdeOversigt, ftInteger, 0},
        {SettingsField::BreddeOversigt, ftInteger, 0},
    };
}

QStringList Schema::CreateMissingTables(const QString& dataFolder) {
    QDir dir(dataFolder);
    if (!dir.exists() && !QDir().mkpath(dataFolder)) {
        throw EDatabaseError(QStringLiteral("Cannot create the data folder \"%1\"").arg(dataFolder),
                             ekCannotCreate, dataFolder, QString());
    }
    QStringList created;
    const auto make = [&](const QString& file, const QStringList& statements) {
        const QString path = dir.filePath(file);
        if (QFileInfo::exists(path)) {
            return;
        }
        CreateFile(path, statements);
        created << file;
    };
    make(ItemFile, {CreateTableSql(QStringLiteral("Habitra"), ItemFields()),
                    QStringLiteral("CREATE INDEX IndexKategori ON Habitra (Kategori)"),
                    QStringLiteral("CREATE INDEX IndexBeskrivelse ON Habitra (Beskrivelse COLLATE NOCASE)")});
    make(CounterFile,
         {CreateTableSql(QStringLiteral("Regnr"), CounterFields(), QStringLiteral(" PRIMARY KEY"))});
    make(SettingsFile, {CreateTableSql(QStringLiteral("Config"), SettingsFields()),
                        QStringLiteral("INSERT INTO Config VALUES (564, 1024, -1, 768, 1024)")});
    return created;
}
