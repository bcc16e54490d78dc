#include "ExportFixture.h"

#include "export/DataExportASCII.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

TItemTable::TItemTable() {
    m_table.SetDatabaseName(m_folder.DataPath());
    m_table.SetTableName(Schema::ItemFile);
    m_table.SetFieldDefs(Schema::ItemFields());
    m_table.SetFormatSettings(TFormatSettings::Danish());
    m_table.Open();
}

void TItemTable::Add(const TItem& item) {
    m_table.Append();
    const auto text = [&](const char* name, const QString& value) {
        m_table.FieldByName(QLatin1String(name))->SetValue(value.isEmpty() ? QVariant() : QVariant(value));
    };
    text("Beskrivelse", item.Beskrivelse);
    text("Fabrikat", item.Fabrikat);
    text("Model", item.Model);
    text("Identifikation", item.Identifikation);
    text("Kobssted", item.Kobssted);
    text("Notater", item.Notater);
    text("Kategori", item.Kategori);
    m_table.FieldByName(QStringLiteral("Kobsdato"))->SetAsDate(item.Kobsdato);
    if (item.VaerdiCents) {
        m_table.FieldByName(QStringLiteral("Vaerdi"))->SetAsMoney(TMoney::FromCents(*item.VaerdiCents));
    }
    if (item.Foto) {
        m_table.FieldByName(QStringLiteral("Foto"))->SetAsInteger(*item.Foto);
    }
    m_table.Post();
}

void TItemTable::AddMany(int count, const std::function<TItem(int)>& make) {
    TSqliteDatabase db;
    db.Open(m_table.FilePath());
    TTransaction transaction(db);
    TSqliteStatement insert(
        db, QStringLiteral("INSERT INTO Habitra (Beskrivelse, Fabrikat, Model, Identifikation, "
                           "Kobssted, Kobsdato, Vaerdi, Notater, Foto, Kategori) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?)"));
    const auto text = [](const QString& value) { return value.isEmpty() ? QVariant() : QVariant(value); };
    for (int i = 0; i < count; ++i) {
        const TItem item = make(i);
        insert.BindAll({text(item.Beskrivelse), text(item.Fabrikat), text(item.Model),
                        text(item.Identifikation), text(item.Kobssted),
                        item.Kobsdato.isValid() ? QVariant(item.Kobsdato.toString(Qt::ISODate)) : QVariant(),
                        item.VaerdiCents ? QVariant(*item.VaerdiCents) : QVariant(), text(item.Notater),
                        item.Foto ? QVariant(*item.Foto) : QVariant(), text(item.Kategori)});
        insert.Execute();
        insert.Reset();
    }
    transaction.Commit();
    m_table.Refresh();
}

bool TRecordingPlatform::OpenDocument(const QString& pathOrUrl) {
    Opened.push_back({pathOrUrl, QFileInfo(pathOrUrl).size()});
    return true;
}

TPlatformScope::TPlatformScope() {
    auto recording = std::make_unique<TRecordingPlatform>();
    m_recording = recording.get();
    m_previous = TPlatform::Install(std::move(recording));
}

TPlatformScope::~TPlatformScope() {
    TPlatform::Install(std::move(m_previous));
}

std::unique_ptr<TDataExportASCII> MakeExporter(TTable& table) {
    auto exporter = std::make_unique<TDataExportASCII>(TFormatSettings::Danish());
    exporter->setObjectName(QStringLiteral("DataExportASCII1"));
    exporter->SetExportSource(esDataSet);
    exporter->SetDataSet(&table);
    exporter->SetExportType(etCSV);
    exporter->SetCSVComma(QStringLiteral(";"));
    exporter->SetCSVQuote(QLatin1Char('"'));
    exporter->SetCSVQuoteStrings(true);
    exporter->SetAllowCaptions(true);
    exporter->SetShowFile(true);
    return exporter;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QStringList Lines(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    QStringList lines = QString(decoder(bytes)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}
