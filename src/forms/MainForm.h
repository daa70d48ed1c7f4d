#pragma once

#include "MapMarkup.h"

#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QUrl>

class Bevel;
class MenuItem;
class OpenDialog;
class PictureView;
class QButtonGroup;
class QMenu;
class QMenuBar;
class QScrollArea;
class ShapeBand;
class SpeedButton;

// The main window: the tool strip, the picture with the drawing on it, and the
// menus. It owns the picture and the drawing state; the markup document lives in
// the tag list window.
class TfmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfmMain(QWidget *parent = nullptr);
    ~TfmMain() override;

    // Components, in the order of the layout.
    QMenuBar *MainMenu1;
    QMenu *mnFile;
    MenuItem *mnOpen;
    MenuItem *mnEnd;
    QMenu *mnTag;
    MenuItem *mnTagWindow;
    MenuItem *mnTagCopy;
    QMenu *mnShape;
    MenuItem *mnSRect;
    MenuItem *mnSCircle;
    MenuItem *mnSPoly;
    MenuItem *mnSDefault;
    Bevel *bvButtons;
    SpeedButton *btnOpen;
    SpeedButton *btnTag;
    SpeedButton *btnCopy;
    SpeedButton *btnRect;
    SpeedButton *btnCircle;
    SpeedButton *btnPoly;
    SpeedButton *btnDefault;
    QAction *mnN1;
    QAction *mnN2;
    MenuItem *mnSmallLetter;
    QMenu *mnView;
    MenuItem *mnBig;
    MenuItem *mnSmall;
    MenuItem *mnZoomNormal;
    SpeedButton *btnBig;
    SpeedButton *btnSmall;
    QScrollArea *ScrollBox1;
    PictureView *Graph;
    OpenDialog *dlgOpen;
    ShapeBand *theShape;

    // Handlers.
    void mnOpenClick(QObject *Sender);
    void mnEndClick(QObject *Sender);
    void mnTagClick(QObject *Sender);
    void mnTagWindowClick(QObject *Sender);
    void mnTagCopyClick(QObject *Sender);
    void mnSmallLetterClick(QObject *Sender);
    void mnSRectClick(QObject *Sender);
    void btnRectClick(QObject *Sender);
    void btnCircleClick(QObject *Sender);
    void btnPolyClick(QObject *Sender);
    void mnSDefaultClick(QObject *Sender);
    void mnBigClick(QObject *Sender);
    void mnSmallClick(QObject *Sender);
    void mnZoomNormalClick(QObject *Sender);
    void GraphMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                        int X, int Y);
    void GraphMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void GraphDblClick(QObject *Sender);
    void FormShow();
    void FormActivate();
    void FormClose();
    void FormDestroy();
    void WMDropFiles(const QList<QUrl> &files);

    // Routines the handlers share.
    void OpenImage(const QString &path);
    // Renders the view; false (with an empty view) when it would be too large to show.
    bool SizeView(bool fitWindow);
    void ResetArea(bool hide);

    // The letter case new markup lines are made in (the check mark of mnSmallLetter).
    MapMarkup::LetterCase letterCase() const;
    // The size the window is fitted to, below the menu bar: the strip and the view.
    QSize clientSize() const;

    // State.
    QImage picture;       // the opened picture at its own size; empty until one opens
    QString pendingArea;  // the area line being drawn; empty when none is
    QString currentShape; // "rect", "circle" or "poly"
    QPoint anchorPoint;   // view position of the last press
    QPoint lineEndPoint;  // where the polygon's rubber line last drawn ends
    QPoint startPoint;    // view position of the press that began the area
    double startScale = 1.0; // the view scale when the start point was taken
    float zoom = 0.0f;    // the view scale is 2 to this power
    QString programFolder; // the executable's folder, with a trailing separator
    QString imagePath;    // full path of the opened picture

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createComponents();
    void createMenus();
    void createToolButtons();
    void connectCommands();
    MenuItem *addItem(QMenu *menu, const QString &caption, void (TfmMain::*handler)(QObject *));
    SpeedButton *addButton(int left, const QString &hint, void (TfmMain::*handler)(QObject *));
    void fitWindow(const QSize &view);
    void zoomBy(float step, bool reset);
    void placeShape(const QRect &bounds);

    QButtonGroup *m_shapeGroup = nullptr;
    bool m_shown = false;
};

extern TfmMain *fmMain;
