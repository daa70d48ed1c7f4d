#include "Bevel.h"
#include "FileFilter.h"
#include "Forms.h"
#include "HrefForm.h"
#include "MainForm.h"
#include "MenuItem.h"
#include "OpenDialog.h"
#include "PictureView.h"
#include "ShapeBand.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QtTest>

using namespace TestSupport;

namespace {

// The main window's controls by the names the handlers know them by.
QHash<QString, QObject *> controls(const TfmMain *m)
{
    return {
        { QStringLiteral("mnFile"), m->mnFile->menuAction() },
        { QStringLiteral("mnOpen"), m->mnOpen },
        { QStringLiteral("mnN1"), m->mnN1 },
        { QStringLiteral("mnEnd"), m->mnEnd },
        { QStringLiteral("mnTag"), m->mnTag->menuAction() },
        { QStringLiteral("mnTagWindow"), m->mnTagWindow },
        { QStringLiteral("mnTagCopy"), m->mnTagCopy },
        { QStringLiteral("mnN2"), m->mnN2 },
        { QStringLiteral("mnSmallLetter"), m->mnSmallLetter },
        { QStringLiteral("mnShape"), m->mnShape->menuAction() },
        { QStringLiteral("mnSRect"), m->mnSRect },
        { QStringLiteral("mnSCircle"), m->mnSCircle },
        { QStringLiteral("mnSPoly"), m->mnSPoly },
        { QStringLiteral("mnSDefault"), m->mnSDefault },
        { QStringLiteral("mnView"), m->mnView->menuAction() },
        { QStringLiteral("mnBig"), m->mnBig },
        { QStringLiteral("mnSmall"), m->mnSmall },
        { QStringLiteral("mnZoomNormal"), m->mnZoomNormal },
        { QStringLiteral("btnOpen"), m->btnOpen },
        { QStringLiteral("btnTag"), m->btnTag },
        { QStringLiteral("btnCopy"), m->btnCopy },
        { QStringLiteral("btnRect"), m->btnRect },
        { QStringLiteral("btnCircle"), m->btnCircle },
        { QStringLiteral("btnPoly"), m->btnPoly },
        { QStringLiteral("btnDefault"), m->btnDefault },
        { QStringLiteral("btnBig"), m->btnBig },
        { QStringLiteral("btnSmall"), m->btnSmall },
    };
}

QString nameOf(const TfmMain *m, const QObject *control)
{
    const auto all = controls(m);
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (it.value() == control)
            return it.key();
    }
    return QStringLiteral("?");
}

MenuItem *item(const TfmMain *m, const QString &name)
{
    return dynamic_cast<MenuItem *>(controls(m).value(name));
}

SpeedButton *button(const TfmMain *m, const QString &name)
{
    return qobject_cast<SpeedButton *>(controls(m).value(name));
}

// Uses a command the way a user does: a menu entry is chosen, a tool button is
// clicked with the mouse.
void use(TfmMain *m, const QString &name)
{
    if (SpeedButton *b = button(m, name)) {
        QTest::mouseClick(b, Qt::LeftButton);
    } else if (MenuItem *i = item(m, name)) {
        i->trigger();
    } else {
        QFAIL(qPrintable(QStringLiteral("no control ") + name));
    }
}

// "name=caption" for each entry of a menu, separators included.
QStringList entries(const TfmMain *m, const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << nameOf(m, action) + QLatin1Char('=')
                        + (action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

QString openPicture(Program &program, const QString &name, const QSize &size)
{
    const QString path = writePicture(program.folder(), name, size);
    acceptModal(); // the map name as offered
    program.main()->OpenImage(path);
    return path;
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void startUp();
    void menuBar();
    void menuItemData_data();
    void menuItemData();
    void copyShortcut();
    void toolButtons_data();
    void toolButtons();
    void layout();
    void icons();
    void openDialogFilter();

    void shapeCommands_data();
    void shapeCommands();
    void shapeButtonPressedAgain_data();
    void shapeButtonPressedAgain();
    void tagWindowCommand_data();
    void tagWindowCommand();
    void openCommand_data();
    void openCommand();
    void defaultAreaCommand_data();
    void defaultAreaCommand();
    void zoomCommands_data();
    void zoomCommands();
    void copyCommand_data();
    void copyCommand();
    void letterCaseCommand();
    void exitCommand_data();
    void exitCommand();

    void failingCommandShowsOneErrorBox_data();
    void failingCommandShowsOneErrorBox();
};

void tst_MainWindow::cleanup()
{
    OpenDialog::setTestHook({});
    dropPendingAnswers();
}

void tst_MainWindow::startUp()
{
    Program program;
    TfmMain *main = program.main();
    QVERIFY(fmMain && fmTag && fmHref);
    QCOMPARE(main, fmMain);
    // Nothing shows before the event loop would start, and then the main window only.
    QVERIFY(!main->isVisible());
    QVERIFY(!fmTag->isVisible());
    QCOMPARE(main->programFolder, program.folder());
    program.start();
    QVERIFY(main->isVisible());
    QVERIFY(!fmTag->isVisible());
    QVERIFY(!fmHref->isVisible());
    QCOMPARE(main->windowTitle(), QStringLiteral("Zonefold"));

    QVERIFY(main->btnRect->isDown());
    QVERIFY(!main->btnCircle->isDown());
    QVERIFY(!main->btnPoly->isDown());
    QVERIFY(!main->btnTag->isDown());
    QCOMPARE(main->currentShape, QStringLiteral("rect"));
    QVERIFY(main->pendingArea.isEmpty());
    QVERIFY(main->imagePath.isEmpty());
    QVERIFY(main->picture.isNull());
    QCOMPARE(main->zoom, 0.0f);
    QCOMPARE(main->mnTagCopy->tag(), 0);
    QVERIFY(fmTag->TagList->toPlainText().isEmpty());
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_MainWindow::menuBar()
{
    Program program;
    TfmMain *main = program.main();
    QCOMPARE(main->menuBar(), main->MainMenu1);
    QCOMPARE(entries(main, main->MainMenu1->actions()),
            QStringList({ QStringLiteral("mnFile=ファイル(&F)"), QStringLiteral("mnTag=タグ(&T)"),
                    QStringLiteral("mnShape=シェイプ(&S)"), QStringLiteral("mnView=表示(&V)") }));
    QCOMPARE(entries(main, main->mnFile->actions()),
            QStringList({ QStringLiteral("mnOpen=開く(&O)"), QStringLiteral("mnN1=-"),
                    QStringLiteral("mnEnd=終了(&X)") }));
    QCOMPARE(entries(main, main->mnTag->actions()),
            QStringList({ QStringLiteral("mnTagWindow=タグウィンドウ表示(&W)"),
                    QStringLiteral("mnTagCopy=クリップボードへ(&C)"), QStringLiteral("mnN2=-"),
                    QStringLiteral("mnSmallLetter=タグは小文字(&S)") }));
    QCOMPARE(entries(main, main->mnShape->actions()),
            QStringList({ QStringLiteral("mnSRect=長方形(&R)"), QStringLiteral("mnSCircle=円(&C)"),
                    QStringLiteral("mnSPoly=多角形(&P)"),
                    QStringLiteral("mnSDefault=その他の領域(&D)") }));
    QCOMPARE(entries(main, main->mnView->actions()),
            QStringList({ QStringLiteral("mnBig=拡大(&B)"), QStringLiteral("mnSmall=縮小(&S)"),
                    QStringLiteral("mnZoomNormal=標準に戻す(&N)") }));
}

void tst_MainWindow::menuItemData_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("tag");
    QTest::newRow("mnOpen") << "mnOpen" << false << false << QString() << 0;
    QTest::newRow("mnEnd") << "mnEnd" << false << false << QString() << 0;
    QTest::newRow("mnTagWindow") << "mnTagWindow" << true << false << QString() << 0;
    QTest::newRow("mnTagCopy") << "mnTagCopy" << false << false << QString() << 0;
    QTest::newRow("mnSmallLetter") << "mnSmallLetter" << true << true << QString() << 0;
    QTest::newRow("mnSRect") << "mnSRect" << true << true << "rect" << 0;
    QTest::newRow("mnSCircle") << "mnSCircle" << true << false << "circle" << 0;
    QTest::newRow("mnSPoly") << "mnSPoly" << true << false << "poly" << 0;
    QTest::newRow("mnSDefault") << "mnSDefault" << false << false << "default" << 1;
    QTest::newRow("mnBig") << "mnBig" << false << false << QString() << 0;
    QTest::newRow("mnSmall") << "mnSmall" << false << false << QString() << 0;
    QTest::newRow("mnZoomNormal") << "mnZoomNormal" << false << false << QString() << 0;
}

void tst_MainWindow::menuItemData()
{
    QFETCH(QString, name);
    QFETCH(bool, checkable);
    QFETCH(bool, ticked);
    QFETCH(QString, hint);
    QFETCH(int, tag);

    Program program;
    MenuItem *entry = item(program.main(), name);
    QVERIFY(entry);
    QCOMPARE(entry->isCheckable(), checkable);
    QCOMPARE(entry->ticked(), ticked);
    QCOMPARE(entry->isChecked(), ticked); // the mark the menu draws
    QCOMPARE(entry->hint(), hint);
    QCOMPARE(entry->tag(), tag);
    // The program shows no menu hints.
    QVERIFY(entry->statusTip().isEmpty());
}

void tst_MainWindow::copyShortcut()
{
    Program program;
    TfmMain *main = program.main();
    QCOMPARE(main->mnTagCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    for (MenuItem *other : { main->mnOpen, main->mnEnd, main->mnTagWindow, main->mnSmallLetter,
                 main->mnSRect, main->mnSDefault, main->mnBig, main->mnZoomNormal })
        QVERIFY(other->shortcut().isEmpty());
}

void tst_MainWindow::toolButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("toggles");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("tag");
    QTest::newRow("btnOpen") << "btnOpen" << 2 << "開く" << QString() << false << false << 0;
    QTest::newRow("btnTag") << "btnTag" << 26 << "タグリストの表示" << QString() << true << false
                            << 0;
    QTest::newRow("btnCopy") << "btnCopy" << 50 << "クリップボードへコピー" << QString() << false
                             << false << 0;
    QTest::newRow("btnRect") << "btnRect" << 98 << "長方形 (rect)"
                             << "■" << true << true << 0;
    QTest::newRow("btnCircle") << "btnCircle" << 122 << "円 (circle)"
                               << "●" << true << false << 0;
    QTest::newRow("btnPoly") << "btnPoly" << 146 << "多角形 (poly)"
                             << "★" << true << false << 0;
    QTest::newRow("btnDefault") << "btnDefault" << 170 << "その他の領域 (default)"
                                << "□" << false << false << 1;
    QTest::newRow("btnBig") << "btnBig" << 218 << "ズームイン" << QString() << false << false << 0;
    QTest::newRow("btnSmall") << "btnSmall" << 242 << "ズームアウト" << QString() << false << false
                              << 0;
}

void tst_MainWindow::toolButtons()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(QString, hint);
    QFETCH(QString, caption);
    QFETCH(bool, toggles);
    QFETCH(bool, down);
    QFETCH(int, tag);

    Program program;
    program.start();
    TfmMain *main = program.main();
    SpeedButton *b = button(main, name);
    QVERIFY(b);
    QCOMPARE(b->parentWidget(), static_cast<QWidget *>(main->bvButtons));
    QCOMPARE(b->geometry(), QRect(left, 2, 25, 25));
    QVERIFY(b->isVisible());
    QVERIFY(b->autoRaise()); // flat until the mouse is over it
    QCOMPARE(b->toolTip(), hint);
    QCOMPARE(b->hint(), hint);
    QCOMPARE(b->tag(), tag);
    QCOMPARE(b->isCheckable(), toggles);
    QCOMPARE(b->isDown(), down);
    if (caption.isEmpty()) {
        // A glyph of 16 x 16 whose background (the bottom-left colour) lets the strip show.
        QVERIFY(b->text().isEmpty());
        const QImage glyph = b->icon().pixmap(QSize(16, 16)).toImage();
        QCOMPARE(glyph.size(), QSize(16, 16));
        QCOMPARE(qAlpha(glyph.pixel(0, 15)), 0);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(glyph.pixel(x, y)) == 255;
        QVERIFY2(opaque > 20, "the glyph shows a picture");
        QVERIFY(!b->icon().pixmap(QSize(16, 16), QIcon::Disabled).isNull());
    } else {
        QCOMPARE(b->text(), caption);
        QVERIFY(b->icon().isNull());
        QCOMPARE(b->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(b->font().pixelSize(), 12);
    }
}

void tst_MainWindow::layout()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    QCOMPARE(main->clientSize(), QSize(294, 251));
    // The client area lies below the menu bar, and nothing else takes window space.
    QCOMPARE(main->centralWidget()->y(), main->menuBar()->geometry().bottom() + 1);
    QCOMPARE(main->height(), main->menuBar()->height() + 251);
    QCOMPARE(main->width(), 294);

    QCOMPARE(main->bvButtons->geometry(), QRect(0, 0, 294, 32));
    QCOMPARE(main->ScrollBox1->geometry(), QRect(0, 32, 294, 219));
    QCOMPARE(main->ScrollBox1->frameShape(), QFrame::NoFrame);
    QCOMPARE(main->ScrollBox1->widget(), static_cast<QWidget *>(main->Graph));
    QCOMPARE(main->Graph->geometry(), QRect(0, 0, 120, 120));
    QCOMPARE(main->Graph->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(main->Graph->tag(), 0);

    QCOMPARE(main->theShape->parentWidget(), static_cast<QWidget *>(main->Graph));
    QVERIFY(main->theShape->isHidden());
    QVERIFY(main->theShape->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(!main->theShape->isEnabled());

    // The window grows by the strip's fixed height only.
    main->resize(500, 400 + main->menuBar()->height());
    QApplication::processEvents();
    QCOMPARE(main->bvButtons->geometry(), QRect(0, 0, 500, 32));
    QCOMPARE(main->ScrollBox1->geometry(), QRect(0, 32, 500, 368));
    QCOMPARE(main->btnSmall->geometry(), QRect(242, 2, 25, 25));

    QCOMPARE(main->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(main->font().pixelSize(), 12);
}

void tst_MainWindow::icons()
{
    Program program;
    const QList<QSize> sizes = program.main()->windowIcon().availableSizes();
    QVERIFY2(sizes.contains(QSize(32, 32)), qPrintable(QDebug::toString(sizes)));
    QVERIFY2(sizes.contains(QSize(16, 16)), qPrintable(QDebug::toString(sizes)));
    QVERIFY(fmTag->windowIcon().availableSizes().contains(QSize(16, 16)));
    // Drawn, not blank: the 16 x 16 picture has a red frame round a white field.
    const QImage small = program.main()->windowIcon().pixmap(QSize(16, 16)).toImage();
    QVERIFY(QColor(small.pixel(8, 0)).red() > 128);
    QVERIFY(QColor(small.pixel(8, 0)).green() < 128);
}

void tst_MainWindow::openDialogFilter()
{
    Program program;
    const QString filter = program.main()->dlgOpen->filter();
    QCOMPARE(filter,
            QStringLiteral("画像ﾌｧｲﾙ (*.jpg , *.png , *.bmp)|*.jpg;*.png;*.bmp|JPEG ファイル "
                           "(*.jpg)|*.jpg|"
                           "PNG ファイル (*.png)|*.png|GIF ファイル (*.gif)|*.gif|ビットマップ "
                           "(*.bmp)|*.bmp|"
                           "すべてのファイル (*.*)|*.*"));
    QCOMPARE(FileFilter::descriptions(filter),
            QStringList({ QStringLiteral("画像ﾌｧｲﾙ (*.jpg , *.png , *.bmp)"),
                    QStringLiteral("JPEG ファイル (*.jpg)"), QStringLiteral("PNG ファイル (*.png)"),
                    QStringLiteral("GIF ファイル (*.gif)"), QStringLiteral("ビットマップ (*.bmp)"),
                    QStringLiteral("すべてのファイル (*.*)") }));
    QCOMPARE(FileFilter::nameFilters(filter),
            QStringList({ QStringLiteral("画像ﾌｧｲﾙ (*.jpg , *.png , *.bmp) (*.jpg *.png *.bmp)"),
                    QStringLiteral("JPEG ファイル (*.jpg) (*.jpg)"),
                    QStringLiteral("PNG ファイル (*.png) (*.png)"),
                    QStringLiteral("GIF ファイル (*.gif) (*.gif)"),
                    QStringLiteral("ビットマップ (*.bmp) (*.bmp)"),
                    QStringLiteral("すべてのファイル (*.*) (*)") }));
    QVERIFY(program.main()->dlgOpen->fileName().isEmpty());
}

void tst_MainWindow::shapeCommands_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("shape");
    QTest::newRow("mnSCircle") << "mnSRect"
                               << "mnSCircle"
                               << "circle";
    QTest::newRow("btnCircle") << "mnSRect"
                               << "btnCircle"
                               << "circle";
    QTest::newRow("mnSPoly") << "mnSRect"
                             << "mnSPoly"
                             << "poly";
    QTest::newRow("btnPoly") << "mnSRect"
                             << "btnPoly"
                             << "poly";
    QTest::newRow("mnSRect after poly") << "mnSPoly"
                                        << "mnSRect"
                                        << "rect";
    QTest::newRow("btnRect after circle") << "mnSCircle"
                                          << "btnRect"
                                          << "rect";
    QTest::newRow("btnCircle after poly") << "mnSPoly"
                                          << "btnCircle"
                                          << "circle";
}

void tst_MainWindow::shapeCommands()
{
    QFETCH(QString, from);
    QFETCH(QString, command);
    QFETCH(QString, shape);

    Program program;
    program.start();
    TfmMain *main = program.main();
    use(main, from);
    use(main, command);

    // The buttons hand the menu items on: the marks move as the menu's would.
    verifyShapeTool(main, shape);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_MainWindow::shapeButtonPressedAgain_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("shape");
    QTest::newRow("btnRect down at start") << "btnRect"
                                           << "rect";
    QTest::newRow("btnCircle") << "btnCircle"
                               << "circle";
}

void tst_MainWindow::shapeButtonPressedAgain()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, shape);

    Program program;
    program.start();
    TfmMain *main = program.main();
    openPicture(program, QStringLiteral("photo.png"), QSize(200, 150));
    SpeedButton *b = button(main, buttonName);
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isDown());

    // An area begun with the tool in force: pressing the same tool again ends it.
    QTest::mouseClick(main->Graph, Qt::LeftButton, {}, QPoint(20, 30));
    QVERIFY(!main->pendingArea.isEmpty());
    QVERIFY(main->theShape->isVisible());
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isDown());
    QCOMPARE(main->currentShape, shape);
    QVERIFY(main->pendingArea.isEmpty());
    QVERIFY(!main->theShape->isVisible());
    QCOMPARE(int(main->btnRect->isDown()) + int(main->btnCircle->isDown())
                    + int(main->btnPoly->isDown()),
            1);
}

void tst_MainWindow::tagWindowCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("mnTagWindow") << "mnTagWindow";
    QTest::newRow("btnTag") << "btnTag";
}

void tst_MainWindow::tagWindowCommand()
{
    QFETCH(QString, command);

    Program program;
    program.start();
    TfmMain *main = program.main();
    use(main, command);
    QVERIFY(fmTag->isVisible());
    QVERIFY(main->mnTagWindow->ticked());
    QVERIFY(main->btnTag->isDown());
    use(main, command);
    QVERIFY(!fmTag->isVisible());
    QVERIFY(!main->mnTagWindow->ticked());
    QVERIFY(!main->btnTag->isDown());
}

void tst_MainWindow::openCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("mnOpen") << "mnOpen";
    QTest::newRow("btnOpen") << "btnOpen";
}

void tst_MainWindow::openCommand()
{
    QFETCH(QString, command);

    Program program;
    program.start();
    TfmMain *main = program.main();
    const QString photo
            = writePicture(program.folder(), QStringLiteral("photo.png"), QSize(40, 30));
    int shown = 0;
    OpenDialog::setTestHook([&](OpenDialog &dialog) {
        ++shown;
        if (&dialog != main->dlgOpen)
            return false;
        dialog.choose(photo);
        return true;
    });
    answerMapName(QStringLiteral("pic"));
    use(main, command);
    QCOMPARE(shown, 1);
    QCOMPARE(pendingAnswers(), 0);
    QCOMPARE(main->windowTitle(), QStringLiteral("photo.png - Zonefold"));
    QCOMPARE(fmTag->TagList->toPlainText(),
            QStringLiteral("<img src=\"photo.png\" usemap=\"#pic\" width=40 height=30 border=0>\n"
                           "<map name=\"pic\">\n</map>\n"));

    // Cancelled: nothing changes.
    OpenDialog::setTestHook([&](OpenDialog &) {
        ++shown;
        return false;
    });
    use(main, command);
    QCOMPARE(shown, 2);
    QCOMPARE(main->windowTitle(), QStringLiteral("photo.png - Zonefold"));
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_MainWindow::defaultAreaCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("mnSDefault") << "mnSDefault";
    QTest::newRow("btnDefault") << "btnDefault";
}

void tst_MainWindow::defaultAreaCommand()
{
    QFETCH(QString, command);

    Program program;
    program.start();
    TfmMain *main = program.main();
    QString caption;
    answerModal([&](QDialog *dialog) {
        caption = dialog->windowTitle();
        dialog->reject();
    });
    use(main, command);
    QCOMPARE(pendingAnswers(), 0);
    QCOMPARE(caption, QStringLiteral("その他の領域"));
}

void tst_MainWindow::zoomCommands_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QSize>("view");
    QTest::newRow("mnBig") << QStringList { "mnBig" } << 0.5f << QSize(424, 282);
    QTest::newRow("btnBig twice") << QStringList { "btnBig", "btnBig" } << 1.0f << QSize(600, 400);
    QTest::newRow("mnSmall") << QStringList { "mnSmall" } << -0.5f << QSize(212, 141);
    QTest::newRow("btnSmall") << QStringList { "btnSmall" } << -0.5f << QSize(212, 141);
    QTest::newRow("mnZoomNormal after btnBig")
            << QStringList { "btnBig", "mnZoomNormal" } << 0.0f << QSize(300, 200);
}

void tst_MainWindow::zoomCommands()
{
    QFETCH(QStringList, commands);
    QFETCH(float, zoom);
    QFETCH(QSize, view);

    Program program;
    program.start();
    TfmMain *main = program.main();
    openPicture(program, QStringLiteral("photo.png"), QSize(300, 200));
    const QSize window = main->size();
    for (const QString &command : commands)
        use(main, command);
    QCOMPARE(main->zoom, zoom);
    QCOMPARE(main->Graph->size(), view);
    QCOMPARE(main->size(), window); // zooming never fits the window
}

void tst_MainWindow::copyCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("mnTagCopy") << "mnTagCopy";
    QTest::newRow("btnCopy") << "btnCopy";
}

void tst_MainWindow::copyCommand()
{
    QFETCH(QString, command);

    Program program;
    program.start();
    TfmMain *main = program.main();
    fmTag->TagList->setPlainText(QStringLiteral("<map name=\"a\">\n</map>\n"));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    use(main, command);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<map name=\"a\">\r\n</map>\r\n"));
}

void tst_MainWindow::letterCaseCommand()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    fmTag->TagList->setPlainText(QStringLiteral("<map name=\"a\">\n"));
    main->mnSmallLetter->trigger();
    QVERIFY(!main->mnSmallLetter->ticked());
    QVERIFY(!main->mnSmallLetter->isChecked());
    main->mnSmallLetter->trigger();
    QVERIFY(main->mnSmallLetter->ticked());
    // Lines already made keep their letters.
    QCOMPARE(fmTag->TagList->toPlainText(), QStringLiteral("<map name=\"a\">\n"));
}

void tst_MainWindow::exitCommand_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("mnEnd") << false;
    QTest::newRow("close box") << true;
}

void tst_MainWindow::exitCommand()
{
    QFETCH(bool, closeBox);

    Program program;
    program.start();
    TfmMain *main = program.main();
    QVERIFY(!QFile::exists(program.settingsPath()));
    if (closeBox)
        QVERIFY(main->close());
    else
        main->mnEnd->trigger();
    QVERIFY(!main->isVisible());
    // Both ways write the settings on the way out.
    QFile settings(program.settingsPath());
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(settings.readAll().contains("[MainWindow]"));
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_MainWindow::failingCommandShowsOneErrorBox_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("mnOpen missing file") << "mnOpen";
    QTest::newRow("btnOpen missing file") << "btnOpen";
}

void tst_MainWindow::failingCommandShowsOneErrorBox()
{
    QFETCH(QString, command);

    Program program;
    program.start();
    TfmMain *main = program.main();
    const QString missing = program.folder() + QStringLiteral("missing.png");
    OpenDialog::setTestHook([&](OpenDialog &dialog) {
        dialog.choose(missing);
        return true;
    });
    use(main, command);
    QCOMPARE(program.errors().errors().size(), 1);
    QCOMPARE(program.errors().errors().first().first, QStringLiteral("Zonefold"));
    QVERIFY(!program.errors().errors().first().second.isEmpty());
    QCOMPARE(main->windowTitle(), QStringLiteral("Zonefold"));
    QVERIFY(main->isVisible());

    // The program goes on: the next command works.
    const QString photo
            = writePicture(program.folder(), QStringLiteral("photo.png"), QSize(40, 30));
    OpenDialog::setTestHook([&](OpenDialog &dialog) {
        dialog.choose(photo);
        return true;
    });
    acceptModal();
    use(main, command);
    QCOMPARE(main->windowTitle(), QStringLiteral("photo.png - Zonefold"));
    QCOMPARE(program.errors().errors().size(), 1);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
