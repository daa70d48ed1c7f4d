#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Window positions and sizes as the settings file keeps them: those of the frame
// on the screen. A window manager adds the frame a moment after a window is shown;
// a position applied before that would land off by the frame's width.
namespace WindowPlacement {

// Waits (briefly, at most a second) until the window manager has framed a shown
// window. Returns at once where there is no window manager to wait for.
void waitForFrame(QWidget *window);

// The window's outer rectangle on the screen, frame and caption bar included.
QRect frame(QWidget *window);

// Centres a window on the screen, frame included as far as it is known now.
void centreNow(QWidget *window);

// Centres a window that is being shown on the screen, frame included: at once with
// the frame known so far, and again once the window manager has framed it (unless
// the user has moved or resized it by then).
void centreOnScreen(QWidget *window);

void moveFrame(QWidget *window, const QPoint &topLeft);
void resizeFrame(QWidget *window, const QSize &outerSize);

} // namespace WindowPlacement
