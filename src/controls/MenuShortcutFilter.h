#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// A focused text control claims the copy shortcut for itself before any menu sees
// it. This filter makes the main menu's shortcut win in the windows it serves,
// while a modal dialog's fields keep their own.
class MenuShortcutFilter : public QObject
{
    Q_OBJECT
public:
    MenuShortcutFilter(QAction *action, QObject *parent);

    void serve(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *m_action;
    QList<QPointer<QWidget>> m_windows;
};
