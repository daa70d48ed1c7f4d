#include "PictureView.h"

#include "ViewGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void PictureView::render(const QImage &picture, double scale, bool unscaled,
                         const QSize &viewSize)
{
    m_picture = picture;
    m_scale = scale;
    m_unscaled = unscaled;
    m_rendered = true;
    m_lines.clear();
    setFixedSize(viewSize);
    update();
}

void PictureView::invertLine(const QPoint &from, const QPoint &to)
{
    if (from == to)
        return;
    const QLine line(from, to);
    // Inverting is its own undo: a line already on the view comes off again.
    if (!m_lines.removeOne(line))
        m_lines.append(line);
    update(QRect(from, to).normalized().adjusted(-1, -1, 1, 1));
}

QImage PictureView::grabView(const QRect &rect)
{
    return grab(rect).toImage();
}

void PictureView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    if (!m_rendered) {
        painter.fillRect(exposed, palette().color(QPalette::Button));
        return;
    }
    painter.fillRect(exposed, Qt::white);
    paintPicture(painter, exposed);
    if (!m_lines.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 0));
        for (const QLine &line : std::as_const(m_lines))
            painter.drawLine(line);
    }
}

void PictureView::paintPicture(QPainter &painter, const QRect &exposed) const
{
    if (m_picture.isNull())
        return;
    if (m_unscaled) {
        const QRect source = exposed.intersected(m_picture.rect());
        if (!source.isEmpty())
            painter.drawImage(source.topLeft(), m_picture, source);
        return;
    }
    // Take a little more of the picture than the exposed part, so that smoothing
    // at the edges of a partial repaint sees the same neighbours as a full one.
    QRectF source = ViewGeometry::pictureRectOf(exposed, m_scale).adjusted(-2, -2, 2, 2);
    source = source.intersected(QRectF(m_picture.rect()));
    if (source.isEmpty())
        return;
    const QRectF target(source.x() * m_scale, source.y() * m_scale, source.width() * m_scale,
                        source.height() * m_scale);
    painter.save();
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_picture, source);
    painter.restore();
}

void PictureView::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void PictureView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->modifiers(), event->position().toPoint());
}

void PictureView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The window system hands over the second press of a double click as this
    // event alone. The left button's double click completes an area first; then,
    // for every button, that second press is an ordinary press.
    if (event->button() == Qt::LeftButton)
        emit doubleClick();
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}
