#pragma once

#include "Component.h"

#include <QImage>
#include <QLine>
#include <QVector>
#include <QWidget>

// The view: the picture shown at a scale. Only the exposed part is ever drawn,
// straight from the picture, so a far zoomed-in view costs no more memory or time
// than a screenful. Lines drawn on the view invert the pixels they cover; drawing
// the same line again restores them, and every new rendering wipes them all.
// Presses, moves and double clicks are passed on as signals in view coordinates.
class PictureView : public QWidget, public Component
{
    Q_OBJECT
public:
    explicit PictureView(QWidget *parent);

    // Shows `picture` at `scale` in a view of `viewSize`; at `unscaled` the
    // picture is drawn pixel for pixel at the top-left corner, otherwise stretched
    // to fill the view. Wipes the lines.
    void render(const QImage &picture, double scale, bool unscaled, const QSize &viewSize);
    // Inverts the pixels of the line from `from` to `to` (a line drawn twice vanishes).
    void invertLine(const QPoint &from, const QPoint &to);
    const QVector<QLine> &invertedLines() const { return m_lines; }

    // What the view shows in the rectangle, as painted on screen (lines included).
    QImage grabView(const QRect &rect);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &at);
    void mouseMove(Qt::KeyboardModifiers shift, const QPoint &at);
    void doubleClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void paintPicture(QPainter &painter, const QRect &exposed) const;

    QImage m_picture;
    double m_scale = 1.0;
    bool m_unscaled = true;
    bool m_rendered = false; // before the first rendering the view is plain background
    QVector<QLine> m_lines;
};
