#pragma once

#include <QDialog>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class TAboutBox;

// A program file version: major.minor, release.build.
struct TFileVersion {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
};

// The about box's window, built from the component's current values and laid out at fixed
// positions; the picture decides the room it gets.
class TAboutWnd : public QDialog {
    Q_OBJECT
public:
    TAboutWnd(const TAboutBox& box, QWidget* parent = nullptr);

    // The version this program was built as.
    static std::optional<TFileVersion> ProgramVersion();
    // "2.5 (Build: 0.7)"; empty without version information.
    static QString VersionText(const std::optional<TFileVersion>& version);
    // Shows the version line; "Version:" only when there is a text.
    void ShowVersion(const QString& text);

    QFrame* bvlOuter = nullptr;
    QLabel* imgApp = nullptr;
    QLabel* lblAppName = nullptr;
    QLabel* lblVersionInfo = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblNotice = nullptr;
    QLabel* lblUrl = nullptr;
    QFrame* bvlSep = nullptr;
    QLabel* lblWarning = nullptr;
    QPushButton* btnSysInfo = nullptr;
    QPushButton* btnOk = nullptr;

    // Handlers
    void lblUrlClick();
    void btnSysInfoClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void FillIn(const TAboutBox& box);
    void AdjustPicture(const QImage& picture);
    void CentreOnScreen();

    QString m_url;
};
