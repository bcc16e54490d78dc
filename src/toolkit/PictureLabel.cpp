#include "PictureLabel.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TPictureLabel::TPictureLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TPictureLabel::SetPicture(const QImage& image) {
    m_picture = image;
    m_complete = true;
    resize(image.size());
    update();
}

void TPictureLabel::SetPartialPicture(const QSize& size, const QImage& part) {
    m_picture = part;
    m_complete = false;
    resize(size);
    update();
}

void TPictureLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QRect shown = exposed & m_picture.rect();
    if (!shown.isEmpty()) {
        painter.drawImage(shown.topLeft(), m_picture, shown);
    }
    const QRegion rest = QRegion(exposed) - QRegion(shown);
    for (const QRect& rect : rest) {
        painter.fillRect(rect, palette().window());
    }
}

void TPictureLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
    QLabel::mouseDoubleClickEvent(event);
}
