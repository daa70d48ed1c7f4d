#include "HrefForm.h"
#include "MainForm.h"
#include "MenuItem.h"
#include "PictureView.h"
#include "ShapeBand.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QtTest>

using namespace TestSupport;

namespace {

// What the link dialog was shown with, and how it was answered.
struct Showing
{
    QString caption;
    QString imagePath;
    bool linkDialog = false; // fmHref itself, modal over the main window
};

enum class Answer { Ok, Cancel, Close, Other };

} // namespace

Q_DECLARE_METATYPE(Answer)

namespace {

// Answers the next link dialog: fills in the link and the target, then closes it
// the way `answer` says; records what it was shown with in `shown`.
void answer(
        QList<Showing> *shown, const QString &href, const QString &target, Answer how = Answer::Ok)
{
    answerModal([=](QDialog *dialog) {
        shown->append({ dialog->windowTitle(), fmHref->imagePath(),
                dialog == fmHref && QApplication::activeModalWidget() == fmHref });
        fmHref->edHref->setText(href);
        fmHref->cbTarget->setEditText(target);
        switch (how) {
        case Answer::Ok:
            dialog->accept();
            break;
        case Answer::Cancel:
            dialog->reject();
            break;
        case Answer::Close:
            dialog->close();
            break;
        case Answer::Other:
            dialog->done(2);
            break;
        }
    });
}

// The program started, with a picture of `size` opened (none for an empty size).
class Session
{
public:
    explicit Session(const QSize &size = QSize(640, 480))
    {
        m_program.start();
        main()->move(0, 0);
        if (size.isEmpty())
            return;
        m_photo = writePicture(m_program.folder(), QStringLiteral("photo.png"), size);
        acceptModal();
        main()->OpenImage(m_photo);
        QApplication::processEvents();
    }

    TfmMain *main() const { return m_program.main(); }
    const QString &photo() const { return m_photo; }
    Program &program() { return m_program; }
    QString document() const { return fmTag->TagList->toPlainText(); }

    void click(const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(main()->Graph, button, {}, at);
    }
    void move(const QPoint &to)
    {
        QMouseEvent event(QEvent::MouseMove, to, main()->Graph->mapToGlobal(to), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(main()->Graph, &event);
    }
    // A real double click: press, release, double click, release.
    void doubleClick(const QPoint &at)
    {
        QTest::mouseDClick(
                main()->windowHandle(), Qt::LeftButton, {}, main()->Graph->mapTo(main(), at));
    }

    // The view as on screen: view point -> colour.
    QRgb shown(const QImage &screen, const QPoint &at) const
    {
        return screen.pixel(main()->Graph->mapTo(main(), at)) & 0xffffff;
    }
    QImage screen() const
    {
        QApplication::processEvents();
        return main()->screen()->grabWindow(main()->winId()).toImage();
    }

private:
    Program m_program;
    QString m_photo;
};

QRgb picturePixel(const QPoint &at)
{
    return patternColor(at.x(), at.y()) & 0xffffff;
}

QRgb negativeOf(const QPoint &at)
{
    return ~patternColor(at.x(), at.y()) & 0xffffff;
}

const QString ImageLine
        = QStringLiteral("<img src=\"photo.png\" usemap=\"#photo\" width=640 height=480 border=0>");
const QString MapLine = QStringLiteral("<map name=\"photo\">");
const QString ClosingLine = QStringLiteral("</map>");

QString documentWith(const QStringList &areas)
{
    return (QStringList { ImageLine, MapLine } + areas + QStringList { ClosingLine })
                   .join(QLatin1Char('\n'))
            + QLatin1Char('\n');
}

// Draws a rect from (10,10) to (40,30), a circle around (100,100) through
// (130,140), a polygon (200,50) (300,60) (250,140) closed by a press, the same
// polygon ended with a double click, or asks for the default area by menu or
// button.
void act(Session &session, const QString &action)
{
    TfmMain *main = session.main();
    if (action == QLatin1String("rect")) {
        main->mnSRect->trigger();
        session.click(QPoint(10, 10));
        session.move(QPoint(40, 30));
        session.click(QPoint(40, 30));
    } else if (action == QLatin1String("circle")) {
        main->mnSCircle->trigger();
        session.click(QPoint(100, 100));
        session.move(QPoint(130, 140));
        session.click(QPoint(130, 140));
    } else if (action.startsWith(QLatin1String("poly"))) {
        main->mnSPoly->trigger();
        session.click(QPoint(200, 50));
        session.move(QPoint(300, 60));
        session.click(QPoint(300, 60));
        session.move(QPoint(250, 140));
        if (action == QLatin1String("poly double click")) {
            session.doubleClick(QPoint(250, 140));
        } else {
            session.click(QPoint(250, 140));
            session.click(QPoint(204, 53));
        }
    } else if (action == QLatin1String("default menu")) {
        main->mnSDefault->trigger();
    } else if (action == QLatin1String("default button")) {
        main->btnDefault->click();
    } else {
        QFAIL(qPrintable(action));
    }
    QApplication::processEvents();
}

} // namespace

// The completion routine: the link dialog, the line it files, the drawing it ends;
// and the default area.
class tst_Completion : public QObject
{
    Q_OBJECT
private slots:
    void dialogShown_data();
    void dialogShown();
    void linkTail_data();
    void linkTail();
    void afterTheDialog_data();
    void afterTheDialog();
    void defaultArea_data();
    void defaultArea();
    void withoutDocument_data();
    void withoutDocument();
};

void tst_Completion::dialogShown_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");

    const QString drawn = QStringLiteral("タグ設定");
    const QString other = QStringLiteral("その他の領域");
    QTest::newRow("rect") << QStringLiteral("rect") << drawn;
    QTest::newRow("circle") << QStringLiteral("circle") << drawn;
    QTest::newRow("poly closed by a press") << QStringLiteral("poly") << drawn;
    QTest::newRow("poly ended by a double click") << QStringLiteral("poly double click") << drawn;
    QTest::newRow("default area from the menu") << QStringLiteral("default menu") << other;
    QTest::newRow("default area from the button") << QStringLiteral("default button") << other;
}

void tst_Completion::dialogShown()
{
    QFETCH(QString, action);
    QFETCH(QString, caption);

    Session session;
    QList<Showing> shown;
    answer(&shown, QStringLiteral("x.html"), QString());
    act(session, action);

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).caption, caption);
    QCOMPARE(shown.at(0).imagePath, QFileInfo(session.photo()).absoluteFilePath());
    QVERIFY(shown.at(0).linkDialog);
    QCOMPARE(pendingAnswers(), 0);
}

void tst_Completion::linkTail_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("capital");
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("line");

    QTest::newRow("rect small, target _blank")
            << QStringLiteral("rect") << false << QStringLiteral("index.html")
            << QStringLiteral("_blank")
            << QStringLiteral("  <area shape=\"rect\" coords=\"10,10 40,30\" href=\"index.html\" "
                              "target=\"_blank\">");
    QTest::newRow("rect capitals, href Index.HTML, target _Top")
            << QStringLiteral("rect") << true << QStringLiteral("Index.HTML")
            << QStringLiteral("_Top")
            << QStringLiteral("  <AREA SHAPE=\"RECT\" COORDS=\"10,10 40,30\" HREF=\"Index.HTML\" "
                              "TARGET=\"_Top\">");
    QTest::newRow("circle capitals, empty href and target")
            << QStringLiteral("circle") << true << QString() << QString()
            << QStringLiteral("  <AREA SHAPE=\"CIRCLE\" COORDS=\"100,100 50\" HREF=\"\">");
    QTest::newRow("poly small, target one space")
            << QStringLiteral("poly") << false << QStringLiteral("map.html") << QStringLiteral(" ")
            << QStringLiteral("  <area shape=\"poly\" coords=\"200,50 300,60 250,140\" "
                              "href=\"map.html\" target=\" \">");
    QTest::newRow("default capitals, href other.html")
            << QStringLiteral("default menu") << true << QStringLiteral("other.html") << QString()
            << QStringLiteral("  <AREA SHAPE=\"RECT\" COORDS=\"0,0 640,480\" HREF=\"other.html\">");
    QTest::newRow("default small, Japanese href and target")
            << QStringLiteral("default button") << false << QStringLiteral("案内.html")
            << QStringLiteral("右枠")
            << QStringLiteral("  <area shape=\"rect\" coords=\"0,0 640,480\" href=\"案内.html\" "
                              "target=\"右枠\">");
}

void tst_Completion::linkTail()
{
    QFETCH(QString, action);
    QFETCH(bool, capital);
    QFETCH(QString, href);
    QFETCH(QString, target);
    QFETCH(QString, line);

    Session session;
    // Chosen after opening: the frame lines stay small, the area line follows.
    if (capital)
        session.main()->mnSmallLetter->trigger();
    QList<Showing> shown;
    answer(&shown, href, target);
    act(session, action);

    QCOMPARE(shown.size(), 1);
    QCOMPARE(session.document(), documentWith({ line }));
    QCOMPARE(session.main()->pendingArea, QString());
}

// OK or not, the area ends: a finished rect or circle stays marked by the band,
// a polygon's lines are wiped.
void tst_Completion::afterTheDialog_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<Answer>("how");
    QTest::addColumn<QString>("line"); // filed, or empty
    QTest::addColumn<QRect>("band"); // left on screen, or empty for none

    const QString rect
            = QStringLiteral("  <area shape=\"rect\" coords=\"10,10 40,30\" href=\"a\">");
    QTest::newRow("rect OK") << "rect" << Answer::Ok << rect << QRect(10, 10, 30, 20);
    QTest::newRow("rect cancel") << "rect" << Answer::Cancel << "" << QRect(10, 10, 30, 20);
    QTest::newRow("rect closed") << "rect" << Answer::Close << "" << QRect(10, 10, 30, 20);
    QTest::newRow("rect result 2") << "rect" << Answer::Other << "" << QRect(10, 10, 30, 20);
    QTest::newRow("circle OK") << "circle" << Answer::Ok
                               << "  <area shape=\"circle\" coords=\"100,100 50\" href=\"a\">"
                               << QRect(50, 50, 100, 100);
    QTest::newRow("circle cancel") << "circle" << Answer::Cancel << "" << QRect(50, 50, 100, 100);
    QTest::newRow("poly OK")
            << "poly" << Answer::Ok
            << "  <area shape=\"poly\" coords=\"200,50 300,60 250,140\" href=\"a\">" << QRect();
    QTest::newRow("poly cancel") << "poly" << Answer::Cancel << "" << QRect();
}

void tst_Completion::afterTheDialog()
{
    QFETCH(QString, action);
    QFETCH(Answer, how);
    QFETCH(QString, line);
    QFETCH(QRect, band);

    Session session;
    QList<Showing> shown;
    answer(&shown, QStringLiteral("a"), QString(), how);
    act(session, action);

    QCOMPARE(shown.size(), 1);
    QCOMPARE(session.document(),
            documentWith(line.isEmpty() ? QStringList() : QStringList { line }));
    QCOMPARE(session.main()->pendingArea, QString());

    ShapeBand *theShape = session.main()->theShape;
    QCOMPARE(theShape->isVisible(), !band.isEmpty());
    const QImage screen = session.screen();
    if (!band.isEmpty()) {
        QCOMPARE(theShape->geometry(), band);
        const QPoint centre = band.center();
        QCOMPARE(session.shown(screen, centre), negativeOf(centre));
    }
    // Outside the band the picture is whole, polygon edges and all.
    for (const QPoint &at : { QPoint(250, 55), QPoint(275, 100), QPoint(225, 95), QPoint(5, 5),
                 QPoint(600, 400) }) {
        QCOMPARE(session.shown(screen, at), picturePixel(at));
    }

    // The finished band no longer follows the pointer.
    session.move(QPoint(500, 400));
    QCOMPARE(theShape->isVisible(), !band.isEmpty());
    if (!band.isEmpty())
        QCOMPARE(theShape->geometry(), band);
}

// The default area covers the whole picture, whatever was going on.
void tst_Completion::defaultArea_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("times");
    QTest::addColumn<QStringList>("filed");

    const QString first
            = QStringLiteral("  <area shape=\"rect\" coords=\"0,0 640,480\" href=\"d1\">");
    const QString second
            = QStringLiteral("  <area shape=\"rect\" coords=\"0,0 640,480\" href=\"d2\">");
    QTest::newRow("idle") << "" << 1 << QStringList { first };
    QTest::newRow("twice") << "" << 2 << QStringList { first, second };
    QTest::newRow("zoom +1") << "in in" << 1 << QStringList { first };
    QTest::newRow("zoom -0.5") << "out" << 1 << QStringList { first };
    QTest::newRow("halfway through a polygon") << "poly" << 1 << QStringList { first };
    QTest::newRow("halfway through a rect") << "rect" << 1 << QStringList { first };
}

void tst_Completion::defaultArea()
{
    QFETCH(QString, before);
    QFETCH(int, times);
    QFETCH(QStringList, filed);

    Session session;
    TfmMain *main = session.main();
    const QString shape
            = before == QLatin1String("poly") ? QStringLiteral("poly") : QStringLiteral("rect");
    if (before == QLatin1String("poly")) {
        main->mnSPoly->trigger();
        session.click(QPoint(200, 50));
        session.move(QPoint(300, 60));
        session.click(QPoint(300, 60));
        session.move(QPoint(250, 140));
        const QImage drawn = session.screen();
        QCOMPARE(session.shown(drawn, QPoint(250, 55)), negativeOf(QPoint(250, 55)));
        QCOMPARE(session.shown(drawn, QPoint(275, 100)), negativeOf(QPoint(275, 100)));
    } else if (before == QLatin1String("rect")) {
        session.click(QPoint(10, 10));
        session.move(QPoint(40, 30));
    } else {
        for (const QString &step : before.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            (step == QLatin1String("in") ? main->mnBig : main->mnSmall)->trigger();
    }

    QList<Showing> shown;
    for (int n = 1; n <= times; ++n) {
        answer(&shown, QStringLiteral("d%1").arg(n), QString());
        main->mnSDefault->trigger();
    }
    QCOMPARE(shown.size(), times);
    QCOMPARE(session.document(), documentWith(filed));
    QCOMPARE(main->pendingArea, QString());
    QCOMPARE(main->currentShape, shape);
    QVERIFY((shape == QLatin1String("poly") ? main->mnSPoly : main->mnSRect)->ticked());

    if (before == QLatin1String("poly")) {
        // The polygon's edge and rubber line are gone.
        const QImage screen = session.screen();
        for (const QPoint &at : { QPoint(250, 55), QPoint(275, 100) })
            QCOMPARE(session.shown(screen, at), picturePixel(at));
    } else if (before == QLatin1String("rect")) {
        // The band of the dropped rect stays where it was.
        QVERIFY(main->theShape->isVisible());
        QCOMPARE(main->theShape->geometry(), QRect(10, 10, 30, 20));
    }
}

// Without a picture the dialog still comes; a document without lines takes no line.
void tst_Completion::withoutDocument_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");

    QTest::newRow("default area") << "default menu"
                                  << "その他の領域";
    QTest::newRow("rect on the empty view") << "rect"
                                            << "タグ設定";
}

void tst_Completion::withoutDocument()
{
    QFETCH(QString, action);
    QFETCH(QString, caption);

    Session session(QSize(0, 0));
    QCOMPARE(session.document(), QString());
    QList<Showing> shown;
    answer(&shown, QStringLiteral("lost.html"), QString());
    act(session, action);

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).caption, caption);
    QCOMPARE(shown.at(0).imagePath, QString());
    QCOMPARE(session.document(), QString());
    QCOMPARE(session.main()->pendingArea, QString());
    QVERIFY(session.program().errors().texts().isEmpty());
}

QTEST_MAIN(tst_Completion)
#include "tst_completion.moc"
