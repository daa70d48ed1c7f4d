#pragma once

#include "Component.h"

#include <QToolButton>

// A flat 25 x 25 tool button with a glyph or a caption; its hint is its tool tip.
class SpeedButton : public QToolButton, public Component
{
    Q_OBJECT
public:
    SpeedButton(QWidget *parent, int left);

    void setHint(const QString &hint) override;
    // A 32 x 16 bitmap holding the normal picture at the left and the disabled one
    // at the right; its bottom-left pixel's colour is transparent.
    void setGlyph(const QString &resource);

    bool isDown() const { return isChecked(); }
    void setDown(bool down) { setChecked(down); }
};
