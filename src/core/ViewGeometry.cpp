#include "ViewGeometry.h"

#include <cmath>
#include <limits>

namespace ViewGeometry {

namespace {

// Truncation toward zero that saturates instead of overflowing: a deep zoom must
// give a size that fits() turns down, never undefined behaviour.
int truncated(double value)
{
    constexpr double highest = std::numeric_limits<int>::max();
    constexpr double lowest = std::numeric_limits<int>::min();
    if (std::isnan(value))
        return 0;
    if (value >= highest)
        return std::numeric_limits<int>::max();
    if (value <= lowest)
        return std::numeric_limits<int>::min();
    return int(std::trunc(value));
}

// The fitted side, cut so the far edge stays on the screen. A window that starts
// beyond the screen (on another monitor) is not cut: that would leave it no size.
int cutToScreen(qint64 outer, int position, int screen)
{
    if (position < screen && position + outer > screen)
        return screen - position;
    return int(qMin<qint64>(outer, std::numeric_limits<int>::max()));
}

} // namespace

double scale(float zoom)
{
    return std::pow(2.0, double(zoom));
}

QSize viewSize(const QSize &picture, float zoom)
{
    const double s = scale(zoom);
    return QSize(truncated(picture.width() * s), truncated(picture.height() * s));
}

bool fits(double width, double height)
{
    return width <= MaxViewSide && height <= MaxViewSide;
}

int toPicture(int viewCoordinate, double scale)
{
    return truncated(viewCoordinate / scale);
}

int distance(const QPoint &from, const QPoint &to)
{
    const double dx = double(to.x()) - from.x();
    const double dy = double(to.y()) - from.y();
    return truncated(std::sqrt(dx * dx + dy * dy));
}

QSize fittedOuterSize(const QSize &view, int stripHeight, const QPoint &position,
                      const QMargins &frame, const QSize &screen)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();

    const qint64 width = view.width() <= MinFittedWidth ? qint64(MinFittedWidth)
                                                        : qint64(view.width()) + frameWidth;
    const qint64 height = qint64(view.height()) + stripHeight + frameHeight;
    return QSize(cutToScreen(width, position.x(), screen.width()),
                 cutToScreen(height, position.y(), screen.height()));
}

QRectF pictureRectOf(const QRect &viewRect, double scale)
{
    return QRectF(viewRect.x() / scale, viewRect.y() / scale, viewRect.width() / scale,
                  viewRect.height() / scale);
}

QRect anchored(const QRect &design, const QSize &designParent, const QSize &parent,
               Qt::Edges anchors)
{
    const int dw = parent.width() - designParent.width();
    const int dh = parent.height() - designParent.height();
    QRect r = design;

    if (anchors.testFlag(Qt::RightEdge)) {
        if (anchors.testFlag(Qt::LeftEdge))
            r.setWidth(qMax(0, design.width() + dw));
        else
            r.moveLeft(design.left() + dw);
    }
    if (anchors.testFlag(Qt::BottomEdge)) {
        if (anchors.testFlag(Qt::TopEdge))
            r.setHeight(qMax(0, design.height() + dh));
        else
            r.moveTop(design.top() + dh);
    }
    return r;
}

} // namespace ViewGeometry
