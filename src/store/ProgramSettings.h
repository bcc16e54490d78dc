#pragma once

#include "store/Sqlite.h"

#include <QHash>
#include <QString>

// The program's own settings beyond the settings record (column widths, the last backup, the
// owner's details and the like): named texts in a table file of their own, created when absent, so
// that the three original tables keep their exact fields. Read whole at opening; small.
class TProgramSettings {
public:
    static const QString& FileName(); // "Indstillinger.DB"

    // Opens the file in `dataFolder`, creating it when absent. A folder where it can be neither read
    // nor made leaves the settings empty and read-only: the program works on without them.
    void Open(const QString& dataFolder);
    void Close();
    bool IsOpen() const { return m_db.IsOpen(); }
    bool IsReadOnly() const { return !m_db.IsOpen() || m_db.IsReadOnly(); }
    const QString& Path() const { return m_path; }

    QString Value(const QString& name, const QString& fallback = {}) const;
    bool Contains(const QString& name) const { return m_values.contains(name); }
    // Stores the value in a transaction of its own; raises EDatabaseError when the file cannot be
    // written, and then keeps the value it had.
    void SetValue(const QString& name, const QString& value);
    void Remove(const QString& name);

private:
    void Write(const QString& sql, const QString& name, const QString* value);

    TSqliteDatabase m_db;
    QString m_path;
    QHash<QString, QString> m_values;
};
