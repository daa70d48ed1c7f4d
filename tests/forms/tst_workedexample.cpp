#include "MainForm.h"
#include "MenuItem.h"
#include "PictureView.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QtTest>

using namespace TestSupport;

// A whole map made the way a user makes it: open a picture, draw a rectangle, a
// circle and a polygon with the mouse, add the default area, copy the markup.
class tst_WorkedExample : public QObject
{
    Q_OBJECT
private slots:
    void wholeMap_data();
    void wholeMap();
};

void tst_WorkedExample::wholeMap_data()
{
    QTest::addColumn<bool>("capital");
    QTest::addColumn<QString>("expected");
    QTest::newRow("small letters")
            << false
            << QStringLiteral(
                       "<img src=\"photo.jpg\" usemap=\"#photo\" width=640 height=480 border=0>\r\n"
                       "<map name=\"photo\">\r\n"
                       "  <area shape=\"rect\" coords=\"10,20 110,90\" href=\"index.html\" target=\"_blank\">\r\n"
                       "  <area shape=\"circle\" coords=\"200,150 40\" href=\"about.html\">\r\n"
                       "  <area shape=\"poly\" coords=\"300,50 400,60 350,140\" href=\"map.html\" target=\"_top\">\r\n"
                       "  <area shape=\"rect\" coords=\"0,0 640,480\" href=\"other.html\">\r\n"
                       "</map>\r\n");
    QTest::newRow("capitals")
            << true
            << QStringLiteral(
                       "<IMG SRC=\"photo.jpg\" USEMAP=\"#PHOTO\" WIDTH=640 HEIGHT=480 BORDER=0>\r\n"
                       "<MAP NAME=\"PHOTO\">\r\n"
                       "  <AREA SHAPE=\"RECT\" COORDS=\"10,20 110,90\" HREF=\"index.html\" TARGET=\"_blank\">\r\n"
                       "  <AREA SHAPE=\"CIRCLE\" COORDS=\"200,150 40\" HREF=\"about.html\">\r\n"
                       "  <AREA SHAPE=\"POLY\" COORDS=\"300,50 400,60 350,140\" HREF=\"map.html\" TARGET=\"_top\">\r\n"
                       "  <AREA SHAPE=\"RECT\" COORDS=\"0,0 640,480\" HREF=\"other.html\">\r\n"
                       "</MAP>\r\n");
}

void tst_WorkedExample::wholeMap()
{
    QFETCH(bool, capital);
    QFETCH(QString, expected);

    Program program;
    program.start();
    TfmMain *main = program.main();
    const QString photo = writePicture(program.folder(), QStringLiteral("photo.jpg"), QSize(640, 480));
    if (capital)
        main->mnSmallLetter->trigger();

    acceptModal(); // the map name as offered
    main->OpenImage(photo);
    main->resize(900, 700);
    QApplication::processEvents();

    PictureView *graph = main->Graph;
    main->mnSRect->trigger();
    answerLink(QStringLiteral("index.html"), QStringLiteral("_blank"));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(110, 90));
    QTest::mouseMove(graph, QPoint(60, 50));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(10, 20));

    main->mnSCircle->trigger();
    answerLink(QStringLiteral("about.html"), QString());
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(240, 150));

    main->mnSPoly->trigger();
    answerLink(QStringLiteral("map.html"), QStringLiteral("_top"));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(300, 50));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(400, 60));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(350, 140));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(303, 52)); // close to the first vertex

    answerLink(QStringLiteral("other.html"), QString());
    main->mnSDefault->trigger();
    QCOMPARE(pendingAnswers(), 0);

    QApplication::clipboard()->clear();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), expected);
    QVERIFY(program.errors().texts().isEmpty());
}

QTEST_MAIN(tst_WorkedExample)
#include "tst_workedexample.moc"
