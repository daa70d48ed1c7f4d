#pragma once

#include "Component.h"

#include <QAction>

// A menu entry whose check mark belongs to the program: choosing it does not turn
// the mark over by itself, only the handlers do (through setTicked).
class MenuItem : public QAction, public Component
{
    Q_OBJECT
public:
    MenuItem(const QString &caption, QObject *parent);

    bool ticked() const { return m_ticked; }
    void setTicked(bool ticked);
    // Shows a check mark box from now on.
    void setCheckable(bool checkable);

private:
    bool m_ticked = false;
};
