#include "WindowPlacement.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>

namespace WindowPlacement {

void waitForFrame(QWidget *window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isVisible())
        return;
    const QDeadlineTimer deadline(500);
    while (window->frameGeometry() == window->geometry() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(5);
    }
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
