#pragma once

#include <QWidget>

// The rubber band for rectangles and circles: lies over the view and shows the
// part of the picture under it as a negative (every covered pixel inverted once).
// It takes no mouse input, so presses and moves reach the view beneath.
class ShapeBand : public QWidget
{
    Q_OBJECT
public:
    enum Shape { Rectangle, Circle };

    explicit ShapeBand(QWidget *parent);

    Shape shape() const { return m_shape; }
    void setShape(Shape shape);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Shape m_shape = Rectangle;
};
