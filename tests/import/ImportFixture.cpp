#include "ImportFixture.h"

#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>

QSet<QString> TestCategories() {
    return {QStringLiteral("Antikviteter"), QStringLiteral("Bøger"),         QStringLiteral("Møbler"),
            QStringLiteral("Værktøj"),      QStringLiteral("Books"),         QStringLiteral("Furniture"),
            QStringLiteral("Möbel"),        QStringLiteral("Radio/TV/Video")};
}

TImportFixture::TImportFixture() : m_dataPath(m_folder.DataPath()) {
    OpenTables();
}

TImportFixture::TImportFixture(const QString& dataFolder) : m_dataPath(dataFolder) {
    OpenTables();
}

void TImportFixture::OpenTables() {
    Schema::CreateMissingTables(m_dataPath);
    const auto open = [this](TTable& table, const QString& file, std::vector<TFieldDef> fields) {
        table.SetDatabaseName(m_dataPath);
        table.SetTableName(file);
        table.SetFieldDefs(std::move(fields));
        table.SetFormatSettings(TFormatSettings::Danish());
        table.Open();
    };
    open(m_items, Schema::ItemFile, Schema::ItemFields());
    open(m_counter, Schema::CounterFile, Schema::CounterFields());
}

QString TImportFixture::WriteFile(const QString& name, const QByteArray& bytes) const {
    const QString path = QDir(m_dataPath).filePath(QStringLiteral("../") + name);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    return path;
}

TImportSession TImportFixture::Session(const QString& path, const QHash<QString, QString>& labels) const {
    std::vector<TFieldDef> importable;
    for (const TFieldDef& field : Schema::ItemFields()) {
        if (field.Name != QLatin1String("Foto")) {
            importable.push_back(field);
        }
    }
    QHash<QString, QStringList> captions;
    captions[QStringLiteral("Beskrivelse")] << QStringLiteral("Description") << QStringLiteral("Titel");
    captions[QStringLiteral("Kobsdato")] << QStringLiteral("Købsdato") << QStringLiteral("Purchase date");
    captions[QStringLiteral("Vaerdi")] << QStringLiteral("Værdi") << QStringLiteral("Value");
    captions[QStringLiteral("Kategori")] << QStringLiteral("Category");
    TImportValidator validator(Schema::ItemFields(), TestCategories(),
                               TStoredItemKeys::Read(m_items.FilePath()));
    validator.SetCaptions(labels);
    return TImportSession(TImportText::FromFile(path), THeaderMatcher(importable, captions),
                          std::move(validator), TImportConventions::Regional(TFormatSettings::Danish()));
}

TImportResult TImportFixture::Write(const TImportSession& session, const TImportWriter::TProgress& progress) {
    TImportWriter writer(m_items, m_counter);
    return writer.Write(session.Rows(), session.Mapping().ImportDuplicates, progress);
}

QStringList TImportFixture::StoredItems() const {
    TSqliteDatabase db;
    db.Open(m_items.FilePath());
    TSqliteStatement query(
        db, QStringLiteral("SELECT Beskrivelse, Fabrikat, Model, Identifikation, Kobssted, Kobsdato, "
                           "Vaerdi, Notater, Foto, Kategori FROM Habitra ORDER BY rowid"));
    QStringList items;
    while (query.Step()) {
        QStringList values;
        for (int c = 0; c < query.ColumnCount(); ++c) {
            values << (query.IsNull(c) ? QStringLiteral("<null>") : query.Text(c));
        }
        items << values.join(QLatin1Char('|'));
    }
    return items;
}

QList<qint64> TImportFixture::CounterNumbers() const {
    TSqliteDatabase db;
    db.Open(m_counter.FilePath());
    TSqliteStatement query(db, QStringLiteral("SELECT Regnr FROM Regnr ORDER BY Regnr"));
    QList<qint64> numbers;
    while (query.Step()) {
        numbers << query.Int64(0);
    }
    return numbers;
}
