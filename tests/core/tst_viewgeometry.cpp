#include "ViewGeometry.h"

#include <QtTest>

#include <cmath>

using namespace ViewGeometry;

class TestViewGeometry : public QObject
{
    Q_OBJECT

private slots:
    void scaleIsExactAtWholeSteps();
    void halfStepsReturnToZero();
    void viewSize_data();
    void viewSize();
    void fits_data();
    void fits();
    void toPicture_data();
    void toPicture();
    void distance_data();
    void distance();
    void fittedOuterSize_data();
    void fittedOuterSize();
    void pictureRectOf_data();
    void pictureRectOf();
    void anchored_data();
    void anchored();
};

void TestViewGeometry::scaleIsExactAtWholeSteps()
{
    QCOMPARE(scale(0.0f), 1.0);
    QCOMPARE(scale(1.0f), 2.0);
    QCOMPARE(scale(-1.0f), 0.5);
    QCOMPARE(scale(3.0f), 8.0);
    QCOMPARE(scale(0.5f), std::sqrt(2.0));
}

// The zoom moves in half steps of a float; they must add up without drift.
void TestViewGeometry::halfStepsReturnToZero()
{
    float zoom = 0.0f;
    for (int i = 0; i < 40; ++i)
        zoom += 0.5f;
    QCOMPARE(ViewGeometry::viewSize(QSize(3, 3), zoom), QSize(3 << 20, 3 << 20));
    for (int i = 0; i < 40; ++i)
        zoom -= 0.5f;
    QCOMPARE(zoom, 0.0f);
    QCOMPARE(ViewGeometry::viewSize(QSize(300, 200), zoom), QSize(300, 200));
}

void TestViewGeometry::viewSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("300x200 zoom 0") << QSize(300, 200) << 0.0f << QSize(300, 200);
    QTest::newRow("300x200 zoom +0.5") << QSize(300, 200) << 0.5f << QSize(424, 282);
    QTest::newRow("300x200 zoom +1") << QSize(300, 200) << 1.0f << QSize(600, 400);
    QTest::newRow("300x200 zoom -0.5") << QSize(300, 200) << -0.5f << QSize(212, 141);
    QTest::newRow("300x200 zoom +1.5") << QSize(300, 200) << 1.5f << QSize(848, 565);
    QTest::newRow("300x200 zoom -1") << QSize(300, 200) << -1.0f << QSize(150, 100);
    QTest::newRow("3x3 zoom -1") << QSize(3, 3) << -1.0f << QSize(1, 1);
    QTest::newRow("300x200 zoom -10") << QSize(300, 200) << -10.0f << QSize(0, 0);
    QTest::newRow("empty picture zoom +1") << QSize(0, 0) << 1.0f << QSize(0, 0);
    QTest::newRow("1x1 zoom +24") << QSize(1, 1) << 24.0f << QSize(16777216, 16777216);
    QTest::newRow("1000x1 zoom +40 saturates")
        << QSize(1000, 1) << 40.0f << QSize(2147483647, 2147483647);
    QTest::newRow("1x1 zoom +2000 saturates")
        << QSize(1, 1) << 2000.0f << QSize(2147483647, 2147483647);
}

void TestViewGeometry::viewSize()
{
    QFETCH(QSize, picture);
    QFETCH(float, zoom);
    QFETCH(QSize, expected);
    QCOMPARE(ViewGeometry::viewSize(picture, zoom), expected);
}

void TestViewGeometry::fits_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("expected");

    QTest::newRow("0 x 0") << 0.0 << 0.0 << true;
    QTest::newRow("16777215 x 16777215") << 16777215.0 << 16777215.0 << true;
    QTest::newRow("16777215.9 x 1") << 16777215.9 << 1.0 << false;
    QTest::newRow("16777216 x 1") << 16777216.0 << 1.0 << false;
    QTest::newRow("1 x 16777216") << 1.0 << 16777216.0 << false;
    QTest::newRow("1e300 x 1") << 1e300 << 1.0 << false;
    QTest::newRow("inf x 1") << HUGE_VAL << 1.0 << false;
}

void TestViewGeometry::fits()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(bool, expected);
    QCOMPARE(ViewGeometry::fits(width, height), expected);
}

void TestViewGeometry::toPicture_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("expected");

    QTest::newRow("zoom 0 view 37") << 0.0f << 37 << 37;
    QTest::newRow("zoom 1 view 101") << 1.0f << 101 << 50;
    QTest::newRow("zoom 1 view 51") << 1.0f << 51 << 25;
    QTest::newRow("zoom 0.5 view 100") << 0.5f << 100 << 70;
    QTest::newRow("zoom 0.5 view 99") << 0.5f << 99 << 70;
    QTest::newRow("zoom 1.5 view 100") << 1.5f << 100 << 35;
    QTest::newRow("zoom -1 view 7") << -1.0f << 7 << 14;
    QTest::newRow("zoom -0.5 view 10") << -0.5f << 10 << 14;
    QTest::newRow("zoom 1 view -3") << 1.0f << -3 << -1;
    QTest::newRow("zoom 0.5 view -100") << 0.5f << -100 << -70;
    QTest::newRow("zoom -40 view 1000 saturates") << -40.0f << 1000 << 2147483647;
}

void TestViewGeometry::toPicture()
{
    QFETCH(float, zoom);
    QFETCH(int, view);
    QFETCH(int, expected);
    QCOMPARE(ViewGeometry::toPicture(view, scale(zoom)), expected);
}

void TestViewGeometry::distance_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("expected");

    QTest::newRow("(100,100) to (103,104)") << QPoint(100, 100) << QPoint(103, 104) << 5;
    QTest::newRow("(100,100) to (105,104), 6.40") << QPoint(100, 100) << QPoint(105, 104) << 6;
    QTest::newRow("(10,10) to (16,16), 8.49") << QPoint(10, 10) << QPoint(16, 16) << 8;
    QTest::newRow("(10,10) to (19,10)") << QPoint(10, 10) << QPoint(19, 10) << 9;
    QTest::newRow("(10,10) to (10,10)") << QPoint(10, 10) << QPoint(10, 10) << 0;
    QTest::newRow("(3,4) to (0,0)") << QPoint(3, 4) << QPoint(0, 0) << 5;
    QTest::newRow("(0,0) to (-6,-6)") << QPoint(0, 0) << QPoint(-6, -6) << 8;
    QTest::newRow("(0,0) to (100000,100000)")
        << QPoint(0, 0) << QPoint(100000, 100000) << 141421;
    QTest::newRow("(-2000000000,0) to (2000000000,0)")
        << QPoint(-2000000000, 0) << QPoint(2000000000, 0) << 2147483647;
}

void TestViewGeometry::distance()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, expected);
    QCOMPARE(ViewGeometry::distance(from, to), expected);
}

void TestViewGeometry::fittedOuterSize_data()
{
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("expected");

    // Frame: 8 at the sides and bottom, 50 above (caption bar and menu bar).
    QTest::newRow("view 100x10") << QSize(100, 10) << QPoint(0, 0) << QSize(310, 42 + 58);
    QTest::newRow("view 310x200") << QSize(310, 200) << QPoint(0, 0) << QSize(310, 232 + 58);
    QTest::newRow("view 311x200") << QSize(311, 200) << QPoint(0, 0) << QSize(311 + 16, 232 + 58);
    QTest::newRow("view 0x0") << QSize(0, 0) << QPoint(0, 0) << QSize(310, 32 + 58);
    QTest::newRow("view 1000x500 at 100,100")
        << QSize(1000, 500) << QPoint(100, 100) << QSize(1016, 590);
    QTest::newRow("view 1000x500 at 1000,100, right edge cut")
        << QSize(1000, 500) << QPoint(1000, 100) << QSize(920, 590);
    QTest::newRow("view 200x500 at 1700,100, narrow but cut")
        << QSize(200, 500) << QPoint(1700, 100) << QSize(220, 590);
    QTest::newRow("view 1000x2000 at 100,100, bottom cut")
        << QSize(1000, 2000) << QPoint(100, 100) << QSize(1016, 980);
    QTest::newRow("view 1904x990 at 0,0, exactly the screen")
        << QSize(1904, 990) << QPoint(0, 0) << QSize(1920, 1080);
    QTest::newRow("view 3000x500 at -1000,0, left of the screen")
        << QSize(3000, 500) << QPoint(-1000, 0) << QSize(2920, 590);
    QTest::newRow("view 400x300 at 2000,1200, past the screen")
        << QSize(400, 300) << QPoint(2000, 1200) << QSize(416, 390);
    QTest::newRow("view 2147483647 square at 0,0")
        << QSize(2147483647, 2147483647) << QPoint(0, 0) << QSize(1920, 1080);
}

void TestViewGeometry::fittedOuterSize()
{
    QFETCH(QSize, view);
    QFETCH(QPoint, position);
    QFETCH(QSize, expected);
    QCOMPARE(ViewGeometry::fittedOuterSize(view, 32, position, QMargins(8, 50, 8, 8),
                                           QSize(1920, 1080)),
             expected);
}

void TestViewGeometry::pictureRectOf_data()
{
    QTest::addColumn<QRect>("viewRect");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QRectF>("expected");

    QTest::newRow("10,20 30x40 zoom 0")
        << QRect(10, 20, 30, 40) << 0.0f << QRectF(10, 20, 30, 40);
    QTest::newRow("10,20 30x40 zoom 1")
        << QRect(10, 20, 30, 40) << 1.0f << QRectF(5, 10, 15, 20);
    QTest::newRow("10,20 30x40 zoom -1")
        << QRect(10, 20, 30, 40) << -1.0f << QRectF(20, 40, 60, 80);
    QTest::newRow("0,0 3x3 zoom 2") << QRect(0, 0, 3, 3) << 2.0f << QRectF(0, 0, 0.75, 0.75);
    QTest::newRow("-4,-8 4x8 zoom 1") << QRect(-4, -8, 4, 8) << 1.0f << QRectF(-2, -4, 2, 4);
}

void TestViewGeometry::pictureRectOf()
{
    QFETCH(QRect, viewRect);
    QFETCH(float, zoom);
    QFETCH(QRectF, expected);
    QCOMPARE(ViewGeometry::pictureRectOf(viewRect, scale(zoom)), expected);
}

void TestViewGeometry::anchored_data()
{
    QTest::addColumn<QRect>("design");
    QTest::addColumn<int>("anchors");
    QTest::addColumn<QSize>("parent");
    QTest::addColumn<QRect>("expected");

    const int left = Qt::LeftEdge;
    const int top = Qt::TopEdge;
    const int right = Qt::RightEdge;
    const int bottom = Qt::BottomEdge;

    // The link dialog's controls, designed in a 229x133 client area.
    QTest::newRow("left top, grown")
        << QRect(0, 8, 98, 15) << (left | top) << QSize(329, 183) << QRect(0, 8, 98, 15);
    QTest::newRow("left top right, grown")
        << QRect(8, 24, 161, 23) << (left | top | right) << QSize(329, 183)
        << QRect(8, 24, 261, 23);
    QTest::newRow("left top right, shrunk")
        << QRect(8, 24, 161, 23) << (left | top | right) << QSize(200, 100)
        << QRect(8, 24, 132, 23);
    QTest::newRow("left top right, shrunk past its width")
        << QRect(8, 24, 161, 23) << (left | top | right) << QSize(20, 133)
        << QRect(8, 24, 0, 23);
    QTest::newRow("top right, grown")
        << QRect(168, 24, 57, 25) << (top | right) << QSize(329, 183) << QRect(268, 24, 57, 25);
    QTest::newRow("right bottom, grown")
        << QRect(8, 104, 97, 25) << (right | bottom) << QSize(329, 183)
        << QRect(108, 154, 97, 25);
    QTest::newRow("right bottom, shrunk")
        << QRect(124, 104, 97, 25) << (right | bottom) << QSize(200, 120)
        << QRect(95, 91, 97, 25);
    QTest::newRow("left top bottom, grown")
        << QRect(8, 24, 100, 50) << (left | top | bottom) << QSize(329, 183)
        << QRect(8, 24, 100, 100);
    QTest::newRow("all four, grown")
        << QRect(8, 24, 100, 50) << (left | top | right | bottom) << QSize(329, 183)
        << QRect(8, 24, 200, 100);
    QTest::newRow("none, grown")
        << QRect(8, 24, 100, 50) << 0 << QSize(329, 183) << QRect(8, 24, 100, 50);
    QTest::newRow("left top right, same size")
        << QRect(8, 24, 161, 23) << (left | top | right) << QSize(229, 133)
        << QRect(8, 24, 161, 23);
}

void TestViewGeometry::anchored()
{
    QFETCH(QRect, design);
    QFETCH(int, anchors);
    QFETCH(QSize, parent);
    QFETCH(QRect, expected);
    QCOMPARE(ViewGeometry::anchored(design, QSize(229, 133), parent, Qt::Edges(anchors)),
             expected);
}

QTEST_GUILESS_MAIN(TestViewGeometry)
#include "tst_viewgeometry.moc"
