#include "MenuShortcutFilter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

MenuShortcutFilter::MenuShortcutFilter(QAction *action, QObject *parent)
    : QObject(parent), m_action(action)
{
}

void MenuShortcutFilter::serve(QWidget *window)
{
    m_windows.append(window);
}

bool MenuShortcutFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || QApplication::activeModalWidget())
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (QKeySequence(key->keyCombination()) != m_action->shortcut())
        return false;
    const QWidget *window = widget->window();
    for (const QPointer<QWidget> &served : std::as_const(m_windows)) {
        if (served == window) {
            // Left unaccepted, the override lets the shortcut go to the menu.
            event->ignore();
            return true;
        }
    }
    return false;
}
