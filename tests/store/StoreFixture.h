#pragma once

#include "ProgramFolder.h"
#include "store/DataSource.h"
#include "store/Table.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <vector>

struct TSeedItem {
    qint64 Foto = 0;
    QString Kategori;
    QString Beskrivelse;
};

// Seven items over three categories (one with a lower-case spelling) and two descriptions with a quote.
std::vector<TSeedItem> StandardItems();

// Writes items straight into a table file, bypassing the store.
void SeedItems(const QString& path, const std::vector<TSeedItem>& items);

// Runs a query on its own connection: one string per row, columns joined by '|'.
QStringList QueryFile(const QString& path, const QString& sql);

void OpenTable(TTable& table, const QString& dataFolder, const QString& file);

// The item table of a fresh program folder, seeded and opened, with a data source bound to it.
class TItemTableFixture {
public:
    explicit TItemTableFixture(const std::vector<TSeedItem>& items = StandardItems());

    QString ItemPath() const;
    // Foto of each record of the current set, in order, read without moving the cursor.
    QList<qint64> VisibleFotos() const;
    qint64 CurrentFoto() const;
    QStringList StoredDescriptions() const; // in rowid order, from the file

    TProgramFolder Folder;
    TTable Table;
    TDataSource Source;
};

// A bound control stand-in that counts what its data source tells it.
class TCountingLink : public TDataLink {
public:
    int ActiveChanges = 0;
    int DataSetChanges = 0;
    int Scrolls = 0;
    int RecordChanges = 0;
    int FieldChanges = 0;
    int StateChanges = 0;
    int UpdateDataCalls = 0;
    // Runs when the table asks for pending edits; a real edit control writes its text here.
    std::function<void()> WriteBack;

    int Total() const {
        return ActiveChanges + DataSetChanges + Scrolls + RecordChanges + FieldChanges + StateChanges;
    }

protected:
    void ActiveChanged() override { ++ActiveChanges; }
    void DataSetChanged() override { ++DataSetChanges; }
    void DataSetScrolled() override { ++Scrolls; }
    void RecordChanged(TField* field) override { field ? ++FieldChanges : ++RecordChanges; }
    void EditingChanged() override { ++StateChanges; }
    void UpdateData() override {
        ++UpdateDataCalls;
        if (WriteBack) {
            WriteBack();
        }
    }
};
