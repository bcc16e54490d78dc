#include "AccessibleWindows.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {
QAccessibleInterface* WindowInterface(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // Asked for the object's own class first: only windows whose class derives from QWidget itself,
    // so every kind of widget Qt knows (main windows, dialogs, menus) keeps its own interface.
    if (widget == nullptr || !widget->isWindow() || widget->windowType() != Qt::Window ||
        className != QLatin1String(object->metaObject()->className()) ||
        object->metaObject()->superClass() != &QWidget::staticMetaObject) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, QAccessible::Window);
}
} // namespace

void AccessibleWindows::Install() {
    QAccessible::installFactory(WindowInterface);
}
