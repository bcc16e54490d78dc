#include "localisation/LanguageSettings.h"

#include "localisation/CustomLanguageSource.h"
#include "localisation/LocalError.h"
#include "localisation/LocalRConsts.h"
#include "localisation/LocalUtils.h"

namespace {
const QString GeneralSettings = QStringLiteral("General Settings");
const QString BiDiModeKey = QStringLiteral("BiDiMode");
const QString FontCharSetKey = QStringLiteral("FontCharSet");
} // namespace

TLanguageSettings::TLanguageSettings(TCustomLanguageSource* source) : m_source(source) {
    if (source == nullptr) {
        throw ELocalError(LocalRConsts::SSourceNotSpecified());
    }
}

QString TLanguageSettings::ReadSetting(const QString& ident, const QString& defaultValue) const {
    const QString remembered = m_source->GetSection();
    m_source->SetSection(GeneralSettings);
    QString value;
    try {
        value = m_source->ReadString(ident, defaultValue);
    } catch (...) {
        m_source->SetSection(remembered);
        throw;
    }
    m_source->SetSection(remembered);
    return value;
}

void TLanguageSettings::WriteSetting(const QString& ident, const QString& value) {
    const QString remembered = m_source->GetSection();
    m_source->SetSection(GeneralSettings);
    try {
        m_source->WriteString(ident, value);
    } catch (...) {
        m_source->SetSection(remembered);
        throw;
    }
    m_source->SetSection(remembered);
}

int TLanguageSettings::BiDiMode() const {
    if (m_source->OnReadBiDiMode) {
        return m_source->OnReadBiDiMode(m_source);
    }
    if (m_source->ActiveLanguage() == -1) {
        return m_biDiMode;
    }
    bool ok = false;
    const int mode = ReadSetting(BiDiModeKey, QStringLiteral("0")).trimmed().toInt(&ok);
    return ok && mode >= 0 && mode <= 3 ? mode : 0;
}

void TLanguageSettings::SetBiDiMode(int mode) {
    if (m_source->IsLoading()) {
        return;
    }
    if (m_source->OnWriteBiDiMode) {
        m_source->OnWriteBiDiMode(m_source, mode);
    } else if (m_source->ActiveLanguage() == -1 || m_source->IsReadOnly()) {
        m_biDiMode = static_cast<std::uint8_t>(mode);
    } else {
        WriteSetting(BiDiModeKey, QString::number(mode));
    }
}

int TLanguageSettings::FontCharSet() const {
    if (m_source->OnReadFontCharSet) {
        return m_source->OnReadFontCharSet(m_source);
    }
    if (m_source->ActiveLanguage() == -1) {
        return m_fontCharSet;
    }
    return LocalUtils::CharSetFromName(ReadSetting(FontCharSetKey, QStringLiteral("DEFAULT_CHARSET")));
}

void TLanguageSettings::SetFontCharSet(int charSet) {
    if (m_source->IsLoading()) {
        return;
    }
    if (m_source->OnWriteFontCharSet) {
        m_source->OnWriteFontCharSet(m_source, charSet);
    } else if (m_source->ActiveLanguage() == -1 || m_source->IsReadOnly()) {
        m_fontCharSet = static_cast<std::uint8_t>(charSet);
    } else {
        WriteSetting(FontCharSetKey, LocalUtils::CharSetName(charSet));
    }
}
