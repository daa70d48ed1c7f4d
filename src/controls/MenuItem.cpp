#include "MenuItem.h"

MenuItem::MenuItem(const QString &caption, QObject *parent) : QAction(caption, parent)
{
    // Qt turns a checkable action's mark over before anyone hears of the click;
    // put it back first, so that the handlers connected later see the old state.
    connect(this, &QAction::triggered, this, [this] { QAction::setChecked(m_ticked); });
}

void MenuItem::setTicked(bool ticked)
{
    m_ticked = ticked;
    QAction::setChecked(ticked);
}

void MenuItem::setCheckable(bool checkable)
{
    QAction::setCheckable(checkable);
    QAction::setChecked(m_ticked);
}
