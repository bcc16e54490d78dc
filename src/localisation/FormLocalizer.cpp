#include "localisation/FormLocalizer.h"

#include "localisation/LocalError.h"
#include "localisation/LocalRConsts.h"
#include "localisation/LocalUtils.h"
#include "toolkit/PropertyAdapter.h"

#include <QSet>

using namespace LocalUtils;

TFormLocalizer::TFormLocalizer(QObject* owner) : TCustomLocalizer(CheckedOwner(owner)) {}

QObject* TFormLocalizer::CheckedOwner(QObject* owner) {
    if (owner == nullptr) {
        throw ELocalError(LocalRConsts::SOwnerNotSpecified());
    }
    if (!owner->findChildren<TFormLocalizer*>(Qt::FindDirectChildrenOnly).isEmpty()) {
        throw ELocalError(
            LocalRConsts::SDuplicateInstance().arg(owner->objectName(), QStringLiteral("TFormLocalizer")));
    }
    return owner;
}

QString TFormLocalizer::WindowName() const {
    return Window() != nullptr ? Window()->objectName() : QString();
}

void TFormLocalizer::SetPropNames(const QStringList& names) {
    if (Source() != nullptr && Source()->ActiveLanguage() >= 0) {
        QStringList leaving;
        QStringList joining;
        for (const QString& name : m_propNames) {
            if (!ContainsText(names, name)) {
                leaving.append(name);
            }
        }
        for (const QString& name : names) {
            if (!ContainsText(m_propNames, name)) {
                joining.append(name);
            }
        }
        RestoreOriginals(leaving);
        CaptureOriginals(joining, m_originals);
    }
    m_propNames = names;
}

void TFormLocalizer::SetDependencies(const QStringList& dependencies) {
    m_dependencies = dependencies;
    Localize();
}

void TFormLocalizer::SetExcluded(const QStringList& excluded) {
    m_excluded = excluded;
    Localize();
}

void TFormLocalizer::Localize() {
    LoadForm(WindowName());
}

void TFormLocalizer::Save() {
    TCustomLocalizer::Save();
    SaveForm(WindowName());
}

void TFormLocalizer::LanguageChanging(int languageIndex, bool& allowChange) {
    TCustomLocalizer::LanguageChanging(languageIndex, allowChange);
    if ((Source() == nullptr || Source()->ActiveLanguage() == -1) && languageIndex >= 0) {
        m_originals.clear();
        CaptureOriginals(m_propNames, m_originals);
    }
}

void TFormLocalizer::LanguageChanged() {
    if (Source() == nullptr || Source()->ActiveLanguage() == -1) {
        RestoreOriginals(m_propNames);
    }
    TCustomLocalizer::LanguageChanged();
}

void TFormLocalizer::DoPropertyLocalizing(QObject* object, const QString& propName, QString& value,
                                          bool& allow) {
    if (OnPropertyLocalizing) {
        OnPropertyLocalizing(this, object, propName, value, allow);
    }
}

void TFormLocalizer::DoPropertyLocalized(QObject* object, const QString& propName, const QString& value) {
    if (OnPropertyLocalized) {
        OnPropertyLocalized(this, object, propName, value);
    }
}

void TFormLocalizer::DoPropertySaving(QObject* object, const QString& propName, QString& value, bool& allow) {
    if (OnPropertySaving) {
        OnPropertySaving(this, object, propName, value, allow);
    }
}

void TFormLocalizer::DoPropertySaved(QObject* object, const QString& propName, const QString& value) {
    if (OnPropertySaved) {
        OnPropertySaved(this, object, propName, value);
    }
}

void TFormLocalizer::LoadForm(const QString& sectionName) {
    TCustomLanguageSource* source = Source();
    if (source == nullptr || source->ActiveLanguage() < 0 ||
        source->ActiveLanguage() >= source->Languages().size()) {
        ApplyFontSettings(1, 0);
        RestoreOriginals(m_propNames);
        return;
    }
    const int biDiMode = source->ActiveSettings()->BiDiMode();
    const int charSet = source->ActiveSettings()->FontCharSet();
    ApplyFontSettings(charSet, biDiMode);
    source->SetSection(sectionName);
    QStringList entries;
    source->ReadSection(entries);
    for (const QString& entry : entries) {
        const QString key = NameOf(entry);
        if (ContainsText(m_excluded, key)) {
            continue;
        }
        const auto [object, propName] = ResolveKey(key);
        if (object != nullptr) {
            ApplyValue(object, propName, m_propNames, LocalUtils::ValueOf(entry));
        }
    }
}

void TFormLocalizer::SaveForm(const QString& sectionName) {
    TCustomLanguageSource* source = Source();
    if (source == nullptr || source->ActiveLanguage() < 0) {
        return;
    }
    source->SetSection(sectionName);
    Capture(m_propNames, nullptr);
}

std::pair<QObject*, QString> TFormLocalizer::ResolveKey(const QString& key) const {
    QObject* current = Window();
    if (!key.contains(QLatin1Char('.'))) {
        return {current, key};
    }
    QString rest = key;
    bool first = true;
    while (current != nullptr) {
        qsizetype separator = rest.indexOf(QLatin1Char('.'));
        if (!first) {
            const qsizetype bracket = rest.indexOf(QLatin1Char('['));
            if (bracket >= 0 && (separator < 0 || bracket < separator)) {
                separator = bracket;
            }
        }
        first = false;
        const QString part = rest.left(separator);
        const QChar separatorChar = rest.at(separator);
        rest.remove(0, separator + 1);
        const bool owner =
            ComponentModel::IsWindow(current) || ComponentModel::IsFrame(current) || current == Window();
        if (QObject* component = owner ? ComponentModel::FindComponent(current, part) : nullptr) {
            current = component;
        } else if (ContainsText(m_propNames, part) && separatorChar == QLatin1Char('.')) {
            // Collections are not modelled: only an object-valued property can be walked into.
            current = PropertyAdapter::ObjectValue(current, part);
        } else {
            current = nullptr;
        }
        if (!rest.contains(QLatin1Char('.')) && !rest.contains(QLatin1Char('['))) {
            break;
        }
    }
    if (current == nullptr) {
        // Nothing to apply to; the property name still tells which list the key belongs to.
        return {nullptr, key.mid(key.lastIndexOf(QLatin1Char('.')) + 1)};
    }
    return {current, rest};
}

void TFormLocalizer::ApplyValue(QObject* object, const QString& propName, const QStringList& names,
                                const QString& value) {
    if (object == nullptr || !ContainsText(names, propName) ||
        !PropertyAdapter::HasProperty(object, propName)) {
        return;
    }
    QString newValue = value;
    bool allow = true;
    DoPropertyLocalizing(object, propName, newValue, allow);
    if (!allow) {
        return;
    }
    switch (PropertyAdapter::Kind(object, propName)) {
    case pkText:
        // An empty text stays empty: the window never meant it to show anything.
        if (!PropertyAdapter::Text(object, propName).isEmpty()) {
            PropertyAdapter::SetText(object, propName, newValue);
        }
        break;
    case pkStringList:
        PropertyAdapter::SetLines(object, propName, CommaTextToList(newValue));
        break;
    default:
        break;
    }
    DoPropertyLocalized(object, propName, newValue);
}

QList<QObject*> TFormLocalizer::VisitOrder(bool frames) const {
    QList<QObject*> order;
    QObject* window = Window();
    if (window == nullptr) {
        return order;
    }
    order.append(window);
    const std::function<void(QObject*)> addOwned = [&](QObject* owner) {
        for (QObject* component : ComponentModel::Components(owner)) {
            order.append(component);
            if (frames && ComponentModel::IsFrame(component)) {
                addOwned(component);
            }
        }
    };
    addOwned(window);
    return order;
}

QString TFormLocalizer::PropertyValue(const QObject* object, const QString& propName) const {
    switch (PropertyAdapter::Kind(object, propName)) {
    case pkText:
        return PropertyAdapter::Text(object, propName);
    case pkStringList:
        return CommaText(PropertyAdapter::Lines(object, propName));
    default:
        return {};
    }
}

std::pair<QObject*, QString> TFormLocalizer::FollowDependency(QObject* component,
                                                              const QString& propName) const {
    QString target = propName;
    QSet<QString> seen{propName.toCaseFolded()};
    int index;
    while ((index = IndexOfName(m_dependencies, target)) >= 0) {
        target = LocalUtils::ValueOf(m_dependencies.at(index));
        if (seen.contains(target.toCaseFolded())) {
            return {component, propName};
        }
        seen.insert(target.toCaseFolded());
    }
    if (target.compare(propName, Qt::CaseInsensitive) == 0) {
        return {component, propName};
    }
    QStringList parts = target.split(QLatin1Char('.'));
    QObject* object = component;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        object = PropertyAdapter::ObjectValue(object, parts.at(i));
        if (object == nullptr) {
            return {component, propName};
        }
    }
    return {object, parts.last()};
}

void TFormLocalizer::CaptureOriginals(const QStringList& names, QStringList& target) {
    Capture(names, &target);
}

void TFormLocalizer::Capture(const QStringList& names, QStringList* list) {
    QObject* window = Window();
    for (QObject* component : VisitOrder(m_saveOptions.testFlag(soIncludeFrames))) {
        const QString path = ComponentModel::ComponentPath(component, window);
        if (path.isEmpty() || ContainsText(m_excluded, path)) {
            continue;
        }
        for (const QString& name : names) {
            auto [object, propName] = FollowDependency(component, name);
            QString value = PropertyValue(object, propName);
            if (value.isEmpty() && propName != name && m_saveOptions.testFlag(soIgnoreDependencyIfEmpty)) {
                object = component;
                propName = name;
                value = PropertyValue(object, propName);
            }
            if (!PropertyAdapter::HasProperty(object, propName) ||
                (value.trimmed().isEmpty() && !m_saveOptions.testFlag(soSaveEmpty))) {
                continue;
            }
            const QString key = PropertyKey(object, window, propName);
            if (key.isEmpty()) {
                continue;
            }
            if (list != nullptr) {
                SetValue(*list, key, EncodeValue(value));
                continue;
            }
            bool allow = true;
            DoPropertySaving(object, propName, value, allow);
            if (!allow) {
                break;
            }
            Source()->WriteString(key, value);
            DoPropertySaved(object, propName, value);
        }
    }
}

void TFormLocalizer::RestoreOriginals(const QStringList& names) {
    qsizetype i = 0;
    while (i < m_originals.size()) {
        const QString entry = m_originals.at(i);
        const auto [object, propName] = ResolveKey(NameOf(entry));
        if (!ContainsText(names, propName)) {
            ++i;
            continue;
        }
        ApplyValue(object, propName, names, DecodeValue(LocalUtils::ValueOf(entry)));
        // The handler of a property may have changed the list; remove this very entry.
        const qsizetype at = m_originals.indexOf(entry, i);
        m_originals.removeAt(at >= 0 ? at : i);
    }
}

void TFormLocalizer::ApplyFontSettings(int charSet, int biDiMode) {
    PropertyAdapter::SetApplicationCharSet(charSet);
    for (QObject* component : VisitOrder(m_saveOptions.testFlag(soIncludeFrames))) {
        if (PropertyAdapter::HasFont(component)) {
            PropertyAdapter::SetFontCharSet(component, charSet);
            PropertyAdapter::SetParentFont(component, false);
        }
        if (PropertyAdapter::HasBiDiMode(component)) {
            PropertyAdapter::SetBiDiMode(component, biDiMode);
            PropertyAdapter::SetParentBiDiMode(component, false);
        }
    }
}
