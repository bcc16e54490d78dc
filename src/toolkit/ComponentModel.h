#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QWidget;

// Base of the non-visual components a window owns (language source, localizers, ...). A window that
// builds itself from its layout puts such components into the loading state while it sets their
// properties, then calls ComponentModel::EndLoading(window), which gives each one its Loaded() step.
class TComponent : public QObject {
    Q_OBJECT

public:
    explicit TComponent(QObject* owner = nullptr);

    bool IsLoading() const { return m_loading; }
    void BeginLoading() { m_loading = true; }
    // Leaves the loading state; overrides call this first and then act on what was recorded.
    virtual void Loaded();

protected:
    bool m_destroying = false;

private:
    bool m_loading = false;
};

// The component model on Qt: a component is a QObject, its Name is the objectName, and its owner is
// the window (a top-level widget other than a popup menu) or frame it lives in. A frame is a widget
// with the dynamic property "componentFrame" set true; it owns the components inside it.
namespace ComponentModel {
bool IsWindow(const QObject* object);
bool IsFrame(const QObject* object);
// The window the object lives in; the object itself when it is a window.
QWidget* Window(const QObject* object);
// The nearest frame or window above the object; null for a window.
QObject* Owner(const QObject* object);
// Components the owner owns, in ownership (creation) order; a frame's components are not included.
QList<QObject*> Components(const QObject* owner);
// An owned component by name without regard to case; null when there is none or the name is empty.
QObject* FindComponent(const QObject* owner, const QString& name);
// The component's names from below `root` down to it, joined with "."; `root`'s own name for `root`;
// empty when a name on the way is empty or the component does not live under `root`.
QString ComponentPath(const QObject* component, const QObject* root);
// True while the object or one of its parents is being destroyed.
bool IsDestroying(const QObject* object);
// Gives every owned TComponent that is loading its Loaded() step, in ownership order (frames' too).
void EndLoading(QObject* owner);
} // namespace ComponentModel
