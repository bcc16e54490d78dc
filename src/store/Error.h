#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// What went wrong, for whoever shows the error to the user in his own words. The message stays the
// complete technical text; the kind, the subject and the detail let a higher layer say it otherwise.
enum TErrorKind {
    ekGeneral,      // nothing more is known than the message
    ekLocked,       // subject: the table file; another program holds it
    ekDamaged,      // subject: the table file; it is not a whole table of this program
    ekMissing,      // subject: the table file or folder; it does not exist
    ekCannotCreate, // subject: the file or folder that could not be made
    ekReadOnly,     // subject: the table file; it may be read but not written
    ekDiskFull,     // subject: the file being written
    ekWriteFailed,  // subject: the file being written; the write stopped short
    ekInvalidValue, // subject: the field name; Value(): the text typed; ValueKind(): what was wanted
    ekTableFailed,  // subject: the table file; any other failure of the database engine
};

// What a value was meant to be, for ekInvalidValue.
enum TValueKind { vkNone, vkAmount, vkDate, vkWholeNumber };

// Base of every error the program raises: it carries the message the user is shown.
class EHabitraError : public std::exception {
public:
    explicit EHabitraError(QString message);
    // `detail` is what the engine or the system said (e.g. SQLite's message), kept for support.
    EHabitraError(QString message, TErrorKind kind, QString subject, QString detail);
    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

    TErrorKind Kind() const noexcept { return m_kind; }
    const QString& Subject() const noexcept { return m_subject; }
    const QString& Detail() const noexcept { return m_detail; }
    const QString& Value() const noexcept { return m_value; }
    TValueKind ValueKind() const noexcept { return m_valueKind; }
    // For ekInvalidValue: the text that did not read and what it should have been.
    void SetValue(QString value, TValueKind kind);

private:
    QString m_message;
    QByteArray m_what;
    TErrorKind m_kind = ekGeneral;
    QString m_subject;
    QString m_detail;
    QString m_value;
    TValueKind m_valueKind = vkNone;
};

// Errors of the tables: opening, converting field values, filters, posting.
class EDatabaseError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};
