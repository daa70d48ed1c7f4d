#include "MainForm.h"
#include "MenuItem.h"
#include "PictureView.h"
#include "ShapeBand.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <cmath>
#include <functional>

using namespace TestSupport;

namespace {

// The program with a picture open and a shape tool chosen. Input goes in through
// the main window's QWindow, as the window system delivers it: to the widget under
// the pointer, with double clicks made by the platform from two presses.
class Board
{
public:
    explicit Board(const QString &shape, const QSize &pictureSize = QSize(500, 400))
    {
        m_program.start();
        main()->move(0, 0); // the whole view on the screen
        const QString photo
                = writePicture(m_program.folder(), QStringLiteral("photo.png"), pictureSize);
        acceptModal();
        main()->OpenImage(photo);
        if (shape == QLatin1String("circle"))
            main()->mnSCircle->trigger();
        else if (shape == QLatin1String("poly"))
            main()->mnSPoly->trigger();
        QApplication::processEvents();
    }

    TfmMain *main() const { return m_program.main(); }
    PictureView *graph() const { return main()->Graph; }
    Program &program() { return m_program; }

    QPoint inWindow(const QPoint &viewPoint) const { return graph()->mapTo(main(), viewPoint); }

    // Steps separated by blanks. "L50,40" a left click at view (50,40), "M" middle,
    // "R" right; "L+" press only, "L-" release only; "LL" a double click; "m50,40"
    // a move (dragging while a button is held); "in", "out" the zoom commands.
    void run(const QString &script)
    {
        QWindow *window = main()->windowHandle();
        for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step == QLatin1String("in")) {
                main()->mnBig->trigger();
                continue;
            }
            if (step == QLatin1String("out")) {
                main()->mnSmall->trigger();
                continue;
            }
            int digits = 0;
            while (digits < step.size() && !step.at(digits).isDigit())
                ++digits;
            const QString action = step.left(digits);
            const QStringList xy = step.mid(digits).split(QLatin1Char(','));
            QVERIFY2(xy.size() == 2, qPrintable(step));
            const QPoint at = inWindow(QPoint(xy.at(0).toInt(), xy.at(1).toInt()));
            const QChar b = action.at(0);
            const Qt::MouseButton button = b == QLatin1Char('L') ? Qt::LeftButton
                    : b == QLatin1Char('M')                      ? Qt::MiddleButton
                                                                 : Qt::RightButton;
            if (action == QLatin1String("m"))
                QTest::mouseMove(window, at);
            else if (action.size() == 1)
                QTest::mouseClick(window, button, {}, at);
            else if (action.at(1) == QLatin1Char('+'))
                QTest::mousePress(window, button, {}, at);
            else if (action.at(1) == QLatin1Char('-'))
                QTest::mouseRelease(window, button, {}, at);
            else
                QTest::mouseDClick(window, button, {}, at);
        }
        QApplication::processEvents();
    }

    // The area lines filed so far: the document without its first two and last line.
    QStringList filed() const
    {
        QStringList lines = fmTag->TagList->toPlainText().split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines.size() < 3 ? QStringList() : lines.mid(2, lines.size() - 3);
    }

    // The main window as the screen shows it now.
    QImage screen() const
    {
        QApplication::processEvents();
        return main()->screen()->grabWindow(main()->winId()).toImage();
    }

    // The part of the view that the scroll box shows, in view coordinates.
    QRect shownView() const { return graph()->visibleRegion().boundingRect(); }

private:
    Program m_program;
};

// Answers the link dialogs that an action should open with links a1, a2, ...; a
// dialog beyond those is cancelled and counted.
class LinkAnswers
{
public:
    explicit LinkAnswers(int expected)
    {
        for (int n = 1; n <= expected; ++n)
            answerLink(QStringLiteral("a%1").arg(n), QString());
        for (int n = 0; n < Spare; ++n)
            answerModal([count = m_unexpected](QDialog *dialog) {
                ++*count;
                dialog->reject();
            });
    }
    ~LinkAnswers() { dropPendingAnswers(); }

    // Expected dialogs not shown (negative: more were shown than expected).
    int missing() const { return pendingAnswers() - Spare + *m_unexpected; }
    int unexpected() const { return *m_unexpected; }

private:
    static constexpr int Spare = 3;
    std::shared_ptr<int> m_unexpected = std::make_shared<int>(0);
};

QString head(const QString &shape, const QString &coords)
{
    return QStringLiteral("  <area shape=\"%1\" coords=\"%2").arg(shape, coords);
}

QString line(const QString &shape, const QString &coords, int link)
{
    return head(shape, coords) + QStringLiteral("\" href=\"a%1\">").arg(link);
}

QRgb rgb(QRgb pixel)
{
    return pixel & 0xffffff;
}

QRgb negative(QRgb pixel)
{
    return ~pixel & 0xffffff;
}

// The largest difference of the three channels.
int levels(QRgb a, QRgb b)
{
    return qMax(
            qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

// Compares the shown view with a reference taken before: pixels `inside` must be
// the reference's negative, pixels `outside` the reference itself, and the rest
// (a shape's rim) one of the two, each within `tolerance` levels. Returns the
// first difference, or "".
QString compareView(const Board &board, const QImage &reference, const QImage &shown,
        const std::function<bool(QPoint)> &inside, const std::function<bool(QPoint)> &outside,
        int tolerance = 0)
{
    const QRect area = board.shownView();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint v(x, y);
            const QPoint w = board.inWindow(v);
            const QRgb before = rgb(reference.pixel(w));
            const QRgb now = rgb(shown.pixel(w));
            const bool same = levels(now, before) <= tolerance;
            const bool inverted = levels(now, negative(before)) <= tolerance;
            const bool ok = inside(v) ? inverted : outside(v) ? same : same || inverted;
            if (!ok)
                return QStringLiteral("view %1,%2: was %3, shows %4")
                        .arg(x)
                        .arg(y)
                        .arg(before, 6, 16, QLatin1Char('0'))
                        .arg(now, 6, 16, QLatin1Char('0'));
        }
    }
    return QString();
}

} // namespace

// The press and move handlers, one state-table row at a time.
class tst_Drawing : public QObject
{
    Q_OBJECT
private slots:
    void gestures_data();
    void gestures();
    void bandIsNegative_data();
    void bandIsNegative();
    void polygonLines_data();
    void polygonLines();
};

void tst_Drawing::gestures_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("filed");
    QTest::addColumn<QString>("pending");
    QTest::addColumn<QRect>("band"); // where theShape is shown, or `hidden`
    QTest::addColumn<QPoint>("anchor");

    const QString rect = QStringLiteral("rect");
    const QString circle = QStringLiteral("circle");
    const QString poly = QStringLiteral("poly");
    const QRect hidden(-100, -100, 0, 0);

    // Rectangles.
    QTest::newRow("rect 50,40 then 10,60")
            << rect << "L50,40 m10,60 L10,60" << QStringList { line(rect, "10,40 50,60", 1) }
            << QString() << QRect(10, 40, 40, 20) << QPoint(10, 60);
    QTest::newRow("rect 30,90 then 80,20")
            << rect << "L30,90 m80,20 L80,20" << QStringList { line(rect, "30,20 80,90", 1) }
            << QString() << QRect(30, 20, 50, 70) << QPoint(80, 20);
    QTest::newRow("rect same point twice")
            << rect << "L30,30 L30,30" << QStringList { line(rect, "30,30 30,30", 1) } << QString()
            << QRect(30, 30, 0, 0) << QPoint(30, 30);
    QTest::newRow("rect middle presses")
            << rect << "M50,40 m10,60 M10,60" << QStringList { line(rect, "10,40 50,60", 1) }
            << QString() << QRect(10, 40, 40, 20) << QPoint(10, 60);
    // The pointer goes to a press before it is pressed; the band follows it there.
    QTest::newRow("rect middle then left")
            << rect << "M50,40 L10,60" << QStringList { line(rect, "10,40 50,60", 1) } << QString()
            << QRect(10, 40, 40, 20) << QPoint(10, 60);
    QTest::newRow("rect moves and presses over the band")
            << rect << "L100,100 m40,40 L50,50" << QStringList { line(rect, "50,50 100,100", 1) }
            << QString() << QRect(50, 50, 50, 50) << QPoint(50, 50);
    QTest::newRow("rect zoom +1 view 101,51")
            << rect << "in in L101,51 L201,151" << QStringList { line(rect, "50,25 100,75", 1) }
            << QString() << QRect(101, 51, 100, 100) << QPoint(201, 151);
    QTest::newRow("rect zoom +0.5 view 100,100")
            << rect << "in L100,100 L10,10" << QStringList { line(rect, "7,7 70,70", 1) }
            << QString() << QRect(10, 10, 90, 90) << QPoint(10, 10);
    QTest::newRow("rect zoom -1 view 20,30")
            << rect << "out out L20,30 L40,50" << QStringList { line(rect, "40,60 80,100", 1) }
            << QString() << QRect(20, 30, 20, 20) << QPoint(40, 50);
    QTest::newRow("rect release after first press")
            << rect << "L+50,40 L-50,40 m70,70" << QStringList() << head(rect, "50,40")
            << QRect(50, 40, 20, 30) << QPoint(50, 40);
    QTest::newRow("rect dragged with the button held")
            << rect << "L+10,10 m40,30 L-40,30" << QStringList() << head(rect, "10,10")
            << QRect(10, 10, 30, 20) << QPoint(10, 10);
    QTest::newRow("rect moves while idle")
            << rect << "m50,50 m60,70" << QStringList() << QString() << hidden << QPoint(0, 0);
    QTest::newRow("rect right press cancels") << rect << "L10,10 m40,30 R40,30" << QStringList()
                                              << QString() << hidden << QPoint(40, 30);
    QTest::newRow("rect right press idle hides the finished band")
            << rect << "L10,10 m40,30 L40,30 R80,80" << QStringList { line(rect, "10,10 40,30", 1) }
            << QString() << hidden << QPoint(80, 80);
    QTest::newRow("rect press after a finished one starts anew")
            << rect << "L10,10 L40,30 L60,70 m90,80" << QStringList { line(rect, "10,10 40,30", 1) }
            << head(rect, "60,70") << QRect(60, 70, 30, 10) << QPoint(60, 70);
    QTest::newRow("rect zoom in during the area")
            << rect << "L100,100 m150,150 in m160,160 L141,141"
            << QStringList { line(rect, "99,99 100,100", 1) } << QString() << hidden
            << QPoint(141, 141);
    QTest::newRow("rect zoom out during the area")
            << rect << "L100,100 m150,150 out m40,40" << QStringList() << head(rect, "100,100")
            << hidden << QPoint(100, 100);

    // Circles.
    QTest::newRow("circle 100,100 to 103,104")
            << circle << "L100,100 m103,104 L103,104"
            << QStringList { line(circle, "100,100 5", 1) } << QString() << QRect(95, 95, 10, 10)
            << QPoint(103, 104);
    QTest::newRow("circle 100,100 to 105,104")
            << circle << "L100,100 m105,104 L105,104"
            << QStringList { line(circle, "100,100 6", 1) } << QString() << QRect(94, 94, 12, 12)
            << QPoint(105, 104);
    QTest::newRow("circle zoom +1 100,100 to 105,104")
            << circle << "in in L100,100 L105,104" << QStringList { line(circle, "50,50 3", 1) }
            << QString() << QRect(94, 94, 12, 12) << QPoint(105, 104);
    QTest::newRow("circle middle presses")
            << circle << "M100,100 m105,104 M105,104"
            << QStringList { line(circle, "100,100 6", 1) } << QString() << QRect(94, 94, 12, 12)
            << QPoint(105, 104);
    QTest::newRow("circle right press cancels")
            << circle << "L100,100 m120,100 R120,100" << QStringList() << QString() << hidden
            << QPoint(120, 100);
    QTest::newRow("circle zoom in twice during the area")
            << circle << "L100,100 m110,100 in in L210,200"
            << QStringList { line(circle, "100,100 5", 1) } << QString() << hidden
            << QPoint(210, 200);

    // Polygons.
    QTest::newRow("poly closed 6,6 from the first vertex")
            << poly << "L300,50 m400,60 L400,60 m350,140 L350,140 m306,56 L306,56"
            << QStringList { line(poly, "300,50 400,60 350,140", 1) } << QString() << hidden
            << QPoint(306, 56);
    QTest::newRow("poly 9 right of the first vertex")
            << poly << "L300,50 L309,50" << QStringList() << head(poly, "300,50 309,50") << hidden
            << QPoint(309, 50);
    QTest::newRow("poly closed as the second press")
            << poly << "L300,50 L305,50" << QStringList { line(poly, "300,50", 1) } << QString()
            << hidden << QPoint(305, 50);
    QTest::newRow("poly zoom +1 closed 6,6") << poly << "in in L100,100 L200,100 L106,106"
                                             << QStringList { line(poly, "50,50 100,50", 1) }
                                             << QString() << hidden << QPoint(106, 106);
    QTest::newRow("poly zoom +1 9 right")
            << poly << "in in L100,100 L109,100" << QStringList() << head(poly, "50,50 54,50")
            << hidden << QPoint(109, 100);
    QTest::newRow("poly middle presses")
            << poly << "M300,50 M400,60 M303,52" << QStringList { line(poly, "300,50 400,60", 1) }
            << QString() << hidden << QPoint(303, 52);
    QTest::newRow("poly right press cancels") << poly << "L300,50 L400,60 R10,10" << QStringList()
                                              << QString() << hidden << QPoint(10, 10);
    QTest::newRow("poly zoom in twice during the area, closed")
            << poly << "L100,100 L200,100 in in L205,205"
            << QStringList { line(poly, "100,100 200,100", 1) } << QString() << hidden
            << QPoint(205, 205);

    // Double clicks: the left one completes in between its two presses.
    QTest::newRow("rect idle double click 12,34")
            << rect << "LL12,34" << QStringList { line(rect, "12,34", 1) } << head(rect, "12,34")
            << QRect(12, 34, 0, 0) << QPoint(12, 34);
    QTest::newRow("circle idle double click 12,34")
            << circle << "LL12,34" << QStringList { line(circle, "12,34", 1) }
            << head(circle, "12,34") << QRect(12, 34, 0, 0) << QPoint(12, 34);
    QTest::newRow("poly idle double click 12,34")
            << poly << "LL12,34" << QStringList { line(poly, "12,34", 1) } << head(poly, "12,34")
            << hidden << QPoint(12, 34);
    QTest::newRow("poly double click at a new vertex")
            << poly << "L300,50 L400,60 m350,140 LL350,140"
            << QStringList { line(poly, "300,50 400,60 350,140", 1) } << head(poly, "350,140")
            << hidden << QPoint(350, 140);
    QTest::newRow("poly double click beside the first vertex")
            << poly << "L300,50 L400,60 LL303,52" << QStringList { line(poly, "300,50 400,60", 1) }
            << head(poly, "303,52") << hidden << QPoint(303, 52);
    QTest::newRow("rect double click as the second corner")
            << rect << "L10,10 m40,30 LL40,30" << QStringList { line(rect, "10,10 40,30", 1) }
            << head(rect, "40,30") << QRect(40, 30, 0, 0) << QPoint(40, 30);
    QTest::newRow("rect middle double click idle")
            << rect << "MM12,34" << QStringList { line(rect, "12,34 12,34", 1) } << QString()
            << QRect(12, 34, 0, 0) << QPoint(12, 34);
    QTest::newRow("rect right double click during the area")
            << rect << "L10,10 m40,30 RR40,30" << QStringList() << QString() << hidden
            << QPoint(40, 30);
    QTest::newRow("poly middle double click")
            << poly << "L300,50 MM400,60" << QStringList() << head(poly, "300,50 400,60 400,60")
            << hidden << QPoint(400, 60);
}

void tst_Drawing::gestures()
{
    QFETCH(QString, shape);
    QFETCH(QString, script);
    QFETCH(QStringList, filed);
    QFETCH(QString, pending);
    QFETCH(QRect, band);
    QFETCH(QPoint, anchor);

    Board board(shape);
    QCOMPARE(pendingAnswers(), 0);
    LinkAnswers links(int(filed.size()));
    board.run(script);

    QCOMPARE(links.unexpected(), 0);
    QCOMPARE(links.missing(), 0);
    QCOMPARE(board.filed(), filed);
    QCOMPARE(board.main()->pendingArea, pending);
    ShapeBand *shown = board.main()->theShape;
    QCOMPARE(shown->isVisible(), band != QRect(-100, -100, 0, 0));
    if (shown->isVisible())
        QCOMPARE(shown->geometry(), band);
    QCOMPARE(board.main()->anchorPoint, anchor);
    QCOMPARE(board.main()->lineEndPoint, anchor);
    QVERIFY(board.program().errors().texts().isEmpty());
}

// theShape shows the part of the picture it covers as a negative, every pixel
// inverted exactly once, wherever the view is scrolled or however it is zoomed.
void tst_Drawing::bandIsNegative_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QString>("moves");
    QTest::addColumn<QPoint>("pointer");

    const QString rect = QStringLiteral("rect");
    const QString circle = QStringLiteral("circle");
    const QString unzoomed;
    const QSize small(500, 400);
    const QSize large(1400, 1200);
    QTest::newRow("rect 60,50 to 220,170 crossing over")
            << rect << unzoomed << small << QPoint() << QPoint(60, 50)
            << "m300,250 m20,10 m100,200 m250,180" << QPoint(220, 170);
    QTest::newRow("rect right-to-left") << rect << unzoomed << small << QPoint() << QPoint(300, 200)
                                        << "m350,260" << QPoint(120, 90);
    QTest::newRow("circle 200,160 through 260,200")
            << circle << unzoomed << small << QPoint() << QPoint(200, 160) << "m330,160 m210,165"
            << QPoint(260, 200);
    QTest::newRow("rect zoom +0.5") << rect << "in" << small << QPoint() << QPoint(80, 70)
                                    << "m300,300" << QPoint(230, 190);
    QTest::newRow("circle zoom -0.5") << circle << "out" << small << QPoint() << QPoint(150, 130)
                                      << "m200,200" << QPoint(180, 170);
    QTest::newRow("rect scrolled 500,400") << rect << unzoomed << large << QPoint(500, 400)
                                           << QPoint(560, 450) << "m900,800" << QPoint(740, 610);
    QTest::newRow("circle scrolled 300,0") << circle << unzoomed << large << QPoint(300, 0)
                                           << QPoint(500, 200) << "m520,210" << QPoint(560, 250);
}

void tst_Drawing::bandIsNegative()
{
    QFETCH(QString, shape);
    QFETCH(QString, zoom);
    QFETCH(QSize, picture);
    QFETCH(QPoint, scroll);
    QFETCH(QPoint, press);
    QFETCH(QString, moves);
    QFETCH(QPoint, pointer);

    Board board(shape, picture);
    board.run(zoom);
    board.main()->ScrollBox1->horizontalScrollBar()->setValue(scroll.x());
    board.main()->ScrollBox1->verticalScrollBar()->setValue(scroll.y());
    QCOMPARE(-board.graph()->pos(), scroll);
    QVERIFY(board.shownView().contains(press));
    QVERIFY(board.shownView().contains(pointer));

    const QImage before = board.screen();
    const auto at = [](const QPoint &p) { return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()); };
    board.run(QStringLiteral("L%1 %2 m%3").arg(at(press), moves, at(pointer)));
    const QImage shown = board.screen();
    // A stretched view is smoothed span by span, so a partial repaint may differ
    // from the full one by a level; the negative is still unmistakable.
    const int tolerance = zoom.isEmpty() ? 0 : 1;

    if (shape == QLatin1String("rect")) {
        const QRect area(qMin(press.x(), pointer.x()), qMin(press.y(), pointer.y()),
                qAbs(pointer.x() - press.x()), qAbs(pointer.y() - press.y()));
        const auto inside = [&](QPoint v) { return area.contains(v); };
        const auto outside = [&](QPoint v) { return !area.contains(v); };
        QCOMPARE(compareView(board, before, shown, inside, outside, tolerance), QString());
    } else {
        const QPointF centre(press);
        const QPointF rim(pointer);
        const double r = std::trunc(std::hypot(rim.x() - centre.x(), rim.y() - centre.y()));
        const auto from = [&](QPoint v) {
            return std::hypot(v.x() + 0.5 - centre.x(), v.y() + 0.5 - centre.y());
        };
        const auto inside = [&](QPoint v) { return from(v) < r - 1; };
        const auto outside = [&](QPoint v) { return from(v) > r + 1; };
        QCOMPARE(compareView(board, before, shown, inside, outside, tolerance), QString());
    }

    // The right press takes the band away and the picture is whole again.
    board.run(QStringLiteral("R%1").arg(at(pointer)));
    const auto none = [](QPoint) { return false; };
    const auto all = [](QPoint) { return true; };
    QCOMPARE(compareView(board, before, board.screen(), none, all, tolerance), QString());
}

// The polygon's rubber line inverts the pixels it covers; a vertex keeps the edge
// that led to it; every redraw of the view wipes them all.
void tst_Drawing::polygonLines_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("links");
    QTest::addColumn<QString>("pending");

    QTest::newRow("right press") << "R400,300" << 0 << QString();
    QTest::newRow("closing press") << "L52,53" << 1 << QString();
    QTest::newRow("zoom in and out") << "in out" << 0 << head("poly", "50,50 50,150");
}

void tst_Drawing::polygonLines()
{
    QFETCH(QString, ending);
    QFETCH(int, links);
    QFETCH(QString, pending);

    Board board(QStringLiteral("poly"));
    const QImage before = board.screen();
    const auto rowOf = [](int y, int x0, int x1) {
        return [=](QPoint v) { return v.y() == y && v.x() >= x0 && v.x() <= x1; };
    };
    const auto columnOf = [](int x, int y0, int y1) {
        return [=](QPoint v) { return v.x() == x && v.y() >= y0 && v.y() <= y1; };
    };
    // Away from the lines and their ends nothing may change.
    const auto awayFrom = [](std::initializer_list<QLine> lines) {
        const QVector<QLine> kept(lines);
        return [kept](QPoint v) {
            for (const QLine &l : kept) {
                const QRect near = QRect(l.p1(), l.p2()).normalized().adjusted(-2, -2, 2, 2);
                if (near.contains(v))
                    return false;
            }
            return true;
        };
    };

    LinkAnswers answers(links);
    board.run(QStringLiteral("L50,50 m150,50"));
    QCOMPARE(compareView(board, before, board.screen(), rowOf(50, 53, 147),
                     awayFrom({ QLine(50, 50, 150, 50) })),
            QString());

    // The next move takes the first rubber line back.
    board.run(QStringLiteral("m50,150"));
    QCOMPARE(compareView(board, before, board.screen(), columnOf(50, 53, 147),
                     awayFrom({ QLine(50, 50, 50, 150) })),
            QString());

    // A vertex: the edge to it stays while the line from it follows the pointer.
    board.run(QStringLiteral("L50,150 m150,150 m200,150"));
    const auto edges = [&](QPoint v) { return columnOf(50, 53, 147)(v) || rowOf(150, 53, 197)(v); };
    QCOMPARE(compareView(board, before, board.screen(), edges,
                     awayFrom({ QLine(50, 50, 50, 150), QLine(50, 150, 200, 150) })),
            QString());

    board.run(ending);
    QCOMPARE(answers.unexpected(), 0);
    QCOMPARE(answers.missing(), 0);
    QCOMPARE(board.main()->pendingArea, pending);
    const auto none = [](QPoint) { return false; };
    const auto all = [](QPoint) { return true; };
    QCOMPARE(compareView(board, before, board.screen(), none, all), QString());
}

QTEST_MAIN(tst_Drawing)
#include "tst_drawing.moc"
