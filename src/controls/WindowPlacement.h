#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Window positions and sizes as the settings file keeps them: those of the frame
// on the screen. A window manager adds the frame a moment after a window is shown;
// a position applied before that would land off by the frame's width.
namespace WindowPlacement {

// Waits (briefly, at most half a second) until the window manager has framed a
// shown window. Returns at once where there is no window manager to wait for.
void waitForFrame(QWidget *window);

void moveFrame(QWidget *window, const QPoint &topLeft);
void resizeFrame(QWidget *window, const QSize &outerSize);

} // namespace WindowPlacement
