#include "store/ProgramSettings.h"

#include "store/Error.h"

#include <QDir>

namespace {
const QString TableName = QStringLiteral("Indstillinger");
}

const QString& TProgramSettings::FileName() {
    static const QString name = QStringLiteral("Indstillinger.DB");
    return name;
}

void TProgramSettings::Open(const QString& dataFolder) {
    Close();
    m_path = QDir(dataFolder).filePath(FileName());
    try {
        m_db.Open(m_path, true);
        if (!m_db.IsReadOnly()) {
            m_db.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + QuotedName(TableName) +
                         QStringLiteral(" (Navn TEXT PRIMARY KEY NOT NULL, Vaerdi TEXT NOT NULL)"));
        }
        TSqliteStatement read(m_db, QStringLiteral("SELECT Navn, Vaerdi FROM ") + QuotedName(TableName));
        TStatementReset reset(read);
        while (read.Step()) {
            m_values.insert(read.Text(0), read.Text(1));
        }
    } catch (const EDatabaseError&) {
        // Not there and not makeable, or not ours: the program goes on with defaults.
        m_db.Close();
        m_values.clear();
    }
}

void TProgramSettings::Close() {
    m_db.Close();
    m_values.clear();
}

QString TProgramSettings::Value(const QString& name, const QString& fallback) const {
    return m_values.value(name, fallback);
}

void TProgramSettings::SetValue(const QString& name, const QString& value) {
    const auto found = m_values.constFind(name);
    if (found != m_values.cend() && *found == value) {
        return;
    }
    Write(QStringLiteral("INSERT OR REPLACE INTO ") + QuotedName(TableName) +
              QStringLiteral(" (Navn, Vaerdi) VALUES (?, ?)"),
          name, &value);
    m_values.insert(name, value);
}

void TProgramSettings::Remove(const QString& name) {
    if (!m_values.contains(name)) {
        return;
    }
    Write(QStringLiteral("DELETE FROM ") + QuotedName(TableName) + QStringLiteral(" WHERE Navn = ?"), name,
          nullptr);
    m_values.remove(name);
}

void TProgramSettings::Write(const QString& sql, const QString& name, const QString* value) {
    if (!m_db.IsOpen()) {
        throw EDatabaseError(QStringLiteral("Cannot write table \"%1\": it could not be opened").arg(m_path),
                             ekReadOnly, m_path, QStringLiteral("it could not be opened"));
    }
    TTransaction transaction(m_db);
    TSqliteStatement statement(m_db, sql);
    statement.Bind(1, name);
    if (value != nullptr) {
        statement.Bind(2, *value);
    }
    statement.Execute();
    transaction.Commit();
}
