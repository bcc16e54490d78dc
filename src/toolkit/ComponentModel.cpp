#include "toolkit/ComponentModel.h"

#include <QStackedWidget>
#include <QVariant>
#include <QWidget>

TComponent::TComponent(QObject* owner) : QObject(owner) {}

void TComponent::Loaded() {
    m_loading = false;
}

namespace {
bool IsInternal(const QObject* object) {
    // Qt names the helpers it creates inside its widgets "qt_..."; they are not components.
    return object->objectName().startsWith(QLatin1String("qt_"));
}

// The user's widgets may sit inside a few of Qt's helpers (tab pages, scroll area viewports); the
// other helpers (a tab bar's scroll buttons, ...) hold only Qt's own parts.
bool HoldsComponents(const QObject* object) {
    const QString name = object->objectName();
    return !IsInternal(object) || name == QLatin1String("qt_tabwidget_stackedwidget") ||
           name.endsWith(QLatin1String("_viewport")) ||
           qobject_cast<const QStackedWidget*>(object) != nullptr;
}

void Collect(const QObject* parent, QList<QObject*>& result) {
    for (QObject* child : parent->children()) {
        if (child == nullptr || ComponentModel::IsWindow(child)) {
            continue;
        }
        if (!IsInternal(child)) {
            result.append(child);
        }
        if (!ComponentModel::IsFrame(child) && HoldsComponents(child)) {
            Collect(child, result);
        }
    }
}
} // namespace

bool ComponentModel::IsWindow(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget != nullptr && widget->isWindow() && widget->windowType() != Qt::Popup &&
           widget->windowType() != Qt::ToolTip;
}

bool ComponentModel::IsFrame(const QObject* object) {
    return object != nullptr && !IsWindow(object) && object->isWidgetType() &&
           object->property("componentFrame").toBool();
}

QWidget* ComponentModel::Window(const QObject* object) {
    for (const QObject* current = object; current != nullptr; current = current->parent()) {
        if (IsWindow(current)) {
            return const_cast<QWidget*>(static_cast<const QWidget*>(current));
        }
    }
    return nullptr;
}

QObject* ComponentModel::Owner(const QObject* object) {
    if (object == nullptr || IsWindow(object)) {
        return nullptr;
    }
    for (QObject* current = object->parent(); current != nullptr; current = current->parent()) {
        if (IsWindow(current) || IsFrame(current)) {
            return current;
        }
    }
    return nullptr;
}

QList<QObject*> ComponentModel::Components(const QObject* owner) {
    QList<QObject*> result;
    if (owner != nullptr && (IsWindow(owner) || IsFrame(owner) || owner->parent() == nullptr)) {
        Collect(owner, result);
    }
    return result;
}

QObject* ComponentModel::FindComponent(const QObject* owner, const QString& name) {
    if (name.isEmpty()) {
        return nullptr;
    }
    for (QObject* component : Components(owner)) {
        if (component->objectName().compare(name, Qt::CaseInsensitive) == 0) {
            return component;
        }
    }
    return nullptr;
}

QString ComponentModel::ComponentPath(const QObject* component, const QObject* root) {
    if (component == nullptr) {
        return {};
    }
    if (component == root) {
        return root->objectName();
    }
    QString path;
    for (const QObject* current = component; current != root; current = Owner(current)) {
        if (current == nullptr || current->objectName().isEmpty()) {
            return {};
        }
        path = path.isEmpty() ? current->objectName() : current->objectName() + QLatin1Char('.') + path;
    }
    return path;
}

bool ComponentModel::IsDestroying(const QObject* object) {
    for (const QObject* current = object; current != nullptr; current = current->parent()) {
        // Qt clears each entry of a parent's child list while it deletes its children.
        if (current->children().contains(nullptr)) {
            return true;
        }
    }
    return false;
}

void ComponentModel::EndLoading(QObject* owner) {
    for (QObject* object : Components(owner)) {
        auto* component = qobject_cast<TComponent*>(object);
        if (component != nullptr && component->IsLoading()) {
            component->Loaded();
        }
        if (IsFrame(object)) {
            EndLoading(object);
        }
    }
}
