#pragma once

#include <QRect>
#include <QSize>
#include <QVector>

class QWidget;

// Keeps controls at their distances to the edges they are anchored to when their
// window is resized. Controls are registered at their design place and size.
class Anchors
{
public:
    explicit Anchors(const QSize &designClient) : m_design(designClient) {}

    void add(QWidget *control, Qt::Edges edges);
    void apply(const QSize &client) const;

private:
    struct Entry
    {
        QWidget *control;
        QRect design;
        Qt::Edges edges;
    };
    QSize m_design;
    QVector<Entry> m_entries;
};
