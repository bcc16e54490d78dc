#pragma once

#include "localisation/CustomLanguageSource.h"

#include <QMetaObject>
#include <QPointer>

// The link between a component and a language source: registers with the source and reacts to its
// changes.
class TCustomLocalizer : public TComponent {
    Q_OBJECT

public:
    explicit TCustomLocalizer(QObject* owner);
    ~TCustomLocalizer() override;

    TCustomLanguageSource* Source() const { return m_source; }
    // While loading only recorded (PendingSource); taken over in Loaded().
    void SetSource(TCustomLanguageSource* source);
    TCustomLanguageSource* PendingSource() const { return m_pendingSource; }
    bool ClearBeforeSave() const { return m_clearBeforeSave; }
    void SetClearBeforeSave(bool clear) { m_clearBeforeSave = clear; }
    QString About() const { return {}; }
    void SetAbout(const QString&) {}

    void Loaded() override;

    virtual void Localize() = 0;
    virtual void Save();
    virtual void LanguageChanging(int languageIndex, bool& allowChange);
    virtual void LanguageChanged();

    TLangChangingEvent OnLanguageChanging;
    TNotifyEvent OnLanguageChanged;

protected:
    bool IsDestroying() const;

private:
    void SourceDestroyed();

    TCustomLanguageSource* m_source = nullptr;
    QPointer<TCustomLanguageSource> m_pendingSource;
    QMetaObject::Connection m_sourceConnection;
    bool m_clearBeforeSave = false;
};
