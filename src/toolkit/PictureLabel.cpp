#include "PictureLabel.h"

#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

TPictureLabel::TPictureLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TPictureLabel::SetPicture(const QImage& image) {
    setPixmap(QPixmap::fromImage(image));
    resize(image.size());
}

void TPictureLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
    QLabel::mouseDoubleClickEvent(event);
}
