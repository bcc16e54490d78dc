#include "localisation/CustomLanguageSource.h"

#include "localisation/CustomLocalizer.h"
#include "localisation/LocalError.h"
#include "localisation/LocalRConsts.h"

TCustomLanguageSource::TCustomLanguageSource(QObject* owner)
    : TComponent(owner), m_settings(std::make_unique<TLanguageSettings>(this)) {}

TCustomLanguageSource::~TCustomLanguageSource() {
    m_destroying = true;
}

void TCustomLanguageSource::CheckIndex(int index) const {
    if (index < -1 || index > m_languages.size() - 1) {
        throw ELocalError(LocalRConsts::SIndexOutOfBounds().arg(index));
    }
}

void TCustomLanguageSource::RefuseWhenReadOnly() const {
    if (IsReadOnly()) {
        throw ELocalError(LocalRConsts::SReadOnlySource());
    }
}

void TCustomLanguageSource::SetActiveLanguage(int index) {
    if (IsLoading()) {
        m_pendingLanguage = index;
        m_started = false;
        return;
    }
    CheckIndex(index);
    if (index != m_activeLanguage) {
        if (m_activeLanguage >= 0) {
            Close();
        }
        if (m_started) {
            bool allowChange = true;
            DoLanguageChanging(index, allowChange);
            if (!allowChange) {
                return;
            }
        }
        m_activeLanguage = index;
        if (index >= 0) {
            Open();
        }
        LocalizeAll();
        if (m_started) {
            DoLanguageChanged();
        }
    }
    m_started = true;
}

void TCustomLanguageSource::SetLanguages(const QStringList& languages) {
    m_languages = languages;
    SetActiveLanguage(-1);
}

void TCustomLanguageSource::RegisterLocalizer(TCustomLocalizer* localizer) {
    if (localizer == nullptr || m_localizers.contains(localizer)) {
        return;
    }
    m_localizers.append(localizer);
    if (m_activeLanguage >= 0) {
        localizer->Localize();
    }
}

void TCustomLanguageSource::UnregisterLocalizer(TCustomLocalizer* localizer) {
    m_localizers.removeAll(localizer);
}

void TCustomLanguageSource::LocalizeAll() {
    // A localizer may leave the registry while it works; walk a copy.
    const QList<TCustomLocalizer*> localizers = m_localizers;
    for (TCustomLocalizer* localizer : localizers) {
        if (m_localizers.contains(localizer)) {
            localizer->Localize();
        }
    }
}

void TCustomLanguageSource::Loaded() {
    TComponent::Loaded();
    if (m_pendingLanguage >= -1 && m_pendingLanguage <= m_languages.size() - 1) {
        SetActiveLanguage(m_pendingLanguage);
    }
}

void TCustomLanguageSource::DoLanguageChanging(int languageIndex, bool& allowChange) {
    const QList<TCustomLocalizer*> localizers = m_localizers;
    for (TCustomLocalizer* localizer : localizers) {
        bool ignored = true;
        localizer->LanguageChanging(languageIndex, ignored);
    }
    if (OnLanguageChanging) {
        OnLanguageChanging(this, languageIndex, allowChange);
    }
}

void TCustomLanguageSource::DoLanguageChanged() {
    const QList<TCustomLocalizer*> localizers = m_localizers;
    for (TCustomLocalizer* localizer : localizers) {
        localizer->LanguageChanged();
    }
    if (OnLanguageChanged) {
        OnLanguageChanged(this);
    }
}

void TCustomLanguageSource::Open() {
    if (OnOpen) {
        OnOpen(this);
    }
}

void TCustomLanguageSource::Close() {
    if (OnClose) {
        OnClose(this);
    }
}

QString TCustomLanguageSource::GetSection() const {
    return m_currentSection;
}

bool TCustomLanguageSource::IsReadOnly() const {
    return OnIsReadOnly ? OnIsReadOnly(const_cast<TCustomLanguageSource*>(this)) : true;
}

void TCustomLanguageSource::SetSection(const QString& name) {
    if (name != m_currentSection) {
        m_currentSection = name;
        if (OnSetSection) {
            OnSetSection(this, name);
        }
    }
}

QString TCustomLanguageSource::ReadString(const QString& ident, const QString& defaultValue) {
    return OnReadString ? OnReadString(this, ident, defaultValue) : defaultValue;
}

void TCustomLanguageSource::WriteString(const QString& ident, const QString& value) {
    RefuseWhenReadOnly();
    if (OnWriteString) {
        OnWriteString(this, ident, value);
    }
}

void TCustomLanguageSource::ReadSection(QStringList& list) {
    if (OnReadSection) {
        OnReadSection(this, list);
    }
}

void TCustomLanguageSource::WriteSection(const QStringList& list) {
    RefuseWhenReadOnly();
    if (OnWriteSection) {
        OnWriteSection(this, list);
    }
}

void TCustomLanguageSource::EraseSection() {
    RefuseWhenReadOnly();
    if (OnEraseSection) {
        OnEraseSection(this);
    }
}

void TCustomLanguageSource::Clear() {
    RefuseWhenReadOnly();
    if (OnClear) {
        OnClear(this);
    }
}
