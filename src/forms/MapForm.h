#pragma once

#include "Anchors.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The map name dialog, made for each opened picture.
class TfmMap : public QDialog
{
    Q_OBJECT
public:
    explicit TfmMap(QWidget *owner);

    QLabel *Label1;
    QLineEdit *edMapName;
    QPushButton *BitBtn1;

    void edMapNameKeyDown(QKeyEvent *Key);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Anchors m_anchors;
};
