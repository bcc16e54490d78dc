#include "toolkit/PropertyAdapter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaProperty>
#include <QStackedWidget>
#include <QTabWidget>
#include <algorithm>

namespace {
enum class TBinding {
    None,
    LabelText,
    ButtonText,
    GroupTitle,
    MenuTitle,
    ActionText,
    TabText,
    WindowTitle,
    ToolTip,
    ActionToolTip,
    ComboItems,
    LineEditText,
    ComboText,
    Meta
};

struct TResolved {
    TBinding binding = TBinding::None;
    QMetaProperty property;
};

const char* const CharSetProperty = "fontCharSet";
const char* const BiDiModeProperty = "biDiMode";

QTabWidget* TabWidgetOf(const QObject* object) {
    const auto* page = qobject_cast<const QWidget*>(object);
    if (page == nullptr) {
        return nullptr;
    }
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs != nullptr && tabs->indexOf(const_cast<QWidget*>(page)) >= 0 ? tabs : nullptr;
}

bool ListedInClassInfo(const QMetaObject* meta, const char* info, const QString& name) {
    const int index = meta->indexOfClassInfo(info);
    if (index < 0) {
        return false;
    }
    const QStringList names = QString::fromLatin1(meta->classInfo(index).value()).split(QLatin1Char(','));
    return std::any_of(names.begin(), names.end(), [&](const QString& entry) {
        return entry.trimmed().compare(name, Qt::CaseInsensitive) == 0;
    });
}

// A data-aware control (one with a "dataField" property) shows data, not a caption or text of its
// own; a class can also hide names with Q_CLASSINFO("unpublished", "Caption,Text").
bool Unpublished(const QObject* object, const QString& name) {
    const QMetaObject* meta = object->metaObject();
    return meta->indexOfProperty("dataField") >= 0 || ListedInClassInfo(meta, "unpublished", name);
}

// A Q_PROPERTY by name without regard to case; with `ownOnly`, only one declared by the program's
// own classes (not Qt's).
QMetaProperty FindMeta(const QObject* object, const QString& name, bool ownOnly) {
    const QMetaObject* meta = object->metaObject();
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        QMetaProperty property = meta->property(i);
        if (QString::fromLatin1(property.name()).compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (ownOnly) {
            const QMetaObject* declaring = meta;
            while (declaring->propertyOffset() > i) {
                declaring = declaring->superClass();
            }
            if (declaring->className()[0] == 'Q') {
                continue;
            }
        }
        return property;
    }
    return {};
}

TResolved Resolve(const QObject* object, const QString& name) {
    TResolved result;
    if (object == nullptr || name.isEmpty()) {
        return result;
    }
    const QString key = name.toLower();
    bool vocabulary = true;
    const QMetaProperty own = FindMeta(object, name, true);
    if (own.isValid() && own.isReadable()) {
        // The program's own class decides what the name means for it.
        result.binding = TBinding::Meta;
        result.property = own;
        return result;
    }
    if ((key == QLatin1String("caption") || key == QLatin1String("text")) && Unpublished(object, name)) {
        // nothing of its own (above), so nothing at all
    } else if (key == QLatin1String("caption")) {
        if (qobject_cast<const QMenu*>(object) != nullptr) {
            result.binding = TBinding::MenuTitle;
        } else if (qobject_cast<const QLabel*>(object) != nullptr) {
            result.binding = TBinding::LabelText;
        } else if (qobject_cast<const QAbstractButton*>(object) != nullptr) {
            result.binding = TBinding::ButtonText;
        } else if (qobject_cast<const QGroupBox*>(object) != nullptr) {
            result.binding = TBinding::GroupTitle;
        } else if (qobject_cast<const QAction*>(object) != nullptr) {
            result.binding = TBinding::ActionText;
        } else if (TabWidgetOf(object) != nullptr) {
            result.binding = TBinding::TabText;
        } else if (object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow()) {
            result.binding = TBinding::WindowTitle;
        }
    } else if (key == QLatin1String("hint")) {
        if (object->isWidgetType()) {
            result.binding = TBinding::ToolTip;
        } else if (qobject_cast<const QAction*>(object) != nullptr) {
            result.binding = TBinding::ActionToolTip;
        }
    } else if (key == QLatin1String("items")) {
        if (qobject_cast<const QComboBox*>(object) != nullptr) {
            result.binding = TBinding::ComboItems;
        }
    } else if (key == QLatin1String("text")) {
        if (qobject_cast<const QLineEdit*>(object) != nullptr) {
            result.binding = TBinding::LineEditText;
        } else if (qobject_cast<const QComboBox*>(object) != nullptr) {
            result.binding = TBinding::ComboText;
        }
    } else {
        vocabulary = false;
    }
    if (result.binding == TBinding::None) {
        result.property = FindMeta(object, name, vocabulary);
        if (result.property.isValid() && result.property.isReadable()) {
            result.binding = TBinding::Meta;
        }
    }
    return result;
}

TPropertyKind MetaKind(const QMetaProperty& property) {
    switch (property.metaType().id()) {
    case QMetaType::QString:
        return pkText;
    case QMetaType::QStringList:
        return pkStringList;
    default:
        return pkOther;
    }
}

// QAction reports its text as tool tip when it has none of its own.
QString ActionHint(const QAction* action) {
    QString tip = action->toolTip();
    QString plain = action->text();
    plain.remove(QLatin1Char('&'));
    if (plain.endsWith(QLatin1String("..."))) {
        plain.chop(3);
    }
    return tip == plain.trimmed() ? QString() : tip;
}

QWidget* AsWidget(const QObject* object) {
    return object != nullptr && object->isWidgetType()
               ? const_cast<QWidget*>(static_cast<const QWidget*>(object))
               : nullptr;
}
} // namespace

TPropertyKind PropertyAdapter::Kind(const QObject* object, const QString& name) {
    const TResolved resolved = Resolve(object, name);
    switch (resolved.binding) {
    case TBinding::None:
        return pkNone;
    case TBinding::ComboItems:
        return pkStringList;
    case TBinding::Meta:
        return MetaKind(resolved.property);
    default:
        return pkText;
    }
}

QString PropertyAdapter::Text(const QObject* object, const QString& name) {
    const TResolved resolved = Resolve(object, name);
    switch (resolved.binding) {
    case TBinding::LabelText:
        return static_cast<const QLabel*>(object)->text();
    case TBinding::ButtonText:
        return static_cast<const QAbstractButton*>(object)->text();
    case TBinding::GroupTitle:
        return static_cast<const QGroupBox*>(object)->title();
    case TBinding::MenuTitle:
        return static_cast<const QMenu*>(object)->title();
    case TBinding::ActionText:
        return static_cast<const QAction*>(object)->text();
    case TBinding::TabText: {
        QTabWidget* tabs = TabWidgetOf(object);
        return tabs->tabText(tabs->indexOf(AsWidget(object)));
    }
    case TBinding::WindowTitle:
        return AsWidget(object)->windowTitle();
    case TBinding::ToolTip:
        return AsWidget(object)->toolTip();
    case TBinding::ActionToolTip:
        return ActionHint(static_cast<const QAction*>(object));
    case TBinding::LineEditText:
        return static_cast<const QLineEdit*>(object)->text();
    case TBinding::ComboText:
        return static_cast<const QComboBox*>(object)->currentText();
    case TBinding::Meta:
        return MetaKind(resolved.property) == pkText ? resolved.property.read(object).toString() : QString();
    default:
        return {};
    }
}

void PropertyAdapter::SetText(QObject* object, const QString& name, const QString& value) {
    const TResolved resolved = Resolve(object, name);
    switch (resolved.binding) {
    case TBinding::LabelText:
        static_cast<QLabel*>(object)->setText(value);
        break;
    case TBinding::ButtonText:
        static_cast<QAbstractButton*>(object)->setText(value);
        break;
    case TBinding::GroupTitle:
        static_cast<QGroupBox*>(object)->setTitle(value);
        break;
    case TBinding::MenuTitle:
        static_cast<QMenu*>(object)->setTitle(value);
        break;
    case TBinding::ActionText:
        static_cast<QAction*>(object)->setText(value);
        break;
    case TBinding::TabText: {
        QTabWidget* tabs = TabWidgetOf(object);
        tabs->setTabText(tabs->indexOf(AsWidget(object)), value);
        break;
    }
    case TBinding::WindowTitle:
        AsWidget(object)->setWindowTitle(value);
        break;
    case TBinding::ToolTip:
        AsWidget(object)->setToolTip(value);
        break;
    case TBinding::ActionToolTip:
        static_cast<QAction*>(object)->setToolTip(value);
        break;
    case TBinding::LineEditText:
        static_cast<QLineEdit*>(object)->setText(value);
        break;
    case TBinding::ComboText: {
        auto* combo = static_cast<QComboBox*>(object);
        if (combo->isEditable()) {
            combo->setEditText(value);
        } else {
            combo->setCurrentText(value);
        }
        break;
    }
    case TBinding::Meta:
        if (MetaKind(resolved.property) == pkText) {
            resolved.property.write(object, value);
        }
        break;
    default:
        break;
    }
}

QStringList PropertyAdapter::Lines(const QObject* object, const QString& name) {
    const TResolved resolved = Resolve(object, name);
    if (resolved.binding == TBinding::ComboItems) {
        const auto* combo = static_cast<const QComboBox*>(object);
        QStringList lines;
        for (int i = 0; i < combo->count(); ++i) {
            lines.append(combo->itemText(i));
        }
        return lines;
    }
    if (resolved.binding == TBinding::Meta && MetaKind(resolved.property) == pkStringList) {
        return resolved.property.read(object).toStringList();
    }
    return {};
}

void PropertyAdapter::SetLines(QObject* object, const QString& name, const QStringList& lines) {
    const TResolved resolved = Resolve(object, name);
    if (resolved.binding == TBinding::ComboItems) {
        auto* combo = static_cast<QComboBox*>(object);
        const bool updates = combo->updatesEnabled();
        combo->setUpdatesEnabled(false);
        while (combo->count() > lines.size()) {
            combo->removeItem(combo->count() - 1);
        }
        for (int i = 0; i < lines.size(); ++i) {
            if (i < combo->count()) {
                combo->setItemText(i, lines.at(i));
            } else {
                combo->addItem(lines.at(i));
            }
        }
        combo->setUpdatesEnabled(updates);
    } else if (resolved.binding == TBinding::Meta && MetaKind(resolved.property) == pkStringList) {
        resolved.property.write(object, lines);
    }
}

QVariant PropertyAdapter::Value(const QObject* object, const QString& name) {
    const TResolved resolved = Resolve(object, name);
    switch (Kind(object, name)) {
    case pkText:
        return Text(object, name);
    case pkStringList:
        return Lines(object, name);
    case pkOther:
        return resolved.property.read(object);
    default:
        return {};
    }
}

bool PropertyAdapter::SetValue(QObject* object, const QString& name, const QVariant& value) {
    const TResolved resolved = Resolve(object, name);
    switch (Kind(object, name)) {
    case pkText:
        SetText(object, name, value.toString());
        return true;
    case pkStringList:
        SetLines(object, name, value.toStringList());
        return true;
    case pkOther:
        return resolved.property.isWritable() && resolved.property.write(object, value);
    default:
        return false;
    }
}

QObject* PropertyAdapter::ObjectValue(const QObject* object, const QString& name) {
    const TResolved resolved = Resolve(object, name);
    if (resolved.binding != TBinding::Meta ||
        !(resolved.property.metaType().flags() & QMetaType::PointerToQObject)) {
        return nullptr;
    }
    return resolved.property.read(object).value<QObject*>();
}

bool PropertyAdapter::HasFont(const QObject* object) {
    return AsWidget(object) != nullptr;
}

int PropertyAdapter::FontCharSet(const QObject* object) {
    const QVariant value = object != nullptr ? object->property(CharSetProperty) : QVariant();
    return value.isValid() ? value.toInt() : 1;
}

void PropertyAdapter::SetFontCharSet(QObject* object, int charSet) {
    if (HasFont(object)) {
        object->setProperty(CharSetProperty, charSet);
    }
}

bool PropertyAdapter::ParentFont(const QObject* object) {
    const QWidget* widget = AsWidget(object);
    return widget != nullptr && !widget->testAttribute(Qt::WA_SetFont);
}

void PropertyAdapter::SetParentFont(QObject* object, bool parentFont) {
    QWidget* widget = AsWidget(object);
    if (widget == nullptr || ParentFont(widget) == parentFont) {
        return;
    }
    if (parentFont) {
        widget->setFont(QFont());
    } else {
        QFont own = widget->font();
        own.setResolveMask(QFont::AllPropertiesResolved);
        widget->setFont(own);
    }
}

bool PropertyAdapter::HasBiDiMode(const QObject* object) {
    return AsWidget(object) != nullptr;
}

int PropertyAdapter::BiDiMode(const QObject* object) {
    const QWidget* widget = AsWidget(object);
    if (widget == nullptr) {
        return 0;
    }
    const QVariant stored = widget->property(BiDiModeProperty);
    if (stored.isValid() && (stored.toInt() == 0) == (widget->layoutDirection() == Qt::LeftToRight)) {
        return stored.toInt();
    }
    return widget->layoutDirection() == Qt::RightToLeft ? 1 : 0;
}

void PropertyAdapter::SetBiDiMode(QObject* object, int mode) {
    QWidget* widget = AsWidget(object);
    if (widget == nullptr) {
        return;
    }
    widget->setProperty(BiDiModeProperty, mode);
    widget->setLayoutDirection(mode == 0 ? Qt::LeftToRight : Qt::RightToLeft);
}

bool PropertyAdapter::ParentBiDiMode(const QObject* object) {
    const QWidget* widget = AsWidget(object);
    return widget != nullptr && !widget->testAttribute(Qt::WA_SetLayoutDirection);
}

void PropertyAdapter::SetParentBiDiMode(QObject* object, bool parentBiDiMode) {
    QWidget* widget = AsWidget(object);
    if (widget == nullptr || ParentBiDiMode(widget) == parentBiDiMode) {
        return;
    }
    if (parentBiDiMode) {
        widget->unsetLayoutDirection();
    } else {
        widget->setLayoutDirection(widget->layoutDirection());
    }
}

int PropertyAdapter::ApplicationCharSet() {
    const QVariant value = qApp != nullptr ? qApp->property(CharSetProperty) : QVariant();
    return value.isValid() ? value.toInt() : 1;
}

void PropertyAdapter::SetApplicationCharSet(int charSet) {
    if (qApp != nullptr) {
        qApp->setProperty(CharSetProperty, charSet);
    }
}
