#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Base of every error the program raises: it carries the message the user is shown.
class EHabitraError : public std::exception {
public:
    explicit EHabitraError(QString message);
    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

// Errors of the tables: opening, converting field values, filters, posting.
class EDatabaseError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};
