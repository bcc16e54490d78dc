#include "TableFiles.h"

#include "BackupError.h"
#include "BackupText.h"

#include <QFile>
#include <QThread>
#include <sqlite3.h>

namespace {
// A read-only connection that closes itself.
class TReadConnection {
public:
    explicit TReadConnection(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        if (sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK) {
            m_error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
            sqlite3_close(m_db);
            m_db = nullptr;
            return;
        }
        sqlite3_busy_timeout(m_db, 10000);
    }
    ~TReadConnection() { sqlite3_close_v2(m_db); }
    TReadConnection(const TReadConnection&) = delete;
    TReadConnection& operator=(const TReadConnection&) = delete;

    sqlite3* Handle() const { return m_db; }
    QString Error() const { return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : m_error; }

    // Runs `sql` and hands each row's first column to `row`; returns false on an engine error.
    template <typename F> bool Query(const QString& sql, F&& row) {
        if (!m_db) {
            return false;
        }
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
            return false;
        }
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            if (!row(statement)) {
                break;
            }
        }
        sqlite3_finalize(statement);
        return rc == SQLITE_ROW || rc == SQLITE_DONE;
    }

private:
    sqlite3* m_db = nullptr;
    QString m_error;
};

QString ColumnText(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

QString Quoted(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

bool TableFiles::IsTableFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

bool TableFiles::IsJournal(const QString& fileName) {
    return fileName.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive) ||
           fileName.endsWith(QLatin1String("-wal"), Qt::CaseInsensitive) ||
           fileName.endsWith(QLatin1String("-shm"), Qt::CaseInsensitive);
}

void TableFiles::Copy(const QString& source, const QString& target) {
    TReadConnection from(source);
    const auto fail = [&](const QString& reason) {
        throw EBackupError(BackupText("Backup.TableNotCopied", "Tabellen \"%1\" kunne ikke kopieres: %2")
                               .arg(source, reason));
    };
    if (!from.Handle()) {
        fail(from.Error());
    }
    sqlite3* to = nullptr;
    const QByteArray name = QFile::encodeName(target);
    if (sqlite3_open_v2(name.constData(), &to,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString reason = to ? QString::fromUtf8(sqlite3_errmsg(to)) : QStringLiteral("out of memory");
        sqlite3_close(to);
        fail(reason);
    }
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from.Handle(), "main");
    if (!backup) {
        const QString reason = QString::fromUtf8(sqlite3_errmsg(to));
        sqlite3_close(to);
        fail(reason);
    }
    // All pages in one step: the copy is the file as one read transaction saw it. A writer in
    // another process holds the file for a moment at most, so it is waited for.
    int rc;
    int waited = 0;
    while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (++waited > 400) {
            break;
        }
        QThread::msleep(25);
    }
    sqlite3_backup_finish(backup);
    const QString reason = QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(to);
    if (rc != SQLITE_DONE) {
        QFile::remove(target);
        fail(reason);
    }
}

QString TableFiles::IntegrityProblem(const QString& path) {
    if (!IsTableFile(path)) {
        return BackupText("Backup.NotATable", "filen er ikke en tabel");
    }
    TReadConnection db(path);
    QStringList problems;
    const bool read = db.Query(QStringLiteral("PRAGMA integrity_check(5)"), [&](sqlite3_stmt* row) {
        problems << ColumnText(row, 0);
        return true;
    });
    if (!read) {
        return db.Error();
    }
    if (problems == QStringList{QStringLiteral("ok")}) {
        return {};
    }
    return problems.isEmpty() ? QStringLiteral("integrity check gave no answer")
                              : problems.join(QStringLiteral("; "));
}

QString TableFiles::MissingField(const QString& path, const QString& table,
                                 const std::vector<TFieldDef>& fields) {
    TReadConnection db(path);
    QStringList columns;
    db.Query(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table)), [&](sqlite3_stmt* row) {
        columns << ColumnText(row, 1);
        return true;
    });
    for (const TFieldDef& field : fields) {
        if (!columns.contains(field.Name, Qt::CaseInsensitive)) {
            return field.Name;
        }
    }
    return {};
}

qint64 TableFiles::RowCount(const QString& path, const QString& table) {
    TReadConnection db(path);
    qint64 count = -1;
    db.Query(QStringLiteral("SELECT count(*) FROM %1").arg(Quoted(table)), [&](sqlite3_stmt* row) {
        count = sqlite3_column_int64(row, 0);
        return false;
    });
    if (count < 0) {
        throw EBackupError(
            BackupText("Backup.TableNotRead", "Tabellen \"%1\" kunne ikke læses: %2").arg(path, db.Error()));
    }
    return count;
}

bool TableFiles::HasRows(const QString& path, const QString& table) {
    TReadConnection db(path);
    bool found = false;
    if (!db.Query(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(Quoted(table)), [&](sqlite3_stmt*) {
            found = true;
            return false;
        })) {
        throw EBackupError(
            BackupText("Backup.TableNotRead", "Tabellen \"%1\" kunne ikke læses: %2").arg(path, db.Error()));
    }
    return found;
}
