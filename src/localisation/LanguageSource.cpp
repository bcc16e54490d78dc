#include "localisation/LanguageSource.h"

#include "localisation/LocalUtils.h"

TLanguageSource::TLanguageSource(QObject* owner) : TFileLanguageSource(owner) {}

TLanguageSource::~TLanguageSource() {
    Close();
}

void TLanguageSource::Open() {
    Close();
    if (ActiveLanguage() >= 0) {
        m_languageFile = std::make_unique<TLanguageFile>(GetLanguageFileName(ActiveLanguage()));
    }
}

void TLanguageSource::Close() {
    m_languageFile.reset();
}

bool TLanguageSource::IsReadOnly() const {
    return false;
}

QString TLanguageSource::ReadString(const QString& ident, const QString& defaultValue) {
    if (!m_languageFile || ident.isEmpty()) {
        return defaultValue;
    }
    return m_languageFile->ReadString(GetSection(), ident, defaultValue);
}

void TLanguageSource::WriteString(const QString& ident, const QString& value) {
    if (m_languageFile) {
        m_languageFile->WriteString(GetSection(), ident, value);
    }
}

void TLanguageSource::ReadSection(QStringList& list) {
    if (!m_languageFile) {
        return;
    }
    m_languageFile->ReadSectionValues(GetSection(), list);
    if (m_sortSections) {
        list.sort(Qt::CaseInsensitive);
    }
}

void TLanguageSource::WriteSection(const QStringList& list) {
    for (const QString& line : list) {
        WriteString(LocalUtils::NameOf(line), LocalUtils::ValueOf(line));
    }
}

void TLanguageSource::EraseSection() {
    if (m_languageFile) {
        m_languageFile->EraseSection(GetSection());
    }
}

void TLanguageSource::Clear() {
    if (m_languageFile) {
        m_languageFile->Clear();
    }
}
