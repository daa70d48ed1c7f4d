#pragma once

#include <QApplication>

// The application object. A failure that escapes an event handler is caught here,
// shown in the error box, and the event loop goes on.
class ZonefoldApplication : public QApplication
{
    Q_OBJECT
public:
    ZonefoldApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
