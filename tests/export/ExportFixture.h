#pragma once

#include "ProgramFolder.h"
#include "store/Table.h"
#include "toolkit/Platform.h"

#include <QDate>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class TDataExportASCII;

struct TItem {
    QString Beskrivelse;
    QString Fabrikat;
    QString Model;
    QString Identifikation;
    QString Kobssted;
    QDate Kobsdato;
    std::optional<qint64> VaerdiCents;
    QString Notater;
    std::optional<qint64> Foto;
    QString Kategori;
};

// A program folder with an open item table under Danish regional settings.
class TItemTable {
public:
    TItemTable();
    TTable& Table() { return m_table; }
    QString Path() const { return m_folder.Path(); }
    void Add(const TItem& item);
    // Many items in one transaction, straight into the file; the table is refreshed afterwards.
    void AddMany(int count, const std::function<TItem(int)>& make);

private:
    TProgramFolder m_folder;
    TTable m_table;
};

// Records the desktop open requests, with the size the file had when it was handed over.
class TRecordingPlatform : public TPlatform {
public:
    struct TRequest {
        QString Path;
        qint64 SizeThen = -1;
    };
    std::vector<TRequest> Opened;

    bool OpenDocument(const QString& pathOrUrl) override;
    bool StartProgram(const QString&, const QStringList&) override { return true; }
    void PrintPreview(QPrinter&, const std::function<void(QPrinter&)>&) override {}
};

// Installs a recording platform for one test and puts the previous one back.
class TPlatformScope {
public:
    TPlatformScope();
    ~TPlatformScope();
    TRecordingPlatform& Platform() { return *m_recording; }

private:
    TRecordingPlatform* m_recording;
    std::unique_ptr<TPlatform> m_previous;
};

// The exporter configured as the overview window carries it.
std::unique_ptr<TDataExportASCII> MakeExporter(TTable& table);
QByteArray ReadFile(const QString& path);
// The file's lines, split at CR LF, decoded from Windows-1252.
QStringList Lines(const QByteArray& bytes);
