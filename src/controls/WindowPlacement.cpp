#include "WindowPlacement.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <QWidget>

namespace WindowPlacement {

namespace {

// While the window manager builds the frame, Qt may measure it half-made (a 1 x 1
// frame at the client's corner); only a frame around the whole client is real.
bool framed(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    return frame != window->geometry() && frame.contains(window->geometry());
}

} // namespace

void waitForFrame(QWidget *window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isVisible())
        return;
    const QDeadlineTimer deadline(500);
    while (!framed(window) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(5);
    }
}

namespace {

// The frame as the window system has it now; the widget's own frame geometry is
// only brought up to date by the next move or resize. Nothing (empty margins) while
// there is no frame yet or it is half-made.
QMargins currentFrame(const QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    const bool whole = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0
            && frame.bottom() >= 0;
    return whole ? frame : QMargins();
}

void centreNow(QWidget *window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QMargins frame = currentFrame(window);
    const QSize outer = window->size().grownBy(frame);
    const QPoint client(screen.x() + (screen.width() - outer.width()) / 2 + frame.left(),
                        screen.y() + (screen.height() - outer.height()) / 2 + frame.top());
    // move() takes the frame's corner by the frame the widget last heard of; aim at
    // the client's corner instead, which is where the window system puts it.
    window->move(client - (window->geometry().topLeft() - window->pos()));
}

// Polls without blocking: the window may be about to run a modal loop.
void centreWhenFramed(QWidget *window, int triesLeft)
{
    QTimer::singleShot(20, window, [window, triesLeft, client = window->geometry()] {
        if (!window->isVisible() || window->geometry() != client)
            return;
        if (!currentFrame(window).isNull())
            centreNow(window);
        else if (triesLeft > 1)
            centreWhenFramed(window, triesLeft - 1);
    });
}

} // namespace

void centreOnScreen(QWidget *window)
{
    centreNow(window);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        centreWhenFramed(window, 25);
}

void moveFrame(QWidget *window, const QPoint &topLeft)
{
    window->move(topLeft);
}

void resizeFrame(QWidget *window, const QSize &outerSize)
{
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    window->resize((outerSize - frame).expandedTo(QSize(0, 0)));
}

} // namespace WindowPlacement
