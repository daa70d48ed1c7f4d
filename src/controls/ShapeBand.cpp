#include "ShapeBand.h"

#include <QPainter>
#include <QPainterPath>

ShapeBand::ShapeBand(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setEnabled(false);
    hide();
}

void ShapeBand::setShape(Shape shape)
{
    if (m_shape == shape)
        return;
    m_shape = shape;
    update();
}

void ShapeBand::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    if (m_shape == Rectangle) {
        painter.drawRect(rect());
    } else {
        // A circle as wide as the smaller side, centred, as the shape control draws it.
        const int side = qMin(width(), height());
        painter.drawEllipse(QRect((width() - side) / 2, (height() - side) / 2, side, side));
    }
}
