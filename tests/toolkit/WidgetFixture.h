#pragma once

#include "ProgramFolder.h"
#include "store/DataSource.h"
#include "store/Table.h"

#include <QDate>
#include <QObject>
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

    TProgramFolder Folder;
    TTable Table;
    TDataSource Source;
    std::unique_ptr<QWidget> Window;
};

// Answers the next modal box that comes up by clicking the button with the given text, and
// remembers its title and text.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(QString button = QStringLiteral("OK"));
    bool Seen() const { return m_seen; }
    const QString& Title() const { return m_title; }
    const QString& Text() const { return m_text; }
    int Count() const { return m_count; }

private:
    void Poll();

    QObject m_context; // ends the polling with the answerer
    QString m_button;
    bool m_seen = false;
    int m_count = 0;
    int m_polls = 0;
    QString m_title;
    QString m_text;
};
