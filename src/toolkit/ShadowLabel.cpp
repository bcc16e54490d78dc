#include "ShadowLabel.h"

#include <QPainter>

TShadowLabel::TShadowLabel(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void TShadowLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect();
    painter.setPen(m_shadowColor);
    painter.drawText(area.translated(m_offset, m_offset), int(alignment()), text());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, int(alignment()), text());
}
