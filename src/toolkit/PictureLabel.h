#pragma once

#include <QLabel>

// A picture shown at its natural size that reports double-clicks.
class TPictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit TPictureLabel(QWidget* parent = nullptr);
    void SetPicture(const QImage& image);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
