#pragma once

#include <QColor>
#include <QLabel>

// A transparent label whose text is drawn over a shadow of itself, offset down and to the right.
class TShadowLabel : public QLabel {
    Q_OBJECT
public:
    explicit TShadowLabel(QWidget* parent = nullptr);
    void SetShadowColor(const QColor& color) { m_shadowColor = color; }
    void SetShadowOffset(int pixels) { m_offset = pixels; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_shadowColor = Qt::gray;
    int m_offset = 2;
};
