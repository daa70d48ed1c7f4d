#include "WindowPlacement.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace WindowPlacement {

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

// The frame of a shown window; a hidden one has none on X, and keeps the frame
// it had when last shown, which it gets back when shown again.
QMargins knownFrame(QWidget *window)
{
    static const char property[] = "zonefoldFrameMargins";
    const QMargins now = currentFrame(window);
    if (window->isVisible() && !now.isNull()) {
        window->setProperty(property, QVariant::fromValue(now));
        return now;
    }
    const QVariant kept = window->property(property);
    return kept.isValid() ? kept.value<QMargins>() : now;
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

void waitForFrame(QWidget *window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isVisible())
        return;
    const QDeadlineTimer deadline(1000);
    QDeadlineTimer nudge(100);
    while (currentFrame(window).isNull() && !deadline.hasExpired()) {
        // Qt measures the frame anew only after a configure event; should the last
        // one have come while the frame was half-made, a move of a pixel and back
        // brings another.
        if (nudge.hasExpired()) {
            const QRect client = window->geometry();
            window->setGeometry(client.translated(0, 1));
            window->setGeometry(client);
            nudge.setRemainingTime(100);
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(5);
    }
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

QRect frame(QWidget *window)
{
    return window->geometry().marginsAdded(knownFrame(window));
}

void centreOnScreen(QWidget *window)
{
    centreNow(window);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        centreWhenFramed(window, 25);
}

void moveFrame(QWidget *window, const QPoint &topLeft)
{
    const QMargins margins = knownFrame(window);
    window->setGeometry(QRect(topLeft + QPoint(margins.left(), margins.top()), window->size()));
}

void resizeFrame(QWidget *window, const QSize &outerSize)
{
    window->resize(outerSize.shrunkBy(knownFrame(window)).expandedTo(QSize(0, 0)));
}

} // namespace WindowPlacement
