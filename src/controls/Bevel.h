#pragma once

#include <QWidget>

// The strip under the tool buttons: draws only a sunken line along its bottom edge.
class Bevel : public QWidget
{
    Q_OBJECT
public:
    explicit Bevel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
