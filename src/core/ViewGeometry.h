#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

// Geometry of the view: the picture shown at scale 2^zoom, view and picture
// coordinates, and the size the main window takes when fitted to a picture.
namespace ViewGeometry {

// The largest widget side the window system takes.
constexpr int MaxViewSide = 16777215;
// The narrowest outer width a fitted main window gets.
constexpr int MinFittedWidth = 310;

// 2 to the power of the zoom factor, in double precision.
double scale(float zoom);
// The picture's size times the scale, each side truncated toward zero. Sides past
// MaxViewSide are returned as they are (see fits()).
QSize viewSize(const QSize &picture, float zoom);
// Whether a view of this size can be shown.
bool fits(double width, double height);
// View coordinate to picture coordinate: divided by the scale, truncated toward zero.
int toPicture(int viewCoordinate, double scale);
// trunc(sqrt(dx^2 + dy^2)), in view pixels.
int distance(const QPoint &from, const QPoint &to);

// The outer size of the main window fitted to a view:
//  - outer width 310 for a view 310 wide or less, else client width = view width;
//  - cut so the right edge stays on the screen;
//  - client height = view height + strip height, cut so the bottom stays on the screen.
// `frame` is outer minus client on each side (the menu bar counts as frame);
// `position` is the outer top-left; `screen` the primary screen's size.
QSize fittedOuterSize(const QSize &view, int stripHeight, const QPoint &position,
                      const QMargins &frame, const QSize &screen);

// The part of the picture that a rectangle of the view shows at `scale`.
QRectF pictureRectOf(const QRect &viewRect, double scale);

// A child's rectangle after its parent was resized from `designParent` to `parent`,
// kept at its distances to the anchored edges (left and right anchors stretch it).
QRect anchored(const QRect &design, const QSize &designParent, const QSize &parent,
               Qt::Edges anchors);

} // namespace ViewGeometry
