#pragma once

#include "localisation/CustomLocalizer.h"

#include <QFlags>
#include <QStringList>
#include <utility>

enum TSaveOption { soSaveEmpty = 0x1, soIgnoreDependencyIfEmpty = 0x2, soIncludeFrames = 0x4 };
Q_DECLARE_FLAGS(TSaveOptions, TSaveOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSaveOptions)

// (Sender, Obj, PropName, var NewValue, var Allow)
using TPropProcessingEvent = std::function<void(QObject* sender, QObject* object, const QString& propName,
                                                QString& value, bool& allow)>;
// (Sender, Obj, PropName, Value)
using TPropProcessedEvent =
    std::function<void(QObject* sender, QObject* object, const QString& propName, const QString& value)>;

// The localizer of one window (its owner): applies the window's section of the active language to
// the named properties of its components, records the window's own texts before the first
// translation and puts them back at -1. Only one per window.
class TFormLocalizer : public TCustomLocalizer {
    Q_OBJECT

public:
    // Raises ELocalError without an owner or when the owner already has a TFormLocalizer.
    explicit TFormLocalizer(QObject* owner);

    QObject* Window() const { return parent(); }

    const QStringList& PropNames() const { return m_propNames; }
    void SetPropNames(const QStringList& names);
    const QStringList& Originals() const { return m_originals; }
    void SetOriginals(const QStringList& originals) { m_originals = originals; }
    const QStringList& Dependencies() const { return m_dependencies; }
    void SetDependencies(const QStringList& dependencies);
    const QStringList& Excluded() const { return m_excluded; }
    void SetExcluded(const QStringList& excluded);
    TSaveOptions SaveOptions() const { return m_saveOptions; }
    void SetSaveOptions(TSaveOptions options) { m_saveOptions = options; }

    void Localize() override;
    void Save() override;
    void LanguageChanging(int languageIndex, bool& allowChange) override;
    void LanguageChanged() override;

    virtual void DoPropertyLocalizing(QObject* object, const QString& propName, QString& value, bool& allow);
    virtual void DoPropertyLocalized(QObject* object, const QString& propName, const QString& value);
    virtual void DoPropertySaving(QObject* object, const QString& propName, QString& value, bool& allow);
    virtual void DoPropertySaved(QObject* object, const QString& propName, const QString& value);
    virtual void LoadForm(const QString& sectionName);
    virtual void SaveForm(const QString& sectionName);

    // The object and property a key addresses; no object when the key names nothing.
    std::pair<QObject*, QString> ResolveKey(const QString& key) const;
    void ApplyValue(QObject* object, const QString& propName, const QStringList& names, const QString& value);
    // Records the named properties of the window and its components into `target` (key=encoded value).
    void CaptureOriginals(const QStringList& names, QStringList& target);
    // Puts back the recorded values of the named properties and removes their entries.
    void RestoreOriginals(const QStringList& names);
    void ApplyFontSettings(int charSet, int biDiMode);

    TPropProcessingEvent OnPropertyLocalizing;
    TPropProcessedEvent OnPropertyLocalized;
    TPropProcessingEvent OnPropertySaving;
    TPropProcessedEvent OnPropertySaved;

private:
    static QObject* CheckedOwner(QObject* owner);
    QString WindowName() const;
    QList<QObject*> VisitOrder(bool frames) const;
    // Records into the list, or writes into the source when `list` is null.
    void Capture(const QStringList& names, QStringList* list);
    QString PropertyValue(const QObject* object, const QString& propName) const;
    std::pair<QObject*, QString> FollowDependency(QObject* component, const QString& propName) const;

    QStringList m_propNames{QStringLiteral("Caption"), QStringLiteral("Hint")};
    QStringList m_originals;
    QStringList m_dependencies;
    QStringList m_excluded;
    TSaveOptions m_saveOptions;
};
