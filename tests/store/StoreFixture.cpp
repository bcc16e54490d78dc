#include "StoreFixture.h"

#include "store/Schema.h"

#include <QDir>
#include <QTest>
#include <sqlite3.h>

std::vector<TSeedItem> StandardItems() {
    return {
        {1, QStringLiteral("Møbler"), QStringLiteral("Stol")},
        {2, QStringLiteral("Bøger"), QStringLiteral("Atlas")},
        {3, QStringLiteral("Møbler"), QStringLiteral("bord")},
        {4, QStringLiteral("Antikviteter"), QStringLiteral("Kid's bike")},
        {5, QStringLiteral("møbler"), QStringLiteral("Skab")},
        {6, QStringLiteral("Møbler"), QStringLiteral("Kid's bike")},
        {7, QStringLiteral("Bøger"), QStringLiteral("Zebra")},
    };
}

namespace {
struct TConnection {
    explicit TConnection(const QString& path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            qFatal("cannot open %s: %s", qPrintable(path), sqlite3_errmsg(db));
        }
    }
    ~TConnection() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};
} // namespace

void SeedItems(const QString& path, const std::vector<TSeedItem>& items) {
    TConnection connection(path);
    sqlite3_exec(connection.db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(connection.db, "INSERT INTO Habitra (Foto, Kategori, Beskrivelse) VALUES (?, ?, ?)",
                       -1, &insert, nullptr);
    for (const TSeedItem& item : items) {
        const QByteArray kategori = item.Kategori.toUtf8();
        const QByteArray beskrivelse = item.Beskrivelse.toUtf8();
        sqlite3_bind_int64(insert, 1, item.Foto);
        sqlite3_bind_text(insert, 2, kategori.constData(), int(kategori.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, beskrivelse.constData(), int(beskrivelse.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            qFatal("cannot seed %s: %s", qPrintable(path), sqlite3_errmsg(connection.db));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(connection.db, "COMMIT", nullptr, nullptr, nullptr);
}

QStringList QueryFile(const QString& path, const QString& sql) {
    TConnection connection(path);
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(connection.db, sql.toUtf8().constData(), -1, &query, nullptr) != SQLITE_OK) {
        qFatal("bad query on %s: %s", qPrintable(path), sqlite3_errmsg(connection.db));
    }
    QStringList rows;
    while (sqlite3_step(query) == SQLITE_ROW) {
        QStringList columns;
        for (int c = 0; c < sqlite3_column_count(query); ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, c));
            columns << (text ? QString::fromUtf8(text) : QStringLiteral("<null>"));
        }
        rows << columns.join(QLatin1Char('|'));
    }
    sqlite3_finalize(query);
    return rows;
}

void OpenTable(TTable& table, const QString& dataFolder, const QString& file) {
    table.SetDatabaseName(dataFolder);
    table.SetTableName(file);
    if (file == Schema::ItemFile) {
        table.SetFieldDefs(Schema::ItemFields());
    } else if (file == Schema::CounterFile) {
        table.SetFieldDefs(Schema::CounterFields());
    } else {
        table.SetFieldDefs(Schema::SettingsFields());
    }
    table.SetFormatSettings(TFormatSettings::Danish());
    table.Open();
}

TItemTableFixture::TItemTableFixture(const std::vector<TSeedItem>& items) {
    SeedItems(ItemPath(), items);
    OpenTable(Table, Folder.DataPath(), Schema::ItemFile);
    Source.SetDataSet(&Table);
}

QString TItemTableFixture::ItemPath() const {
    return QDir(Folder.DataPath()).filePath(Schema::ItemFile);
}

QList<qint64> TItemTableFixture::VisibleFotos() const {
    QList<qint64> fotos;
    const int foto = Table.FieldByName(QStringLiteral("Foto"))->Index();
    for (int row = 0; row < Table.RecordCount(); ++row) {
        fotos << Table.RowValue(row, foto).toLongLong();
    }
    return fotos;
}

qint64 TItemTableFixture::CurrentFoto() const {
    return Table.FieldByName(QStringLiteral("Foto"))->AsInteger();
}

QStringList TItemTableFixture::StoredDescriptions() const {
    return QueryFile(ItemPath(), QStringLiteral("SELECT Beskrivelse FROM Habitra ORDER BY rowid"));
}
