#include "MainForm.h"

#include "AppError.h"
#include "Application.h"
#include "Bevel.h"
#include "HrefForm.h"
#include "MapForm.h"
#include "MenuItem.h"
#include "MenuShortcutFilter.h"
#include "OpenDialog.h"
#include "PictureLoader.h"
#include "PictureView.h"
#include "SettingsFile.h"
#include "ShapeBand.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "ViewGeometry.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

TfmMain *fmMain = nullptr;

namespace {
const QString Rect = QStringLiteral("rect");
const QString Circle = QStringLiteral("circle");
const QString Poly = QStringLiteral("poly");

const QString OpenFilter = QStringLiteral(
        "画像ﾌｧｲﾙ (*.jpg , *.png , *.bmp)|*.jpg;*.png;*.bmp|JPEG ファイル (*.jpg)|*.jpg|"
        "PNG ファイル (*.png)|*.png|GIF ファイル (*.gif)|*.gif|ビットマップ (*.bmp)|*.bmp|"
        "すべてのファイル (*.*)|*.*");
} // namespace

TfmMain::TfmMain(QWidget *parent) : QMainWindow(parent)
{
    createComponents();
    pendingArea = QString();
    currentShape = Rect;
    picture = QImage();
    programFolder = Application::programFolder();
    setAcceptDrops(true);
}

TfmMain::~TfmMain()
{
    FormDestroy();
    if (fmMain == this)
        fmMain = nullptr;
}

void TfmMain::createComponents()
{
    setWindowTitle(QStringLiteral("Zonefold"));
    setWindowIcon(QIcon(QStringLiteral(":/zonefold/zonefold.ico")));
    setFont(Application::windowFont(12));

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);

    bvButtons = new Bevel(client);
    bvButtons->setFixedHeight(32);
    bvButtons->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(bvButtons);

    ScrollBox1 = new QScrollArea(client);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Button);
    layout->addWidget(ScrollBox1);

    Graph = new PictureView(ScrollBox1);
    Graph->setFixedSize(120, 120);
    ScrollBox1->setWidget(Graph);
    theShape = new ShapeBand(Graph);
    theShape->setGeometry(72, 4, 33, 33);

    dlgOpen = new OpenDialog(OpenFilter, this);

    createMenus();
    createToolButtons();
    connectCommands();

    // The layout's client area, 294 x 251, lies below the menu bar.
    resize(294, 251 + menuBar()->sizeHint().height());
}

MenuItem *TfmMain::addItem(QMenu *menu, const QString &caption,
                           void (TfmMain::*handler)(QObject *))
{
    auto *item = new MenuItem(caption, menu);
    menu->addAction(item);
    if (handler) {
        connect(item, &QAction::triggered, this,
                [this, item, handler] { Application::guard([&] { (this->*handler)(item); }); });
    }
    return item;
}

void TfmMain::createMenus()
{
    MainMenu1 = menuBar();

    mnFile = MainMenu1->addMenu(QStringLiteral("ファイル(&F)"));
    mnOpen = addItem(mnFile, QStringLiteral("開く(&O)"), &TfmMain::mnOpenClick);
    mnN1 = mnFile->addSeparator();
    mnEnd = addItem(mnFile, QStringLiteral("終了(&X)"), &TfmMain::mnEndClick);

    mnTag = MainMenu1->addMenu(QStringLiteral("タグ(&T)"));
    mnTagWindow = addItem(mnTag, QStringLiteral("タグウィンドウ表示(&W)"),
                          &TfmMain::mnTagWindowClick);
    mnTagWindow->setCheckable(true);
    mnTagCopy = addItem(mnTag, QStringLiteral("クリップボードへ(&C)"), nullptr);
    mnTagCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnTagCopy->setShortcutContext(Qt::ApplicationShortcut);
    mnN2 = mnTag->addSeparator();
    mnSmallLetter = addItem(mnTag, QStringLiteral("タグは小文字(&S)"),
                            &TfmMain::mnSmallLetterClick);
    mnSmallLetter->setCheckable(true);
    mnSmallLetter->setTicked(true);

    mnShape = MainMenu1->addMenu(QStringLiteral("シェイプ(&S)"));
    mnSRect = addItem(mnShape, QStringLiteral("長方形(&R)"), &TfmMain::mnSRectClick);
    mnSRect->setHint(Rect);
    mnSCircle = addItem(mnShape, QStringLiteral("円(&C)"), &TfmMain::mnSRectClick);
    mnSCircle->setHint(Circle);
    mnSPoly = addItem(mnShape, QStringLiteral("多角形(&P)"), &TfmMain::mnSRectClick);
    mnSPoly->setHint(Poly);
    for (MenuItem *item : {mnSRect, mnSCircle, mnSPoly})
        item->setCheckable(true);
    mnSRect->setTicked(true);
    mnSDefault = addItem(mnShape, QStringLiteral("その他の領域(&D)"), &TfmMain::mnSDefaultClick);
    mnSDefault->setHint(QStringLiteral("default"));
    mnSDefault->setTag(1);

    mnView = MainMenu1->addMenu(QStringLiteral("表示(&V)"));
    mnBig = addItem(mnView, QStringLiteral("拡大(&B)"), &TfmMain::mnBigClick);
    mnSmall = addItem(mnView, QStringLiteral("縮小(&S)"), &TfmMain::mnSmallClick);
    mnZoomNormal = addItem(mnView, QStringLiteral("標準に戻す(&N)"), &TfmMain::mnZoomNormalClick);
}

SpeedButton *TfmMain::addButton(int left, const QString &hint,
                                void (TfmMain::*handler)(QObject *))
{
    auto *button = new SpeedButton(bvButtons, left);
    button->setHint(hint);
    connect(button, &QToolButton::clicked, this,
            [this, button, handler] { Application::guard([&] { (this->*handler)(button); }); });
    return button;
}

void TfmMain::createToolButtons()
{
    btnOpen = addButton(2, QStringLiteral("開く"), &TfmMain::mnOpenClick);
    btnOpen->setGlyph(QStringLiteral(":/zonefold/open.bmp"));
    btnTag = addButton(26, QStringLiteral("タグリストの表示"), &TfmMain::mnTagWindowClick);
    btnTag->setGlyph(QStringLiteral(":/zonefold/taglist.bmp"));
    btnTag->setCheckable(true);
    btnCopy = addButton(50, QStringLiteral("クリップボードへコピー"), &TfmMain::mnTagCopyClick);
    btnCopy->setGlyph(QStringLiteral(":/zonefold/copy.bmp"));

    btnRect = addButton(98, QStringLiteral("長方形 (rect)"), &TfmMain::btnRectClick);
    btnRect->setText(QStringLiteral("■"));
    btnCircle = addButton(122, QStringLiteral("円 (circle)"), &TfmMain::btnCircleClick);
    btnCircle->setText(QStringLiteral("●"));
    btnPoly = addButton(146, QStringLiteral("多角形 (poly)"), &TfmMain::btnPolyClick);
    btnPoly->setText(QStringLiteral("★"));
    m_shapeGroup = new QButtonGroup(this);
    m_shapeGroup->setExclusive(true);
    for (SpeedButton *button : {btnRect, btnCircle, btnPoly}) {
        button->setCheckable(true);
        m_shapeGroup->addButton(button);
    }
    btnRect->setDown(true);

    btnDefault = addButton(170, QStringLiteral("その他の領域 (default)"),
                           &TfmMain::mnSDefaultClick);
    btnDefault->setText(QStringLiteral("□"));
    btnDefault->setTag(1);

    btnBig = addButton(218, QStringLiteral("ズームイン"), &TfmMain::mnBigClick);
    btnBig->setGlyph(QStringLiteral(":/zonefold/zoomin.bmp"));
    btnSmall = addButton(242, QStringLiteral("ズームアウト"), &TfmMain::mnSmallClick);
    btnSmall->setGlyph(QStringLiteral(":/zonefold/zoomout.bmp"));
}

void TfmMain::connectCommands()
{
    connect(mnTag, &QMenu::aboutToShow, this,
            [this] { Application::guard([this] { mnTagClick(mnTag); }); });
    // The copy entry is reached by the menu and by its shortcut, which opens no
    // menu: bring the tag window's check mark in line first in either case.
    connect(mnTagCopy, &QAction::triggered, this, [this] {
        Application::guard([this] {
            mnTagClick(mnTag);
            mnTagCopyClick(mnTagCopy);
        });
    });
    auto *shortcuts = new MenuShortcutFilter(mnTagCopy, this);
    shortcuts->serve(this);
    qApp->installEventFilter(shortcuts);

    connect(Graph, &PictureView::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &at) {
                Application::guard(
                        [&] { GraphMouseDown(Graph, button, shift, at.x(), at.y()); });
            });
    connect(Graph, &PictureView::mouseMove, this,
            [this](Qt::KeyboardModifiers shift, const QPoint &at) {
                Application::guard([&] { GraphMouseMove(Graph, shift, at.x(), at.y()); });
            });
    connect(Graph, &PictureView::doubleClick, this,
            [this] { Application::guard([this] { GraphDblClick(Graph); }); });
}

MapMarkup::LetterCase TfmMain::letterCase() const
{
    return mnSmallLetter->ticked() ? MapMarkup::LetterCase::Small : MapMarkup::LetterCase::Capital;
}

QSize TfmMain::clientSize() const
{
    return centralWidget()->size();
}

// --- Window events --------------------------------------------------------------

void TfmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    Application::guard([this] { FormShow(); });
    // Centred once, on the first showing, with the size the picture gave it.
    WindowPlacement::centreNow(this);
}

void TfmMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TfmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TfmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfmMain::dropEvent(QDropEvent *event)
{
    const QList<QUrl> files = event->mimeData()->urls();
    event->acceptProposedAction();
    Application::guard([&] { WMDropFiles(files); });
}

void TfmMain::FormShow()
{
    const QStringList arguments = Application::arguments();
    if (arguments.size() > 1)
        OpenImage(arguments.at(1));
}

void TfmMain::FormActivate()
{
    mnTagCopy->setTag(0);
}

void TfmMain::FormClose()
{
    Settings settings;
    const QPoint at = WindowPlacement::frame(this).topLeft();
    settings.left = at.x();
    settings.top = at.y();
    settings.shape = currentShape;
    settings.smallLetter = mnSmallLetter->ticked();
    if (fmTag) {
        const QRect tag = WindowPlacement::frame(fmTag);
        settings.tagLeft = tag.x();
        settings.tagTop = tag.y();
        settings.tagWidth = tag.width();
        settings.tagHeight = tag.height();
    }
    settings.tagOpen = mnTagWindow->ticked();
    // Nothing to tell the user if it cannot be written: the close goes on.
    SettingsFile::write(SettingsFile::pathIn(programFolder), settings);
}

void TfmMain::FormDestroy()
{
    picture = QImage();
}

void TfmMain::WMDropFiles(const QList<QUrl> &files)
{
    for (const QUrl &file : files) {
        if (file.isLocalFile()) {
            OpenImage(file.toLocalFile());
            return;
        }
    }
}

// --- Commands -------------------------------------------------------------------

void TfmMain::mnOpenClick(QObject *)
{
    if (!dlgOpen->Execute())
        return;
    OpenImage(dlgOpen->fileName());
}

void TfmMain::mnEndClick(QObject *)
{
    close();
}

void TfmMain::mnTagClick(QObject *)
{
    mnTagWindow->setTicked(fmTag->isVisible());
}

void TfmMain::mnTagWindowClick(QObject *)
{
    const bool show = !fmTag->isVisible();
    mnTagWindow->setTicked(show);
    fmTag->setVisible(show);
    btnTag->setDown(show);
}

void TfmMain::mnTagCopyClick(QObject *)
{
    if (mnTagCopy->tag() != 0) {
        // The selection leaves with the document's own CR LF line breaks.
        const QTextCursor selection = fmTag->TagList->textCursor();
        if (selection.hasSelection())
            QGuiApplication::clipboard()->setText(
                    MapMarkup::withCrLf(selection.selection().toPlainText()));
        return;
    }
    QGuiApplication::clipboard()->setText(MapMarkup::withCrLf(fmTag->TagList->toPlainText()));
}

void TfmMain::mnSmallLetterClick(QObject *)
{
    mnSmallLetter->setTicked(!mnSmallLetter->ticked());
}

void TfmMain::mnSRectClick(QObject *Sender)
{
    ResetArea(true);
    for (MenuItem *item : {mnSRect, mnSCircle, mnSPoly})
        item->setTicked(false);
    if (auto *item = dynamic_cast<MenuItem *>(Sender))
        item->setTicked(true);
    currentShape = HintOf(Sender);
    if (currentShape == Rect)
        btnRect->setDown(true);
    else if (currentShape == Circle)
        btnCircle->setDown(true);
    else if (currentShape == Poly)
        btnPoly->setDown(true);
}

void TfmMain::btnRectClick(QObject *)
{
    mnSRectClick(mnSRect);
}

void TfmMain::btnCircleClick(QObject *)
{
    mnSRectClick(mnSCircle);
}

void TfmMain::btnPolyClick(QObject *)
{
    mnSRectClick(mnSPoly);
}

void TfmMain::mnSDefaultClick(QObject *Sender)
{
    pendingArea = MapMarkup::defaultAreaHead(picture.width(), picture.height());
    GraphDblClick(Sender);
}

void TfmMain::mnBigClick(QObject *)
{
    zoomBy(0.5f, false);
}

void TfmMain::mnSmallClick(QObject *)
{
    zoomBy(-0.5f, false);
}

void TfmMain::mnZoomNormalClick(QObject *)
{
    zoomBy(0.0f, true);
}

void TfmMain::zoomBy(float step, bool reset)
{
    const float previous = zoom;
    zoom = reset ? 0.0f : zoom + step;
    theShape->hide();
    if (!SizeView(false)) {
        // Stay at the largest view that can be shown.
        zoom = previous;
        SizeView(false);
        throw AppError(QStringLiteral("表示が大きくなりすぎるため、これ以上拡大できません。"));
    }
}

// --- Opening a picture ----------------------------------------------------------

void TfmMain::OpenImage(const QString &path)
{
    // Decoded apart first: a picture that fails to load changes nothing.
    LoadedPicture loaded = PictureLoader::load(path);
    if (!loaded.ok())
        throw AppError(loaded.error);
    picture = loaded.image;

    ResetArea(true);
    const QFileInfo file(path);
    imagePath = file.absoluteFilePath();
    const QString fileName = file.fileName();
    setWindowTitle(fileName + QStringLiteral(" - Zonefold"));
    Application::setTitle(windowTitle());
    zoom = 0.0f;
    SizeView(true);

    QString mapName;
    {
        TfmMap map(this);
        map.edMapName->setText(fileName.left(qMax(0, fileName.size() - 4)));
        map.exec();
        mapName = map.edMapName->text();
    }

    const MapMarkup::LetterCase letters = letterCase();
    fmTag->TagList->setPlainText(
            MapMarkup::imageLine(fileName, mapName, picture.width(), picture.height(), letters)
            + QLatin1Char('\n') + MapMarkup::mapLine(mapName, letters) + QLatin1Char('\n')
            + MapMarkup::closingLine(letters) + QLatin1Char('\n'));
}

// --- The view -------------------------------------------------------------------

bool TfmMain::SizeView(bool fitWindow)
{
    const double scale = ViewGeometry::scale(zoom);
    if (!ViewGeometry::fits(picture.width() * scale, picture.height() * scale)) {
        Graph->render(QImage(), scale, true, QSize(0, 0));
        return false;
    }
    const QSize view = ViewGeometry::viewSize(picture.size(), zoom);
    const Qt::WindowStates fixed = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
    if (fitWindow && !picture.isNull() && !(windowState() & fixed))
        this->fitWindow(view);
    Graph->render(picture, scale, zoom == 0.0f, view);
    return true;
}

void TfmMain::fitWindow(const QSize &view)
{
    const QRect outer = frameGeometry();
    const QRect client(centralWidget()->mapTo(this, QPoint(0, 0)) + geometry().topLeft(),
                       centralWidget()->size());
    const QMargins frame(client.left() - outer.left(), client.top() - outer.top(),
                         outer.right() - client.right(), outer.bottom() - client.bottom());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QSize fitted = ViewGeometry::fittedOuterSize(view, bvButtons->height(),
                                                       outer.topLeft(), frame, screen);
    resize(fitted - (outer.size() - geometry().size()));
}

// --- Drawing --------------------------------------------------------------------

void TfmMain::ResetArea(bool hide)
{
    if (currentShape == Poly)
        SizeView(false);
    else if (hide)
        theShape->hide();
    pendingArea.clear();
}

void TfmMain::placeShape(const QRect &bounds)
{
    // The band lies on the view, so its bounds are view coordinates and it
    // scrolls along with the picture.
    theShape->setGeometry(bounds);
}

void TfmMain::GraphMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers,
                             int X, int Y)
{
    if (Button != Qt::LeftButton && Button != Qt::MiddleButton && Button != Qt::RightButton)
        return;
    const double scale = ViewGeometry::scale(zoom);
    const int px = ViewGeometry::toPicture(X, scale);
    const int py = ViewGeometry::toPicture(Y, scale);

    if (Button == Qt::RightButton) {
        ResetArea(true);
    } else if (pendingArea.isEmpty()) {
        pendingArea = MapMarkup::areaHead(currentShape, px, py);
        if (currentShape != Poly) {
            placeShape(QRect(X, Y, 0, 0));
            theShape->setShape(currentShape == Rect ? ShapeBand::Rectangle : ShapeBand::Circle);
            theShape->show();
        } else {
            theShape->hide();
        }
        startPoint = QPoint(X, Y);
        startScale = scale;
    } else {
        // A zoom since the first press moved the view under the start point: it is
        // measured where it lies now and converted at the scale it was taken at.
        const QPoint start = (QPointF(startPoint) * (scale / startScale)).toPoint();
        const int distance = ViewGeometry::distance(QPoint(X, Y), start);
        if (currentShape == Circle) {
            pendingArea = MapMarkup::withRadius(pendingArea, ViewGeometry::toPicture(distance, scale));
        } else if (currentShape == Poly && distance <= 8) {
            GraphDblClick(Sender);
        } else if (currentShape == Rect) {
            pendingArea = MapMarkup::rectHead(currentShape, px, py,
                                              ViewGeometry::toPicture(startPoint.x(), startScale),
                                              ViewGeometry::toPicture(startPoint.y(), startScale));
        } else {
            pendingArea = MapMarkup::withVertex(pendingArea, px, py);
        }
        if (currentShape != Poly && !pendingArea.isEmpty())
            GraphDblClick(Sender);
    }
    anchorPoint = QPoint(X, Y);
    lineEndPoint = QPoint(X, Y);
}

void TfmMain::GraphMouseMove(QObject *, Qt::KeyboardModifiers, int X, int Y)
{
    if (pendingArea.isEmpty())
        return;
    if (currentShape == Rect) {
        placeShape(QRect(qMin(X, anchorPoint.x()), qMin(Y, anchorPoint.y()),
                         qAbs(X - anchorPoint.x()), qAbs(Y - anchorPoint.y())));
    } else if (currentShape == Circle) {
        const int r = ViewGeometry::distance(QPoint(X, Y), anchorPoint);
        placeShape(QRect(anchorPoint.x() - r, anchorPoint.y() - r, 2 * r, 2 * r));
    } else if (currentShape == Poly) {
        Graph->invertLine(anchorPoint, lineEndPoint);
        Graph->invertLine(anchorPoint, QPoint(X, Y));
        lineEndPoint = QPoint(X, Y);
    }
}

void TfmMain::GraphDblClick(QObject *Sender)
{
    // The first press of a double click may already have finished the area; the
    // double click then finds nothing to complete and must not file a bare link.
    if (pendingArea.isEmpty())
        return;
    fmHref->setWindowTitle(TagOf(Sender) == 1 ? QStringLiteral("その他の領域")
                                              : QStringLiteral("タグ設定"));
    fmHref->setImagePath(imagePath);
    if (fmHref->exec() == QDialog::Accepted) {
        const QString line = MapMarkup::withLinkTail(pendingArea, fmHref->edHref->text(),
                                                     fmHref->cbTarget->currentText(), letterCase());
        fmTag->insertAreaLine(line);
    }
    ResetArea(false);
}
