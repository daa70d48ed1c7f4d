#include "Bevel.h"

#include <QPainter>

Bevel::Bevel(QWidget *parent) : QWidget(parent) {}

void Bevel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int bottom = height() - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, bottom - 1, width() - 1, bottom - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, bottom, width() - 1, bottom);
}
