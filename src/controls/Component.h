#pragma once

#include <QString>

class QObject;

// The data a control carries besides what it shows: a Tag number and a Hint text
// that handlers read from the control that sent a command.
class Component
{
public:
    virtual ~Component() = default;

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const QString &hint() const { return m_hint; }
    virtual void setHint(const QString &hint) { m_hint = hint; }

private:
    int m_tag = 0;
    QString m_hint;
};

// The Tag and Hint of a command's sender; 0 and "" for anything that carries none.
int TagOf(const QObject *sender);
QString HintOf(const QObject *sender);
