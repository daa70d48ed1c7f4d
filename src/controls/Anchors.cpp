#include "Anchors.h"

#include "ViewGeometry.h"

#include <QWidget>

void Anchors::add(QWidget *control, Qt::Edges edges)
{
    m_entries.append({control, control->geometry(), edges});
}

void Anchors::apply(const QSize &client) const
{
    for (const Entry &entry : m_entries)
        entry.control->setGeometry(
                ViewGeometry::anchored(entry.design, m_design, client, entry.edges));
}
