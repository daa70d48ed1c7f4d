#include "MainForm.h"
#include "MenuItem.h"
#include "PictureView.h"
#include "ShapeBand.h"
#include "SpeedButton.h"
#include "TestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

#include <cmath>

using namespace TestSupport;

namespace {

// Runs zoom commands: + and - from the menu, B and S by the tool buttons, 0 back
// to the picture's own size.
void zoom(TfmMain *main, const QString &steps)
{
    for (const QChar step : steps) {
        switch (step.toLatin1()) {
        case '+':
            main->mnBig->trigger();
            break;
        case '-':
            main->mnSmall->trigger();
            break;
        case 'B':
            QTest::mouseClick(main->btnBig, Qt::LeftButton);
            break;
        case 'S':
            QTest::mouseClick(main->btnSmall, Qt::LeftButton);
            break;
        case '0':
            main->mnZoomNormal->trigger();
            break;
        }
    }
}

void openPicture(TfmMain *main, const QString &path)
{
    acceptModal();
    main->OpenImage(path);
    QCOMPARE(pendingAnswers(), 0);
}

MenuItem *shapeItem(TfmMain *main, const QString &shape)
{
    if (shape == QLatin1String("circle"))
        return main->mnSCircle;
    if (shape == QLatin1String("poly"))
        return main->mnSPoly;
    return main->mnSRect;
}

// The window system drops a move to where the pointer already is, and the pointer
// stays where the previous test left it: come from one pixel off.
void moveTo(QWidget *widget, const QPoint &at)
{
    QTest::mouseMove(widget, at - QPoint(1, 1));
    QTest::mouseMove(widget, at);
}

// Starts an area of the current shape: a band from (10,20) stretched to (60,50),
// or a polygon with one side drawn and the rubber line to (50,40).
void startArea(TfmMain *main)
{
    PictureView *graph = main->Graph;
    if (main->currentShape == QLatin1String("poly")) {
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(50, 10));
        moveTo(graph, QPoint(50, 40));
        QVERIFY(!graph->invertedLines().isEmpty());
    } else {
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(10, 20));
        moveTo(graph, QPoint(60, 50));
        QVERIFY(main->theShape->isVisible());
    }
    QVERIFY(!main->pendingArea.isEmpty());
}

QImage patternImage(const QSize &size, int block)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, patternColor(x / block, y / block));
    return image;
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Whether view coordinate v at `scale` shows one picture block for certain, whatever
// the smoothing: for single pixels, v's centre lies near the pixel's centre (the
// neighbours weigh a quarter at most); for blocks, v and half a pixel around it lie
// inside the block.
bool clearOfBoundaries(int v, double scale, int block)
{
    const double centre = (v + 0.5) / scale;
    if (block == 1)
        return std::abs(centre - (std::floor(centre) + 0.5)) <= 0.25
               && int(std::trunc(v / scale)) == int(std::floor(centre));
    const double from = v / scale - 0.5;
    const double to = (v + 1) / scale + 0.5;
    return std::floor(from / block) == std::floor(to / block) && from >= 0;
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// The view of the picture at each zoom, the fitted window, and the shape tools
// that end an area in progress.
class tst_View : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void viewSize_data();
    void viewSize();
    void unscaledPixelForPixel_data();
    void unscaledPixelForPixel();
    void stretched_data();
    void stretched();
    void fitWindow_data();
    void fitWindow();
    void noFitWhenMaximised();
    void zoomKeepsArea_data();
    void zoomKeepsArea();
    void tooLargeViewRefused();
    void deepZoomPaintsOnlyTheVisiblePart();
    void shapeTools_data();
    void shapeTools();
    void resetArea_data();
    void resetArea();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void tst_View::initTestCase()
{
    QVERIFY(m_dir.isValid());
    writePicture(m_dir.path(), QStringLiteral("p300x200.png"), QSize(300, 200));
    writePicture(m_dir.path(), QStringLiteral("p37x23.bmp"), QSize(37, 23));
    // Small enough that the pattern's channels never wrap round.
    writePicture(m_dir.path(), QStringLiteral("p30x30.png"), QSize(30, 30));
    QVERIFY(patternImage(QSize(120, 120), 8).save(path(QStringLiteral("blocks120x120.png"))));
}

void tst_View::cleanup()
{
    dropPendingAnswers();
}

void tst_View::viewSize_data()
{
    QTest::addColumn<QString>("file"); // empty: no picture opened
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<float>("factor");

    const QString picture = QStringLiteral("p300x200.png");
    QTest::newRow("300x200 as opened") << picture << QString() << QSize(300, 200) << 0.0f;
    QTest::newRow("300x200 zoom in once") << picture << "+" << QSize(424, 282) << 0.5f;
    QTest::newRow("300x200 zoom in twice") << picture << "++" << QSize(600, 400) << 1.0f;
    QTest::newRow("300x200 zoom out once") << picture << "-" << QSize(212, 141) << -0.5f;
    QTest::newRow("300x200 zoom in twice, reset") << picture << "++0" << QSize(300, 200) << 0.0f;
    QTest::newRow("300x200 buttons in, in, out") << picture << "BBS" << QSize(424, 282) << 0.5f;
    QTest::newRow("300x200 zoom out 20 times")
            << picture << QString(20, QLatin1Char('-')) << QSize(0, 0) << -10.0f;
    QTest::newRow("300x200 zoom out 20 times, in 20 times")
            << picture << QString(20, QLatin1Char('-')) + QString(20, QLatin1Char('+'))
            << QSize(300, 200) << 0.0f;
    QTest::newRow("no picture zoom in") << QString() << "+" << QSize(0, 0) << 0.5f;
    QTest::newRow("no picture zoom out, reset") << QString() << "-0" << QSize(0, 0) << 0.0f;
}

void tst_View::viewSize()
{
    QFETCH(QString, file);
    QFETCH(QString, steps);
    QFETCH(QSize, view);
    QFETCH(float, factor);

    Program program;
    program.start();
    TfmMain *main = program.main();
    if (!file.isEmpty())
        openPicture(main, path(file));
    const QRect window = main->frameGeometry();

    zoom(main, steps);
    QApplication::processEvents();

    QCOMPARE(main->zoom, factor);
    QCOMPARE(main->Graph->size(), view);
    QCOMPARE(main->frameGeometry(), window);
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_View::unscaledPixelForPixel_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("steps");

    QTest::newRow("300x200 png as opened") << QStringLiteral("p300x200.png") << QSize(300, 200)
                                           << QString();
    QTest::newRow("300x200 png in, out") << QStringLiteral("p300x200.png") << QSize(300, 200)
                                         << QStringLiteral("+-");
    QTest::newRow("37x23 bmp out, out, in, in") << QStringLiteral("p37x23.bmp") << QSize(37, 23)
                                                << QStringLiteral("--BB");
    QTest::newRow("37x23 bmp in thrice, reset") << QStringLiteral("p37x23.bmp") << QSize(37, 23)
                                                << QStringLiteral("+++0");
}

void tst_View::unscaledPixelForPixel()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QString, steps);

    Program program;
    program.start();
    TfmMain *main = program.main();
    openPicture(main, path(file));
    zoom(main, steps);

    QCOMPARE(main->zoom, 0.0f);
    QCOMPARE(main->Graph->size(), size);
    const QImage shown = main->Graph->grabView(QRect(QPoint(0, 0), size))
                                 .convertToFormat(QImage::Format_RGB32);
    QVERIFY(shown == patternImage(size, 1));
}

void tst_View::stretched_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("steps");

    const QString pixels = QStringLiteral("p30x30.png");
    const QString blocks = QStringLiteral("blocks120x120.png");
    QTest::newRow("zoom +0.5, scale 1.41") << pixels << 1 << "+";
    QTest::newRow("zoom +1, scale 2") << pixels << 1 << "++";
    QTest::newRow("zoom +1.5, scale 2.83") << pixels << 1 << "+++";
    QTest::newRow("zoom +2, scale 4") << pixels << 1 << "++++";
    QTest::newRow("zoom +3, scale 8") << pixels << 1 << "++++++";
    QTest::newRow("zoom -0.5, scale 0.71, 8-pixel blocks") << blocks << 8 << "-";
    QTest::newRow("zoom -1, scale 0.5, 8-pixel blocks") << blocks << 8 << "--";
}

void tst_View::stretched()
{
    QFETCH(QString, file);
    QFETCH(int, block);
    QFETCH(QString, steps);

    Program program;
    program.start();
    TfmMain *main = program.main();
    openPicture(main, path(file));
    zoom(main, steps);

    const double scale = std::pow(2.0, double(main->zoom));
    const QSize picture = main->picture.size();
    const QSize view(int(picture.width() * scale), int(picture.height() * scale));
    QCOMPARE(main->Graph->size(), view);
    const QImage shown = main->Graph->grabView(QRect(QPoint(0, 0), view));

    int checked = 0;
    for (int y = 0; y < view.height(); ++y) {
        if (!clearOfBoundaries(y, scale, block))
            continue;
        for (int x = 0; x < view.width(); ++x) {
            if (!clearOfBoundaries(x, scale, block))
                continue;
            const int px = int(std::trunc(x / scale));
            const int py = int(std::trunc(y / scale));
            const QRgb expected = patternColor(px / block, py / block);
            if (!near(shown.pixel(x, y), expected, 2)) {
                QFAIL(qPrintable(QStringLiteral("view (%1,%2) shows #%3, picture (%4,%5) is #%6")
                                         .arg(x)
                                         .arg(y)
                                         .arg(shown.pixel(x, y) & 0xffffff, 6, 16, QLatin1Char('0'))
                                         .arg(px)
                                         .arg(py)
                                         .arg(expected & 0xffffff, 6, 16, QLatin1Char('0'))));
            }
            ++checked;
        }
    }
    // A good part of the picture was looked at, and the far corner fills the view.
    const int blocks = (picture.width() / block) * (picture.height() / block);
    QVERIFY2(checked >= blocks / 4, qPrintable(QString::number(checked)));
    QVERIFY(near(shown.pixel(view.width() - 1, view.height() - 1),
                 main->picture.pixel(picture.width() - 1, picture.height() - 1), 2 * block));
}

void tst_View::fitWindow_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("outerWidth");  // -1: not checked; 0: up to the screen's edge
    QTest::addColumn<int>("outerHeight"); // the same, downwards
    QTest::addColumn<QSize>("client");    // -1 sides: not checked

    // The offscreen screen is 800 x 800.
    QTest::newRow("100x80 at 20,20") << QSize(100, 80) << QPoint(20, 20) << 310 << -1
                                     << QSize(-1, 112);
    QTest::newRow("310x50 at 20,20") << QSize(310, 50) << QPoint(20, 20) << 310 << -1
                                     << QSize(-1, 82);
    QTest::newRow("311x50 at 20,20") << QSize(311, 50) << QPoint(20, 20) << -1 << -1
                                     << QSize(311, 82);
    QTest::newRow("500x10 at 0,0") << QSize(500, 10) << QPoint(0, 0) << -1 << -1
                                   << QSize(500, 42);
    QTest::newRow("1000x200 at 150,20") << QSize(1000, 200) << QPoint(150, 20) << 0 << -1
                                        << QSize(-1, 232);
    QTest::newRow("300x1000 at 20,100") << QSize(300, 1000) << QPoint(20, 100) << 310 << 0
                                        << QSize(-1, -1);
}

void tst_View::fitWindow()
{
    QFETCH(QSize, picture);
    QFETCH(QPoint, position);
    QFETCH(int, outerWidth);
    QFETCH(int, outerHeight);
    QFETCH(QSize, client);

    Program program;
    program.start();
    TfmMain *main = program.main();
    main->move(position);
    QApplication::processEvents();
    QCOMPARE(main->frameGeometry().topLeft(), position);
    const QString file = writePicture(m_dir.path(), QStringLiteral("fit.png"), picture);

    openPicture(main, file);
    QApplication::processEvents();

    QCOMPARE(main->frameGeometry().topLeft(), position);
    QCOMPARE(main->Graph->size(), picture);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    if (outerWidth == 0)
        QCOMPARE(main->frameGeometry().right(), screen.right());
    else if (outerWidth > 0)
        QCOMPARE(main->frameGeometry().width(), outerWidth);
    if (outerHeight == 0)
        QCOMPARE(main->frameGeometry().bottom(), screen.bottom());
    else if (outerHeight > 0)
        QCOMPARE(main->frameGeometry().height(), outerHeight);
    if (client.width() >= 0)
        QCOMPARE(main->clientSize().width(), client.width());
    if (client.height() >= 0)
        QCOMPARE(main->clientSize().height(), client.height());
}

void tst_View::noFitWhenMaximised()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    main->showMaximized();
    QApplication::processEvents();
    const QRect window = main->frameGeometry();

    openPicture(main, path(QStringLiteral("p37x23.bmp")));
    QApplication::processEvents();

    QVERIFY(main->isMaximized());
    QCOMPARE(main->frameGeometry(), window);
    QCOMPARE(main->Graph->size(), QSize(37, 23));
}

void tst_View::zoomKeepsArea_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("before"); // zoom steps before the area is started
    QTest::addColumn<QString>("steps");

    QTest::newRow("rect band, zoom in") << QStringLiteral("rect") << QString() << "+";
    QTest::newRow("circle band, zoom out") << QStringLiteral("circle") << QString() << "-";
    QTest::newRow("polygon, zoom in") << QStringLiteral("poly") << QString() << "+";
    QTest::newRow("polygon at zoom +1, reset") << QStringLiteral("poly") << "++" << "0";
}

void tst_View::zoomKeepsArea()
{
    QFETCH(QString, shape);
    QFETCH(QString, before);
    QFETCH(QString, steps);

    Program program;
    program.start();
    TfmMain *main = program.main();
    openPicture(main, path(QStringLiteral("p300x200.png")));
    shapeItem(main, shape)->trigger();
    zoom(main, before);
    startArea(main);
    const QString pending = main->pendingArea;
    const QPoint anchor = main->anchorPoint;
    const QPoint lineEnd = main->lineEndPoint;
    const QPoint start = main->startPoint;

    zoom(main, steps);

    QVERIFY(!main->theShape->isVisible());
    QVERIFY(main->Graph->invertedLines().isEmpty());
    QCOMPARE(main->pendingArea, pending);
    QCOMPARE(main->anchorPoint, anchor);
    QCOMPARE(main->lineEndPoint, lineEnd);
    QCOMPARE(main->startPoint, start);
    QCOMPARE(main->currentShape, shape);
}

void tst_View::tooLargeViewRefused()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    writePicture(m_dir.path(), QStringLiteral("big.png"), QSize(1000, 1000));
    openPicture(main, path(QStringLiteral("big.png")));

    // 1000 x 2^14 still fits the largest widget; 1000 x 2^14.5 does not.
    int step = 0;
    while (program.errors().errors().isEmpty() && step < 40) {
        main->mnBig->trigger();
        ++step;
    }
    QCOMPARE(step, 29);
    QCOMPARE(program.errors().errors().size(), 1);
    QCOMPARE(program.errors().errors().first().first, QStringLiteral("big.png - Zonefold"));
    QCOMPARE(main->zoom, 14.0f);
    QCOMPARE(main->Graph->size(), QSize(16384000, 16384000));

    // Each refusal says so once; the view stays at the largest size.
    main->mnBig->trigger();
    QCOMPARE(program.errors().errors().size(), 2);
    QCOMPARE(main->Graph->size(), QSize(16384000, 16384000));

    // Still drawn and still usable: the middle of the view shows the picture's middle.
    const QImage middle = main->Graph->grabView(QRect(8192000 + 8000, 8192000 + 8000, 4, 4));
    QVERIFY(near(middle.pixel(1, 1), patternColor(500, 500), 2));
    main->mnSmall->trigger();
    QCOMPARE(main->zoom, 13.5f);
    QCOMPARE(main->Graph->size(), QSize(11585237, 11585237));
    main->mnZoomNormal->trigger();
    QCOMPARE(main->Graph->size(), QSize(1000, 1000));
    QCOMPARE(program.errors().errors().size(), 2);
}

void tst_View::deepZoomPaintsOnlyTheVisiblePart()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    main->resize(600, 500);
    writePicture(m_dir.path(), QStringLiteral("wide.png"), QSize(2000, 1500));
    openPicture(main, path(QStringLiteral("wide.png")));

    // Through +5 (a 1.5 GB bitmap, if the view were one) to +6 (49 GB).
    zoom(main, QString(12, QLatin1Char('+')));
    QVERIFY(program.errors().texts().isEmpty());
    QCOMPARE(main->Graph->size(), QSize(128000, 96000));

    // Scrolled to the middle, the window shows the middle of the picture at 64 times.
    QScrollArea *box = main->ScrollBox1;
    box->horizontalScrollBar()->setValue(64000);
    box->verticalScrollBar()->setValue(48000);
    QApplication::processEvents();
    const QImage seen = box->viewport()->grab().toImage();
    QVERIFY(seen.width() > 100 && seen.height() > 100);
    for (const QPoint &at : {QPoint(32, 32), QPoint(96, 32), QPoint(32, 96), QPoint(96, 96)}) {
        const int px = (64000 + at.x()) / 64;
        const int py = (48000 + at.y()) / 64;
        QVERIFY(near(seen.pixel(at), patternColor(px, py), 2));
    }
    QVERIFY2(peakResidentKiB() < 1024 * 1024, qPrintable(QString::number(peakResidentKiB())));
}

void tst_View::shapeTools_data()
{
    QTest::addColumn<QString>("prior");    // the shape in force before
    QTest::addColumn<bool>("drawing");     // an area of it in progress
    QTest::addColumn<QString>("command");  // mn... from the menu, btn... by the button
    QTest::addColumn<QString>("shape");

    QTest::newRow("circle menu, polygon half drawn") << "poly" << true << "mnSCircle" << "circle";
    QTest::newRow("rect button, circle band shown") << "circle" << true << "btnRect" << "rect";
    QTest::newRow("rect menu, rect in progress") << "rect" << true << "mnSRect" << "rect";
    QTest::newRow("poly menu, polygon half drawn") << "poly" << true << "mnSPoly" << "poly";
    QTest::newRow("poly button, rect idle") << "rect" << false << "btnPoly" << "poly";
    QTest::newRow("circle button, circle in progress") << "circle" << true << "btnCircle"
                                                        << "circle";
}

void tst_View::shapeTools()
{
    QFETCH(QString, prior);
    QFETCH(bool, drawing);
    QFETCH(QString, command);
    QFETCH(QString, shape);

    Program program;
    program.start();
    TfmMain *main = program.main();
    QCOMPARE(main->currentShape, QStringLiteral("rect"));
    QVERIFY(main->mnSRect->ticked() && main->btnRect->isDown());

    openPicture(main, path(QStringLiteral("p300x200.png")));
    const QImage clean = main->Graph->grabView(QRect(0, 0, 100, 100));
    shapeItem(main, prior)->trigger();
    if (drawing)
        startArea(main);

    const QMap<QString, SpeedButton *> buttons{{QStringLiteral("btnRect"), main->btnRect},
                                               {QStringLiteral("btnCircle"), main->btnCircle},
                                               {QStringLiteral("btnPoly"), main->btnPoly}};
    if (buttons.contains(command))
        QTest::mouseClick(buttons.value(command), Qt::LeftButton);
    else
        shapeItem(main, command.mid(3).toLower())->trigger();

    verifyShapeTool(main, shape);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(main->pendingArea.isEmpty());
    QVERIFY(!main->theShape->isVisible());
    QVERIFY(main->Graph->invertedLines().isEmpty());
    QVERIFY(main->Graph->grabView(QRect(0, 0, 100, 100)) == clean);
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_View::resetArea_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<bool>("hide");
    QTest::addColumn<bool>("bandShown");

    QTest::newRow("rect band, hide") << "rect" << true << true << false;
    QTest::newRow("rect band, keep") << "rect" << true << false << true;
    QTest::newRow("circle band, hide") << "circle" << true << true << false;
    QTest::newRow("circle band, keep") << "circle" << true << false << true;
    QTest::newRow("polygon, hide") << "poly" << true << true << false;
    QTest::newRow("polygon, keep") << "poly" << true << false << false;
    QTest::newRow("polygon, no picture") << "poly" << false << true << false;
}

void tst_View::resetArea()
{
    QFETCH(QString, shape);
    QFETCH(bool, picture);
    QFETCH(bool, hide);
    QFETCH(bool, bandShown);

    Program program;
    program.start();
    TfmMain *main = program.main();
    if (picture)
        openPicture(main, path(QStringLiteral("p300x200.png")));
    const QImage clean = main->Graph->grabView(QRect(0, 0, 100, 100));
    shapeItem(main, shape)->trigger();
    if (picture) {
        startArea(main);
        QVERIFY(main->Graph->grabView(QRect(0, 0, 100, 100)) != clean);
    }
    const QRect band = main->theShape->geometry();

    main->ResetArea(hide);

    QVERIFY(main->pendingArea.isEmpty());
    QVERIFY(main->Graph->invertedLines().isEmpty());
    QCOMPARE(main->theShape->isVisible(), bandShown);
    QCOMPARE(main->theShape->geometry(), band);
    if (picture) {
        QCOMPARE(main->Graph->size(), QSize(300, 200));
        if (!bandShown)
            QVERIFY(main->Graph->grabView(QRect(0, 0, 100, 100)) == clean);
    } else {
        QCOMPARE(main->Graph->size(), QSize(0, 0));
    }
}

QTEST_MAIN(tst_View)
#include "tst_view.moc"
