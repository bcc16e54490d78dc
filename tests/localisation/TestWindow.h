#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

// A navigator-like bar publishing its button hints as a string list.
class THintBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList hints READ Hints WRITE SetHints)

public:
    using QWidget::QWidget;
    QStringList Hints() const { return m_hints; }
    void SetHints(const QStringList& hints) { m_hints = hints; }

private:
    QStringList m_hints;
};

// A non-visual component with a text property, like the about box.
class TWarner : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString warning READ Warning WRITE SetWarning)

public:
    using QObject::QObject;
    QString Warning() const { return m_warning; }
    void SetWarning(const QString& warning) { m_warning = warning; }

private:
    QString m_warning;
};

// A small window with the kinds of components the program's windows have, Danish texts.
class TTestWindow : public QWidget {
    Q_OBJECT

public:
    explicit TTestWindow(const QString& name = QStringLiteral("Form1"));

    QLabel* Label1;
    QLabel* Label2; // empty caption
    QPushButton* Button1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QComboBox* ComboBox1;
    QLineEdit* Edit1; // empty text
    QMenu* Filer1;
    QAction* Afslut1;
    THintBar* DBNavigator1; // empty hints
    TWarner* AboutBox1;

    // Every translatable text read straight from the widgets, for comparing whole windows.
    QStringList Snapshot() const;
};

// Language files written into a temporary folder (8-bit, as given).
class TLanguageFolder {
public:
    QString Write(const QString& name, const QByteArray& contents);
    QString Path(const QString& name) const;

private:
    QTemporaryDir m_dir;
};
