#include "Register.h"

#include "ScopedFilter.h"

#include "export/DataExportASCII.h"
#include "export/ExportCommand.h"
#include "pictures/BilledReportUnit.h"
#include "pictures/JpegLoader.h"
#include "pictures/PictureFetch.h"
#include "report/ReportImage.h"
#include "report/ReportLabel.h"
#include "store/DataSource.h"
#include "store/FilterParser.h"
#include "store/ItemFields.h"
#include "store/ProgramSettings.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QCoreApplication>

TRegister::TRegister(const TFormatSettings& settings, const QString& dataFolder, QObject* parent)
    : QObject(parent), m_settings(settings), m_dataFolder(dataFolder),
      m_pictures(QCoreApplication::applicationDirPath() + QLatin1Char('/') + TPictureFolder::FolderName),
      m_programSettings(std::make_unique<TProgramSettings>()) {
    CreateTables();
    CreateExporter();
}

TRegister::~TRegister() = default;

void TRegister::CreateTables() {
    const auto table = [this](const char* name, const QString& file, std::vector<TFieldDef> fields) {
        auto* created = new TTable(this);
        created->setObjectName(QLatin1String(name));
        created->SetDatabaseName(m_dataFolder);
        created->SetTableName(file);
        created->SetFieldDefs(std::move(fields));
        created->SetFormatSettings(m_settings);
        return created;
    };
    const auto source = [this](const char* name, TTable* dataSet) {
        auto* created = new TDataSource(this);
        created->setObjectName(QLatin1String(name));
        created->SetDataSet(dataSet);
        return created;
    };
    m_items = table("HabitraTable", Schema::ItemFile, Schema::ItemFields());
    m_itemSource = source("HabitraSource", m_items);
    m_counter = table("RegTable", Schema::CounterFile, Schema::CounterFields());
    m_counterSource = source("RegSource", m_counter);
    m_config = table("ConfigTable", Schema::SettingsFile, Schema::SettingsFields());
    m_configSource = source("ConfigSource", m_config);
}

void TRegister::CreateExporter() {
    m_exporter = new TDataExportASCII(m_settings, this);
    m_exporter->setObjectName(QStringLiteral("DataExportASCII1"));
    m_exporter->SetExportSource(esDataSet);
    m_exporter->SetDataSet(m_items);
    m_exporter->SetExportType(etCSV);
    m_exporter->SetCSVComma(QStringLiteral(";"));
    m_exporter->SetCSVQuote(QLatin1Char('"'));
    m_exporter->SetCSVQuoteStrings(true);
    m_exporter->SetAllowCaptions(true);
    m_exporter->SetGoToFirstRecord(true);
    m_exporter->SetCurrentRecordOnly(false);
    m_exporter->SetShowFile(true);
}

void TRegister::Open() {
    Open(TFieldFilter());
}

void TRegister::Open(const TFieldFilter& shownItems) {
    m_config->Open();
    m_counter->Open();
    m_items->Open(shownItems);
    m_programSettings->Open(m_dataFolder);
}

void TRegister::Close() {
    if (m_items->State() == dsEdit || m_items->State() == dsInsert) {
        m_items->Cancel();
    }
    m_items->Close();
    m_counter->Close();
    m_config->Close();
    m_programSettings->Close();
}

QString TRegister::CurrentFoto() const {
    return m_items->Active() ? m_items->FieldByName(ItemField::Foto)->AsString() : QString();
}

QString TRegister::PictureFile() const {
    return m_pictures.ItemPicture(CurrentFoto());
}

qint64 TRegister::NextPictureNumber() {
    m_counter->Last();
    const qint64 last = m_counter->IsEmpty() ? 0 : m_counter->FieldByName(CounterField::Regnr)->AsInteger();
    m_counter->Append();
    m_counter->FieldByName(CounterField::Regnr)->SetAsInteger(last + 1);
    m_counter->Post();
    return last + 1;
}

void TRegister::NumberNewItem(const QString& category) {
    m_items->FieldByName(ItemField::Foto)->SetAsInteger(NextPictureNumber());
    if (!category.isEmpty()) {
        m_items->FieldByName(ItemField::Kategori)->SetAsString(category);
    }
}

QString TRegister::FetchPicture(const QString& chosen) {
    const QString target = PictureFile();
    PictureFetch::Fetch(chosen, target);
    return target;
}

bool TRegister::PrintItem() {
    // A new item is stored first, so that it has a bookmark to come back to.
    m_items->CheckBrowseMode();
    if (m_items->IsEmpty()) {
        return false;
    }
    const QString category = m_items->FieldByName(ItemField::Kategori)->AsString();
    const QString description = m_items->FieldByName(ItemField::Beskrivelse)->AsString();
    const TBookmark item = m_items->GetBookmark();
    // Afterwards the table shows the item's category, as its page does; when it does so already
    // (the usual case) it is not filtered again.
    const TFieldFilter categoryFilter(ItemField::Kategori, category);
    if (!m_items->Filtered() || m_items->Filter() != categoryFilter.Text()) {
        m_items->SetFilterOn(categoryFilter);
    }
    TScopedFilter narrowed(*m_items, TFieldFilter(categoryFilter).And(ItemField::Beskrivelse, description));
    // Items may share category and description: the printout is of the item the user stood on.
    if (m_items->BookmarkValid(item)) {
        m_items->GotoBookmark(item);
    }
    TBilledReport report(m_items);
    report.SetFormatSettings(m_settings);
    report.QRLabel1->SetCaption(description);
    report.QRImage1->SetPicture(LoadJpeg(PictureFile()));
    report.Preview();
    narrowed.Restore();
    return true;
}

bool TRegister::Export(QWidget* parent) {
    return RunExportCommand(*m_exporter, parent);
}
