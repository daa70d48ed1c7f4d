#include "MapMarkup.h"

#include <QtTest>

using MapMarkup::LetterCase;

class TestMapMarkup : public QObject
{
    Q_OBJECT

private slots:
    void workedExample_data();
    void workedExample();
    void frameLines_data();
    void frameLines();
    void areaHeads_data();
    void areaHeads();
    void linkTail_data();
    void linkTail();
    void asciiUpper_data();
    void asciiUpper();
    void areaInsertion_data();
    void areaInsertion();
    void clipboardBreaks_data();
    void clipboardBreaks();
};

// photo.jpg, 640 by 480, map name photo; four areas completed in this order.
void TestMapMarkup::workedExample_data()
{
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<QString>("expected");

    QTest::newRow("small letters")
            << LetterCase::Small
            << QStringLiteral(
                       "<img src=\"photo.jpg\" usemap=\"#photo\" width=640 height=480 border=0>\n"
                       "<map name=\"photo\">\n"
                       "  <area shape=\"rect\" coords=\"10,20 110,90\" href=\"index.html\" "
                       "target=\"_blank\">\n"
                       "  <area shape=\"circle\" coords=\"200,150 40\" href=\"about.html\">\n"
                       "  <area shape=\"poly\" coords=\"300,50 400,60 350,140\" href=\"map.html\" "
                       "target=\"_top\">\n"
                       "  <area shape=\"rect\" coords=\"0,0 640,480\" href=\"other.html\">\n"
                       "</map>\n");
    QTest::newRow("capital letters")
            << LetterCase::Capital
            << QStringLiteral(
                       "<IMG SRC=\"photo.jpg\" USEMAP=\"#PHOTO\" WIDTH=640 HEIGHT=480 BORDER=0>\n"
                       "<MAP NAME=\"PHOTO\">\n"
                       "  <AREA SHAPE=\"RECT\" COORDS=\"10,20 110,90\" HREF=\"index.html\" "
                       "TARGET=\"_blank\">\n"
                       "  <AREA SHAPE=\"CIRCLE\" COORDS=\"200,150 40\" HREF=\"about.html\">\n"
                       "  <AREA SHAPE=\"POLY\" COORDS=\"300,50 400,60 350,140\" HREF=\"map.html\" "
                       "TARGET=\"_top\">\n"
                       "  <AREA SHAPE=\"RECT\" COORDS=\"0,0 640,480\" HREF=\"other.html\">\n"
                       "</MAP>\n");
}

void TestMapMarkup::workedExample()
{
    QFETCH(LetterCase, letterCase);
    QFETCH(QString, expected);

    using namespace MapMarkup;
    QString document = imageLine(QStringLiteral("photo.jpg"), QStringLiteral("photo"), 640, 480,
                                 letterCase)
            + QLatin1Char('\n') + mapLine(QStringLiteral("photo"), letterCase) + QLatin1Char('\n')
            + closingLine(letterCase) + QLatin1Char('\n');

    // The rect was pressed first at its bottom-right corner.
    const QString rect = rectHead(QStringLiteral("rect"), 110, 90, 10, 20);
    const QString circle = withRadius(areaHead(QStringLiteral("circle"), 200, 150), 40);
    const QString poly = withVertex(withVertex(areaHead(QStringLiteral("poly"), 300, 50), 400, 60),
                                    350, 140);
    document = insertAreaLine(document, withLinkTail(rect, QStringLiteral("index.html"),
                                                     QStringLiteral("_blank"), letterCase));
    document = insertAreaLine(document, withLinkTail(circle, QStringLiteral("about.html"),
                                                     QString(), letterCase));
    document = insertAreaLine(document, withLinkTail(poly, QStringLiteral("map.html"),
                                                     QStringLiteral("_top"), letterCase));
    document = insertAreaLine(document, withLinkTail(defaultAreaHead(640, 480),
                                                     QStringLiteral("other.html"), QString(),
                                                     letterCase));

    QCOMPARE(document, expected);
    QCOMPARE(lineCount(document), 7);
    // The clipboard gets the same document with CR LF breaks.
    QCOMPARE(withCrLf(document), QString(expected).replace(QStringLiteral("\n"),
                                                            QStringLiteral("\r\n")));
}

void TestMapMarkup::frameLines_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("mapName");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("closing");

    QTest::newRow("Photo.JPG small")
            << QStringLiteral("Photo.JPG") << QStringLiteral("Photo") << 1 << 2 << LetterCase::Small
            << QStringLiteral("<img src=\"Photo.JPG\" usemap=\"#Photo\" width=1 height=2 border=0>")
            << QStringLiteral("<map name=\"Photo\">") << QStringLiteral("</map>");
    QTest::newRow("Photo.JPG capital")
            << QStringLiteral("Photo.JPG") << QStringLiteral("Photo") << 1 << 2
            << LetterCase::Capital
            << QStringLiteral("<IMG SRC=\"Photo.JPG\" USEMAP=\"#PHOTO\" WIDTH=1 HEIGHT=2 BORDER=0>")
            << QStringLiteral("<MAP NAME=\"PHOTO\">") << QStringLiteral("</MAP>");
    QTest::newRow("japanese map name capital")
            << QStringLiteral("地図.png") << QStringLiteral("地図map") << 1024 << 768
            << LetterCase::Capital
            << QStringLiteral("<IMG SRC=\"地図.png\" USEMAP=\"#地図MAP\" WIDTH=1024 HEIGHT=768 "
                              "BORDER=0>")
            << QStringLiteral("<MAP NAME=\"地図MAP\">") << QStringLiteral("</MAP>");
    QTest::newRow("quotes and ampersand unescaped")
            << QStringLiteral("a \"b\"&c.gif") << QStringLiteral("<m>&\"n\"") << 0 << 0
            << LetterCase::Small
            << QStringLiteral("<img src=\"a \"b\"&c.gif\" usemap=\"#<m>&\"n\"\" width=0 height=0 "
                              "border=0>")
            << QStringLiteral("<map name=\"<m>&\"n\"\">") << QStringLiteral("</map>");
}

void TestMapMarkup::frameLines()
{
    QFETCH(QString, fileName);
    QFETCH(QString, mapName);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(LetterCase, letterCase);

    QTEST(MapMarkup::imageLine(fileName, mapName, width, height, letterCase), "image");
    QTEST(MapMarkup::mapLine(mapName, letterCase), "map");
    QTEST(MapMarkup::closingLine(letterCase), "closing");
}

void TestMapMarkup::areaHeads_data()
{
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("expected");

    using namespace MapMarkup;
    const QString rect = QStringLiteral("rect");
    QTest::newRow("rect right-to-left")
            << rectHead(rect, 50, 40, 10, 60)
            << QStringLiteral("  <area shape=\"rect\" coords=\"10,40 50,60");
    QTest::newRow("rect bottom-to-top")
            << rectHead(rect, 10, 90, 110, 20)
            << QStringLiteral("  <area shape=\"rect\" coords=\"10,20 110,90");
    QTest::newRow("rect equal corners")
            << rectHead(rect, 7, 8, 7, 8)
            << QStringLiteral("  <area shape=\"rect\" coords=\"7,8 7,8");
    QTest::newRow("single point")
            << areaHead(rect, 12, 34) << QStringLiteral("  <area shape=\"rect\" coords=\"12,34");
    QTest::newRow("negative point")
            << areaHead(QStringLiteral("poly"), -3, 0)
            << QStringLiteral("  <area shape=\"poly\" coords=\"-3,0");
    QTest::newRow("circle radius 0")
            << withRadius(areaHead(QStringLiteral("circle"), 100, 100), 0)
            << QStringLiteral("  <area shape=\"circle\" coords=\"100,100 0");
    QTest::newRow("default area no picture")
            << defaultAreaHead(0, 0) << QStringLiteral("  <area shape=\"rect\" coords=\"0,0 0,0");
}

void TestMapMarkup::areaHeads()
{
    QFETCH(QString, head);
    QTEST(head, "expected");
}

void TestMapMarkup::linkTail_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("target");
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<QString>("expected");

    const QString head = QStringLiteral("  <area shape=\"circle\" coords=\"1,2 3");
    QTest::newRow("empty href")
            << QString() << QString() << LetterCase::Small
            << head + QStringLiteral("\" href=\"\">");
    QTest::newRow("target one space")
            << QStringLiteral("a.html") << QStringLiteral(" ") << LetterCase::Small
            << head + QStringLiteral("\" href=\"a.html\" target=\" \">");
    QTest::newRow("target one space capital")
            << QStringLiteral("a.html") << QStringLiteral(" ") << LetterCase::Capital
            << QStringLiteral("  <AREA SHAPE=\"CIRCLE\" COORDS=\"1,2 3\" HREF=\"a.html\" "
                              "TARGET=\" \">");
    QTest::newRow("href and target keep case capital")
            << QStringLiteral("Docs/Index.HTML") << QStringLiteral("_Top") << LetterCase::Capital
            << QStringLiteral("  <AREA SHAPE=\"CIRCLE\" COORDS=\"1,2 3\" HREF=\"Docs/Index.HTML\" "
                              "TARGET=\"_Top\">");
    QTest::newRow("japanese href and target capital")
            << QStringLiteral("表示/ページ.html") << QStringLiteral("右枠") << LetterCase::Capital
            << QStringLiteral("  <AREA SHAPE=\"CIRCLE\" COORDS=\"1,2 3\" HREF=\"表示/ページ.html\" "
                              "TARGET=\"右枠\">");
    QTest::newRow("href quotes unescaped")
            << QStringLiteral("a\"b&c<d>") << QString() << LetterCase::Small
            << head + QStringLiteral("\" href=\"a\"b&c<d>\">");
}

void TestMapMarkup::linkTail()
{
    QFETCH(QString, href);
    QFETCH(QString, target);
    QFETCH(LetterCase, letterCase);

    QTEST(MapMarkup::withLinkTail(QStringLiteral("  <area shape=\"circle\" coords=\"1,2 3"), href,
                                  target, letterCase),
          "expected");
}

void TestMapMarkup::asciiUpper_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a to z") << QStringLiteral("abcxyz") << QStringLiteral("ABCXYZ");
    QTest::newRow("digits and punctuation")
            << QStringLiteral("0,9 \"#<>/=_`{") << QStringLiteral("0,9 \"#<>/=_`{");
    QTest::newRow("latin accents") << QStringLiteral("éßàz") << QStringLiteral("éßàZ");
    QTest::newRow("full-width letters") << QStringLiteral("ａｂc") << QStringLiteral("ａｂC");
    QTest::newRow("japanese") << QStringLiteral("地図のmap") << QStringLiteral("地図のMAP");
}

void TestMapMarkup::asciiUpper()
{
    QFETCH(QString, text);
    QTEST(MapMarkup::asciiUpper(text), "expected");
}

void TestMapMarkup::areaInsertion_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("expected");

    QTest::newRow("frame lines")
            << QStringLiteral("<img>\n<map>\n</map>\n") << 3
            << QStringLiteral("<img>\n<map>\nAREA\n</map>\n");
    QTest::newRow("frame lines crlf")
            << QStringLiteral("<img>\r\n<map>\r\n</map>\r\n") << 3
            << QStringLiteral("<img>\r\n<map>\r\nAREA\r\n</map>\r\n");
    QTest::newRow("closing line deleted")
            << QStringLiteral("<img>\n<map>\n") << 2 << QStringLiteral("<img>\nAREA\n<map>\n");
    QTest::newRow("empty line after closing")
            << QStringLiteral("<map>\n</map>\n\n") << 3
            << QStringLiteral("<map>\n</map>\nAREA\n\n");
    QTest::newRow("empty line after closing crlf")
            << QStringLiteral("<map>\r\n</map>\r\n\r\n") << 3
            << QStringLiteral("<map>\r\n</map>\r\nAREA\r\n\r\n");
    QTest::newRow("last line without break")
            << QStringLiteral("<map>\n</map>") << 2 << QStringLiteral("<map>\nAREA\n</map>");
    QTest::newRow("last line without break crlf")
            << QStringLiteral("<map>\r\n</map>") << 2
            << QStringLiteral("<map>\r\nAREA\r\n</map>");
    QTest::newRow("single line without break")
            << QStringLiteral("</map>") << 1 << QStringLiteral("AREA\n</map>");
    QTest::newRow("single break") << QStringLiteral("\n") << 1 << QStringLiteral("AREA\n\n");
    QTest::newRow("empty document") << QString() << 0 << QString();
}

void TestMapMarkup::areaInsertion()
{
    QFETCH(QString, document);
    QFETCH(int, lines);
    QFETCH(QString, expected);

    QCOMPARE(MapMarkup::lineCount(document), lines);
    const QString inserted = MapMarkup::insertAreaLine(document, QStringLiteral("AREA"));
    QCOMPARE(inserted, expected);
    QCOMPARE(MapMarkup::areaInsertPosition(document),
             lines == 0 ? -1 : int(inserted.indexOf(QStringLiteral("AREA"))));
    if (lines > 0)
        QCOMPARE(MapMarkup::lineCount(inserted), lines + 1);
}

void TestMapMarkup::clipboardBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lf") << QStringLiteral("a\nb\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("crlf kept") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("mixed") << QStringLiteral("a\r\nb\nc") << QStringLiteral("a\r\nb\r\nc");
    QTest::newRow("leading and double lf")
            << QStringLiteral("\n\nx") << QStringLiteral("\r\n\r\nx");
    QTest::newRow("lone cr stays") << QStringLiteral("a\rb") << QStringLiteral("a\rb");
    QTest::newRow("empty") << QString() << QString();
}

void TestMapMarkup::clipboardBreaks()
{
    QFETCH(QString, text);
    QTEST(MapMarkup::withCrLf(text), "expected");
}

QTEST_GUILESS_MAIN(TestMapMarkup)
#include "tst_mapmarkup.moc"
