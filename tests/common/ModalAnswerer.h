#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Answers every modal message box that appears while it lives: records its title and text and
// clicks the button with the given caption (the first button when none matches).
class TModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit TModalAnswerer(QString button = QStringLiteral("OK"));
    void SetButton(const QString& button) { m_button = button; }

    QStringList Titles;
    QStringList Texts; // as composed by the program
    QStringList Shown; // as the box shows them on screen
    int Count() const { return int(Texts.size()); }

private:
    void Poll();
    QString m_button;
    QTimer m_timer;
};
