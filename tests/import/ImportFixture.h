#pragma once

#include "ProgramFolder.h"
#include "import/ImportSession.h"
#include "import/ImportWriter.h"
#include "store/Table.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

// Category values the tests use, as the catalogue gives them in Danish and English.
QSet<QString> TestCategories();

// A program folder with its item and counter tables open, and the pieces of an import over them.
class TImportFixture {
public:
    TImportFixture();
    explicit TImportFixture(const QString& dataFolder);

    TTable& Items() { return m_items; }
    TTable& Counter() { return m_counter; }
    QString DataPath() const { return m_dataPath; }

    // A file in the folder with these bytes; its path.
    QString WriteFile(const QString& name, const QByteArray& bytes) const;
    // An import session over the file as the command makes it.
    // `labels`: the captions problems name the fields by.
    TImportSession Session(const QString& path, const QHash<QString, QString>& labels = {}) const;
    // Writes the rows the session accepts, by its mapping.
    TImportResult Write(const TImportSession& session, const TImportWriter::TProgress& progress = {});

    // Every stored item, "Beskrivelse|Kategori|Foto|...", in key order, straight from the file.
    QStringList StoredItems() const;
    QList<qint64> CounterNumbers() const;

private:
    void OpenTables();

    TProgramFolder m_folder;
    QString m_dataPath;
    TTable m_items;
    TTable m_counter;
};
