#pragma once

#include "localisation/LanguageSettings.h"
#include "toolkit/ComponentModel.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

class TCustomLocalizer;
class TCustomLanguageSource;

// (Sender, LanguageIndex, var AllowChange)
using TLangChangingEvent = std::function<void(QObject* sender, int languageIndex, bool& allowChange)>;
using TNotifyEvent = std::function<void(QObject* sender)>;

// The language list, the active language index (-1: the windows' own texts), the registry of form
// localizers and the change notifications. Its storage operations store and return nothing here;
// derived sources keep the texts somewhere.
class TCustomLanguageSource : public TComponent {
    Q_OBJECT

public:
    explicit TCustomLanguageSource(QObject* owner = nullptr);
    ~TCustomLanguageSource() override;

    int ActiveLanguage() const { return m_activeLanguage; }
    // Switches the language; raises ELocalError "Index out of bounds (%d)" below -1 or past the list.
    void SetActiveLanguage(int index);
    int PendingLanguage() const { return m_pendingLanguage; }
    bool Started() const { return m_started; }

    // "display name=file name" per language.
    const QStringList& Languages() const { return m_languages; }
    void SetLanguages(const QStringList& languages);
    const QString& OriginalName() const { return m_originalName; }
    void SetOriginalName(const QString& name) { m_originalName = name; }
    const QString& CurrentSection() const { return m_currentSection; }
    TLanguageSettings* ActiveSettings() const { return m_settings.get(); }
    QString About() const { return {}; }
    void SetAbout(const QString&) {}

    void RegisterLocalizer(TCustomLocalizer* localizer);
    void UnregisterLocalizer(TCustomLocalizer* localizer);
    const QList<TCustomLocalizer*>& Localizers() const { return m_localizers; }
    void LocalizeAll();

    void Loaded() override;

    virtual void DoLanguageChanging(int languageIndex, bool& allowChange);
    virtual void DoLanguageChanged();
    virtual void Open();
    virtual void Close();
    virtual QString GetSection() const;
    virtual bool IsReadOnly() const;
    virtual void SetSection(const QString& name);
    virtual QString ReadString(const QString& ident, const QString& defaultValue);
    virtual void WriteString(const QString& ident, const QString& value);
    virtual void ReadSection(QStringList& list);
    virtual void WriteSection(const QStringList& list);
    virtual void EraseSection();
    virtual void Clear();

    TLangChangingEvent OnLanguageChanging;
    TNotifyEvent OnLanguageChanged;

    // Hooks through which a source can be given storage without a derived class.
    std::function<void(TCustomLanguageSource*)> OnOpen;
    std::function<void(TCustomLanguageSource*)> OnClose;
    std::function<bool(TCustomLanguageSource*)> OnIsReadOnly;
    std::function<void(TCustomLanguageSource*, const QString& name)> OnSetSection;
    std::function<QString(TCustomLanguageSource*, const QString& ident, const QString& defaultValue)>
        OnReadString;
    std::function<void(TCustomLanguageSource*, const QString& ident, const QString& value)> OnWriteString;
    std::function<void(TCustomLanguageSource*, QStringList& list)> OnReadSection;
    std::function<void(TCustomLanguageSource*, const QStringList& list)> OnWriteSection;
    std::function<void(TCustomLanguageSource*)> OnEraseSection;
    std::function<void(TCustomLanguageSource*)> OnClear;
    std::function<int(TCustomLanguageSource*)> OnReadBiDiMode;
    std::function<void(TCustomLanguageSource*, int)> OnWriteBiDiMode;
    std::function<int(TCustomLanguageSource*)> OnReadFontCharSet;
    std::function<void(TCustomLanguageSource*, int)> OnWriteFontCharSet;

protected:
    void CheckIndex(int index) const;
    void RefuseWhenReadOnly() const;

private:
    int m_activeLanguage = -1;
    int m_pendingLanguage = -1;
    QList<TCustomLocalizer*> m_localizers;
    QString m_originalName = QStringLiteral("Original");
    QStringList m_languages;
    bool m_started = false;
    QString m_currentSection;
    std::unique_ptr<TLanguageSettings> m_settings;
};
