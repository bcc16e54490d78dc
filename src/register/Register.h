#pragma once

#include "pictures/PictureFolder.h"
#include "store/FieldFilter.h"
#include "store/FormatSettings.h"
#include "store/Schema.h"

#include <QObject>
#include <QString>
#include <memory>

class QWidget;
class TDataExportASCII;
class TDataSource;
class TProgramSettings;
class TTable;

// The household's register: the item table, the picture-number counter, the window settings and
// the program's own settings, with what the program does to them by name. The windows show it and
// ask it; it shows no window of its own beyond what an operation says.
class TRegister : public QObject {
    Q_OBJECT
public:
    // `dataFolder` holds the table files; a relative one is taken from the working directory when
    // the tables open.
    explicit TRegister(const TFormatSettings& settings, const QString& dataFolder = Schema::DataFolder,
                       QObject* parent = nullptr);
    ~TRegister() override;

    TTable& HabitraTable() const { return *m_items; }
    TDataSource& HabitraSource() const { return *m_itemSource; }
    TTable& RegTable() const { return *m_counter; }
    TTable& ConfigTable() const { return *m_config; }
    TProgramSettings& ProgramSettings() const { return *m_programSettings; }
    const QString& DataFolder() const { return m_dataFolder; }
    const TFormatSettings& FormatSettings() const { return m_settings; }

    // The tables and the program's settings, in this order; Close drops an edit in progress.
    void Open();
    // As Open, with the item table opened already filtered to the items first shown.
    void Open(const TFieldFilter& shownItems);
    void Close();

    const TPictureFolder& Pictures() const { return m_pictures; }
    void SetPictures(const TPictureFolder& pictures) { m_pictures = pictures; }
    // The current item's picture number as text; empty while the item table is closed.
    QString CurrentFoto() const;
    // The current item's picture file: the picture folder, the picture number, ".jpg".
    QString PictureFile() const;

    // Takes the next number from the counter table and keeps it there as used.
    qint64 NextPictureNumber();
    // Gives the item being inserted its picture number and, unless empty, its category.
    void NumberNewItem(const QString& category);
    // Brings the picture file `chosen` in as the current item's picture; returns where it is now.
    QString FetchPicture(const QString& chosen);
    // Shows the current item's picture printout (stored first when it is new). The table is
    // narrowed to the item while it prints and shows the item's category afterwards, standing on
    // its first item. False, and nothing printed, when there is no item.
    bool PrintItem();
    // The data export of every item: asks for a file, writes it, confirms. True when written.
    bool Export(QWidget* parent);
    TDataExportASCII& Exporter() const { return *m_exporter; }

private:
    void CreateTables();
    void CreateExporter();

    TFormatSettings m_settings;
    QString m_dataFolder;
    TPictureFolder m_pictures;
    TTable* m_items = nullptr;
    TDataSource* m_itemSource = nullptr;
    TTable* m_counter = nullptr;
    TDataSource* m_counterSource = nullptr;
    TTable* m_config = nullptr;
    TDataSource* m_configSource = nullptr;
    std::unique_ptr<TProgramSettings> m_programSettings;
    TDataExportASCII* m_exporter = nullptr;
};
