#include "Error.h"

EHabitraError::EHabitraError(QString message) : m_message(std::move(message)), m_what(m_message.toUtf8()) {}

EHabitraError::EHabitraError(QString message, TErrorKind kind, QString subject, QString detail)
    : m_message(std::move(message)), m_what(m_message.toUtf8()), m_kind(kind), m_subject(std::move(subject)),
      m_detail(std::move(detail)) {}

void EHabitraError::SetValue(QString value, TValueKind kind) {
    m_value = std::move(value);
    m_valueKind = kind;
}
