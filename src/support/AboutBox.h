#pragma once

#include <QImage>
#include <QObject>
#include <QString>

// What the about box shows; ShowAbout builds the window from the current values each time, so a
// translated warning shows in the next box.
class TAboutBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString appName READ AppName WRITE SetAppName)
    Q_PROPERTY(QString url READ Url WRITE SetUrl)
    Q_PROPERTY(QString warning READ Warning WRITE SetWarning)
    Q_PROPERTY(QString notice READ Notice WRITE SetNotice)

public:
    explicit TAboutBox(QObject* owner);

    // Shows the about box modally, centred on the screen; returns when it has closed.
    void ShowAbout();

    QString AppName() const { return m_appName; }
    void SetAppName(const QString& name) { m_appName = name; }
    QImage Picture() const { return m_picture; }
    void SetPicture(const QImage& picture) { m_picture = picture; }
    QString Url() const { return m_url; }
    void SetUrl(const QString& url) { m_url = url; }
    QString Warning() const { return m_warning; }
    void SetWarning(const QString& warning) { m_warning = warning; }
    QString Notice() const { return m_notice; }
    void SetNotice(const QString& notice) { m_notice = notice; }

    // The program's built-in about picture (60 x 200).
    static QImage DefaultPicture();

private:
    QString m_appName;
    QImage m_picture;
    QString m_url;
    QString m_warning;
    QString m_notice;
};
