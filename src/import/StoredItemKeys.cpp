#include "StoredItemKeys.h"

#include "store/ItemFields.h"
#include "store/Sqlite.h"

TStoredItemKeys TStoredItemKeys::Read(const QString& itemFile) {
    TStoredItemKeys keys;
    TSqliteDatabase db;
    db.Open(itemFile);
    TSqliteStatement query(db,
                           QStringLiteral("SELECT %1, %2, %3 FROM Habitra")
                               .arg(ItemField::Kategori, ItemField::Beskrivelse, ItemField::Identifikation));
    while (query.Step()) {
        keys.m_keys.insert(Key(query.Text(0), query.Text(1), query.Text(2)));
    }
    return keys;
}

QString TStoredItemKeys::Key(const QString& category, const QString& description,
                             const QString& identification) {
    // A separator no text field can hold keeps "a|b" + "c" apart from "a" + "b|c".
    return category + QChar(0x1F) + description + QChar(0x1F) + identification;
}
