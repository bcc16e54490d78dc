#include "support/Splash.h"

#include "support/SupportResources.h"
#include "support/cFormShaper.h"
#include "toolkit/ErrorDisplay.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>

using ErrorDisplay::Guarded;

TSplash::TSplash(const QImage& picture, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(580, 80);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->move(0, 0);
    Image1->adjustSize();
    Image1->setToolTip(QStringLiteral("Højreklik for at lukke"));
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);

    FormShaper1 = new TFormShaper(this);
    FormShaper1->setObjectName(QStringLiteral("FormShaper1"));
    FormShaper1->SetShape(TFormShaper::ShapeOf(picture));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Luk1 = PopupMenu1->addAction(QStringLiteral("Luk"));
    Luk1->setObjectName(QStringLiteral("Luk1"));
    connect(Image1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Guarded([&] { PopupMenu1->popup(Image1->mapToGlobal(at)); }); });
    connect(Luk1, &QAction::triggered, this, [this] { Guarded([this] { Luk1Click(); }); });

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    qApp->installEventFilter(this);
    FormCreate();
}

TSplash::~TSplash() = default;

TSplash* TSplash::ShowSplash() {
    QImage picture;
    Guarded([&] { picture = SupportResources::Picture(QStringLiteral("Splash.jpg")); });
    auto* splash = new TSplash(picture);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return splash;
}

void TSplash::FormCreate() {
    FormShaper1->SetActive(true);
}

void TSplash::FormDeactivate() {
    if (m_gone) {
        return;
    }
    m_gone = true;
    qApp->removeEventFilter(this);
    hide();
    deleteLater();
}

void TSplash::Luk1Click() {
    close();
}

bool TSplash::IsOwnWindow(const QWidget* widget) const {
    return widget == this || isAncestorOf(widget) || widget->parentWidget() == this;
}

// Another window of the program coming up or becoming active takes over from the splash; it goes
// once that event has been handled.
bool TSplash::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) &&
        watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog) && !IsOwnWindow(widget)) {
            Guarded([this] { FormDeactivate(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}
