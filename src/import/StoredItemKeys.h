#pragma once

#include <QSet>
#include <QString>

// The category, description and identification of every item stored in an item table file, by which
// a row to import is known as one the register already holds.
class TStoredItemKeys {
public:
    TStoredItemKeys() = default;
    // Reads the file on a connection of its own, whatever the table's filter.
    static TStoredItemKeys Read(const QString& itemFile);

    static QString Key(const QString& category, const QString& description, const QString& identification);
    bool Contains(const QString& key) const { return m_keys.contains(key); }
    int Size() const { return int(m_keys.size()); }

private:
    QSet<QString> m_keys;
};
