#include "support/AboutFormU.h"

#include "support/AboutBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/Platform.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <array>

using ErrorDisplay::Guarded;

namespace {
constexpr int DesignClientWidth = 297;
constexpr int DesignClientHeight = 321;
constexpr int DesignImageWidth = 48;
constexpr int DesignImageHeight = 200;

// Desktop system-information tools, the first one found is started.
constexpr std::array<const char*, 7> SystemInfoTools{"gnome-system-monitor",
                                                     "plasma-systemmonitor",
                                                     "ksysguard",
                                                     "xfce4-taskmanager",
                                                     "mate-system-monitor",
                                                     "hardinfo",
                                                     "lxtask"};

QLabel* Label(QWidget* parent, const char* name, int left, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& bounds) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(bounds);
    return button;
}

void MoveBy(QWidget* widget, int dx, int dy) {
    widget->move(widget->pos() + QPoint(dx, dy));
}
} // namespace

TAboutWnd::TAboutWnd(const TAboutBox& box, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutWnd"));
    // Where MS Sans Serif is missing, its metric neighbour keeps the texts inside the design widths.
    QFont font;
    font.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSize(8);
    setFont(font);
    CreateControls();
    FillIn(box);
    AdjustPicture(box.Picture());
    ShowVersion(VersionText(ProgramVersion()));
    CentreOnScreen();
}

void TAboutWnd::CreateControls() {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(DesignClientWidth, DesignClientHeight);
    setWindowTitle(QStringLiteral("About %s ®"));

    bvlOuter = new QFrame(this);
    bvlOuter->setObjectName(QStringLiteral("bvlOuter"));
    bvlOuter->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bvlOuter->setGeometry(8, 8, 50, 201);
    imgApp = Label(this, "imgApp", 9, 9);
    imgApp->resize(DesignImageWidth, DesignImageHeight);
    imgApp->setAlignment(Qt::AlignCenter);

    lblAppName = Label(this, "lblAppName", 64, 8);
    lblAppName->setText(QStringLiteral("%s ®"));
    lblVersionInfo = Label(this, "lblVersionInfo", 64, 24);
    lblVersionInfo->setText(QStringLiteral("Version:"));
    lblVersionInfo->adjustSize();
    lblVersion = Label(this, "lblVersion", 104, 24);
    QFont bold = font();
    bold.setBold(true);
    lblVersion->setFont(bold);
    lblNotice = Label(this, "lblNotice", 64, 48);
    lblNotice->resize(225, 25);
    lblNotice->setWordWrap(true);
    lblNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblUrl = Label(this, "lblUrl", 64, 80);
    lblUrl->setStyleSheet(QStringLiteral("color: blue;"));
    lblUrl->setCursor(Qt::PointingHandCursor);
    lblUrl->installEventFilter(this);

    bvlSep = new QFrame(this);
    bvlSep->setObjectName(QStringLiteral("bvlSep"));
    bvlSep->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bvlSep->setGeometry(8, 216, 281, 2);
    lblWarning = Label(this, "lblWarning", 8, 224);
    lblWarning->resize(281, 61);
    lblWarning->setWordWrap(true);
    lblWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(9);
    lblWarning->setFont(small);

    btnSysInfo = Button(this, "btnSysInfo", QStringLiteral("System Info..."), QRect(136, 288, 73, 23));
    btnSysInfo->setAutoDefault(false);
    btnOk = Button(this, "btnOk", QStringLiteral("OK"), QRect(216, 288, 73, 23));
    btnOk->setDefault(true);
    btnOk->setFocus();
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnSysInfo, &QPushButton::clicked, this, [this] { Guarded([this] { btnSysInfoClick(); }); });
}

void TAboutWnd::FillIn(const TAboutBox& box) {
    setWindowTitle(windowTitle().replace(QLatin1String("%s"), box.AppName()));
    lblAppName->setText(lblAppName->text().replace(QLatin1String("%s"), box.AppName()));
    lblAppName->adjustSize();
    lblNotice->setText(box.Notice());
    lblWarning->setText(box.Warning());
    m_url = box.Url();
    lblUrl->setText(m_url);
    lblUrl->setToolTip(m_url);
    lblUrl->adjustSize();
}

void TAboutWnd::AdjustPicture(const QImage& picture) {
    int designWidth = imgApp->width();
    int designHeight = imgApp->height();
    if (!picture.isNull()) {
        imgApp->setPixmap(QPixmap::fromImage(picture));
        imgApp->resize(picture.width(),
                       picture.height() > imgApp->height() ? picture.height() : imgApp->height());
    } else {
        imgApp->resize(0, 0);
        designWidth = 0;
        designHeight = 0;
        bvlOuter->hide();
    }
    const int dx = imgApp->width() - designWidth;
    const int dy = imgApp->height() - designHeight;
    setFixedSize(width() + dx, height() + dy);
    bvlOuter->resize(imgApp->width() + 2, bvlOuter->height());
    // The texts beside the picture and the buttons keep their distance to the right edge; the
    // separator and the warning take the new width. All below the picture keeps its distance to the bottom.
    for (QWidget* right : {static_cast<QWidget*>(lblAppName), static_cast<QWidget*>(lblVersionInfo),
                           static_cast<QWidget*>(lblVersion), static_cast<QWidget*>(lblNotice),
                           static_cast<QWidget*>(lblUrl)}) {
        MoveBy(right, dx, 0);
    }
    for (QWidget* button : {btnSysInfo, btnOk}) {
        MoveBy(button, dx, dy);
    }
    for (QWidget* stretched : {static_cast<QWidget*>(bvlSep), static_cast<QWidget*>(lblWarning)}) {
        MoveBy(stretched, 0, dy);
        stretched->resize(stretched->width() + dx, stretched->height());
    }
}

void TAboutWnd::CentreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

std::optional<TFileVersion> TAboutWnd::ProgramVersion() {
    // An empty part of the project version counts as 0.
    return TFileVersion{HABITRA_VERSION_MAJOR + 0, HABITRA_VERSION_MINOR + 0, HABITRA_VERSION_PATCH + 0,
                        HABITRA_VERSION_TWEAK + 0};
}

QString TAboutWnd::VersionText(const std::optional<TFileVersion>& version) {
    if (!version) {
        return {};
    }
    return QString::asprintf("%d.%d (%s: %d.%d)", version->Major, version->Minor, "Build", version->Release,
                             version->Build);
}

void TAboutWnd::ShowVersion(const QString& text) {
    lblVersion->setText(text);
    lblVersion->adjustSize();
    // A wider font than designed must not run "Version:" into the version.
    const int clear = lblVersionInfo->geometry().right() + 4;
    if (lblVersion->x() < clear) {
        lblVersion->move(clear, lblVersion->y());
    }
    lblVersionInfo->setVisible(!text.isEmpty());
}

bool TAboutWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblUrl && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Guarded([this] { lblUrlClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutWnd::lblUrlClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestore {
        ~TRestore() { QApplication::restoreOverrideCursor(); }
    } restore;
    TPlatform::Instance().OpenDocument(m_url);
}

void TAboutWnd::btnSysInfoClick() {
    for (const char* tool : SystemInfoTools) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!path.isEmpty() && TPlatform::Instance().StartProgram(path, {})) {
            return;
        }
    }
    Dialogs::MessageDlg(QStringLiteral("Could not execute system information!"), QMessageBox::Critical,
                        {Dialogs::mbOK});
}
