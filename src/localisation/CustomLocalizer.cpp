#include "localisation/CustomLocalizer.h"

#include "toolkit/ErrorDisplay.h"

TCustomLocalizer::TCustomLocalizer(QObject* owner) : TComponent(owner) {}

TCustomLocalizer::~TCustomLocalizer() {
    m_destroying = true;
    if (m_source != nullptr) {
        disconnect(m_sourceConnection);
        m_source->UnregisterLocalizer(this);
    }
}

bool TCustomLocalizer::IsDestroying() const {
    return m_destroying || ComponentModel::IsDestroying(this);
}

void TCustomLocalizer::SetSource(TCustomLanguageSource* source) {
    if (IsLoading()) {
        m_pendingSource = source;
        return;
    }
    if (source == m_source) {
        return;
    }
    if (m_source != nullptr) {
        disconnect(m_sourceConnection);
        m_source->UnregisterLocalizer(this);
    }
    const int newIndex = source != nullptr ? source->ActiveLanguage() : -1;
    const int oldIndex = m_source != nullptr ? m_source->ActiveLanguage() : -1;
    if (newIndex != oldIndex) {
        bool allowChange = true;
        LanguageChanging(newIndex, allowChange);
    }
    m_source = source;
    if (newIndex != oldIndex) {
        LanguageChanged();
    }
    if (source != nullptr) {
        m_sourceConnection = connect(source, &QObject::destroyed, this,
                                     [this] { ErrorDisplay::Guarded([this] { SourceDestroyed(); }); });
        source->RegisterLocalizer(this);
    }
    m_pendingSource = nullptr;
}

void TCustomLocalizer::SourceDestroyed() {
    // The source's own part is gone already: only forget it.
    m_source = nullptr;
    disconnect(m_sourceConnection);
    if (!IsDestroying()) {
        Localize();
    }
}

void TCustomLocalizer::Loaded() {
    TComponent::Loaded();
    SetSource(m_pendingSource);
}

void TCustomLocalizer::Save() {
    if (m_clearBeforeSave && m_source != nullptr) {
        m_source->EraseSection();
    }
}

void TCustomLocalizer::LanguageChanging(int languageIndex, bool& allowChange) {
    if (OnLanguageChanging) {
        OnLanguageChanging(this, languageIndex, allowChange);
    }
}

void TCustomLocalizer::LanguageChanged() {
    if (OnLanguageChanged) {
        OnLanguageChanged(this);
    }
}
