#include "Component.h"

#include <QObject>

int TagOf(const QObject *sender)
{
    const auto *component = dynamic_cast<const Component *>(sender);
    return component ? component->tag() : 0;
}

QString HintOf(const QObject *sender)
{
    const auto *component = dynamic_cast<const Component *>(sender);
    return component ? component->hint() : QString();
}
