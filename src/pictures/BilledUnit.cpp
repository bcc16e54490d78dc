#include "BilledUnit.h"

#include "JpegLoader.h"
#include "toolkit/PictureLabel.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

TBilledForm::TBilledForm(TPictureFolder folder, std::function<QString()> currentFoto, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(std::move(folder)), m_currentFoto(std::move(currentFoto)) {
    setObjectName(QStringLiteral("BilledForm"));
    resize(800, 600);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = new TPictureLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrollBox1);
}

void TBilledForm::SetPicture(const QImage& image) {
    Image1->SetPicture(image);
}

void TBilledForm::FormShow() {
    const QString foto = m_currentFoto ? m_currentFoto() : QString();
    setWindowTitle(foto);
    QImage image;
    try {
        image = LoadJpeg(m_folder.ItemPicture(foto));
    } catch (const EPictureError&) {
        image = LoadJpeg(m_folder.Placeholder());
    }
    SetPicture(image);
}

void TBilledForm::ShowWindow() {
    if (!isVisible()) {
        FormShow();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        showMaximized();
    } else if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    raise();
    activateWindow();
}
