#pragma once

#include <QImage>
#include <QLabel>

// A picture shown at its natural size that reports double-clicks. It paints the picture itself,
// only where it is exposed, so a photo of many megapixels is never converted whole for the screen.
// A picture may arrive in two steps: first the part that is in view, then all of it.
class TPictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit TPictureLabel(QWidget* parent = nullptr);
    // The whole picture; the label takes its size.
    void SetPicture(const QImage& image);
    // The top-left `part` of a picture of `size`: the label takes the whole size and paints the
    // rest in its background colour until SetPicture brings the rest.
    void SetPartialPicture(const QSize& size, const QImage& part);
    // What is shown: the whole picture, or the part known so far.
    const QImage& Picture() const { return m_picture; }
    bool IsComplete() const { return m_complete; }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    bool m_complete = true;
};
