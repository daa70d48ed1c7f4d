#include "ZonefoldApplication.h"

#include "Application.h"

ZonefoldApplication::ZonefoldApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    Application::initialise();
}

bool ZonefoldApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Application::guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
