#pragma once

#include "ModalAnswerer.h"
#include "ProgramFolder.h"
#include "store/DataSource.h"
#include "store/Table.h"

#include <QDate>
#include <QString>
#include <memory>

// The item table of a fresh program folder with a few items, Danish settings, a data source and a
// window to put controls on.
class TWidgetFixture {
public:
    // `items` rows are written straight into the file before the table opens; descriptions are
    // "Item 1", "Item 2", ..., Foto the row number, Kobsdato 2020-03-<n>, Vaerdi n kroner.
    explicit TWidgetFixture(int items = 3);

    void Open();
    // Shows the window and waits until it has the keyboard focus.
    bool ShowWindow();
    // The stored value of a field of the record with the given Foto, read from the file.
    QString StoredValue(qint64 foto, const QString& field) const;

    // Answers every message box ("OK" unless a test says otherwise), so none can hang a test.
    TModalAnswerer Boxes;
    TProgramFolder Folder;
    TTable Table;
    TDataSource Source;
    std::unique_ptr<QWidget> Window;
};
