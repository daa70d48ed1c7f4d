#include "Application.h"
#include "MainForm.h"
#include "MenuItem.h"
#include "OpenDialog.h"
#include "PictureView.h"
#include "ShapeBand.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

namespace {

enum Source { OpenMenu, OpenButton, Drop, CommandLine };

// Everything an open may change, so a refused or cancelled open can be shown to
// change none of it.
struct Snapshot
{
    explicit Snapshot(TfmMain *main)
        : picture(main->picture),
          view(main->Graph->size()),
          viewPixels(main->Graph->grabView(QRect(0, 0, 60, 40))),
          zoom(main->zoom),
          caption(main->windowTitle()),
          title(Application::title()),
          imagePath(main->imagePath),
          document(fmTag->TagList->toPlainText()),
          pendingArea(main->pendingArea),
          lines(main->Graph->invertedLines()),
          windowSize(main->size())
    {
    }

    QImage picture;
    QSize view;
    QImage viewPixels;
    float zoom;
    QString caption;
    QString title;
    QString imagePath;
    QString document;
    QString pendingArea;
    QVector<QLine> lines;
    QSize windowSize;
};

void compareUnchanged(const Snapshot &before, TfmMain *main)
{
    const Snapshot after(main);
    QVERIFY(after.picture == before.picture);
    QCOMPARE(after.view, before.view);
    QVERIFY(after.viewPixels == before.viewPixels);
    QCOMPARE(after.zoom, before.zoom);
    QCOMPARE(after.caption, before.caption);
    QCOMPARE(after.title, before.title);
    QCOMPARE(after.imagePath, before.imagePath);
    QCOMPARE(after.document, before.document);
    QCOMPARE(after.pendingArea, before.pendingArea);
    QCOMPARE(after.lines, before.lines);
    QCOMPARE(after.windowSize, before.windowSize);
}

void chooseInOpenDialog(const QString &path)
{
    OpenDialog::setTestHook([path](OpenDialog &dialog) {
        dialog.choose(path);
        return true;
    });
}

// Drags `urls` over the main window and drops them, as the window system does.
bool dropOn(TfmMain *main, const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at(40, 60);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main, &drop);
    return enter.isAccepted();
}

// The window system drops a move to where the pointer already is, and the pointer
// stays where the previous test left it: come from one pixel off.
void moveTo(QWidget *widget, const QPoint &at)
{
    QTest::mouseMove(widget, at - QPoint(1, 1));
    QTest::mouseMove(widget, at);
}

QString documentOf(const QString &img, const QString &map, const QString &close)
{
    return img + QLatin1Char('\n') + map + QLatin1Char('\n') + close + QLatin1Char('\n');
}

} // namespace

// Opening a picture from the open command, a drop and the command line, the map
// name it asks for, the new document, and refusals that must leave all as it was.
class tst_OpenImage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void sources_data();
    void sources();
    void commandLine_data();
    void commandLine();
    void openDialogCancelled();
    void dropWithoutLocalFile_data();
    void dropWithoutLocalFile();
    void proposedMapName_data();
    void proposedMapName();
    void newDocument_data();
    void newDocument();
    void secondOpenStartsAfresh_data();
    void secondOpenStartsAfresh();
    void refusedPictureChangesNothing_data();
    void refusedPictureChangesNothing();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void tst_OpenImage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString folder = m_dir.path();
    writePicture(folder, QStringLiteral("first.png"), QSize(64, 48));
    writePicture(folder, QStringLiteral("second.png"), QSize(80, 60));
    writePicture(folder, QStringLiteral("third.png"), QSize(96, 72));
    writePicture(folder, QStringLiteral("photo.jpg"), QSize(64, 48));
    writePicture(folder, QStringLiteral("photo.jpeg"), QSize(64, 48));
    writePicture(folder, QStringLiteral("scan.tiff"), QSize(64, 48));
    writePicture(folder, QStringLiteral(".png"), QSize(64, 48));
    writePicture(folder, QStringLiteral("Map.png"), QSize(50, 40));
    writePicture(folder, QStringLiteral("PHOTO.JPG"), QSize(70, 30));
    QVERIFY(QFile::copy(QStringLiteral(ZONEFOLD_FIXTURES "/halves.gif"), path("a.gif")));

    // Pictures the loader must refuse.
    QFile unknown(path("picture.xyz"));
    QVERIFY(unknown.open(QIODevice::WriteOnly));
    unknown.write("not a picture");
    unknown.close();
    QVERIFY(QFile::copy(path("first.png"), path("png-inside.jpg")));
    for (const char *name : {"cut.png", "cut.jpg"}) {
        const QString full = path(QString::fromLatin1(name));
        writePicture(folder, QString::fromLatin1(name), QSize(120, 90));
        QFile cut(full);
        QVERIFY(cut.open(QIODevice::ReadWrite));
        QVERIFY(cut.resize(cut.size() / 2));
    }
}

void tst_OpenImage::cleanup()
{
    OpenDialog::setTestHook({});
    dropPendingAnswers();
}

void tst_OpenImage::sources_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QSize>("size");

    const QStringList three{QStringLiteral("first.png"), QStringLiteral("second.png"),
                            QStringLiteral("third.png")};
    QTest::newRow("open menu") << int(OpenMenu) << QStringList{QStringLiteral("first.png")}
                               << QStringLiteral("first.png") << QSize(64, 48);
    QTest::newRow("open button") << int(OpenButton) << QStringList{QStringLiteral("first.png")}
                                 << QStringLiteral("first.png") << QSize(64, 48);
    QTest::newRow("drop of three files") << int(Drop) << three << QStringLiteral("first.png")
                                         << QSize(64, 48);
    QTest::newRow("drop of a web address and two files")
            << int(Drop)
            << QStringList{QStringLiteral("http://example.com/x.png"), QStringLiteral("second.png"),
                           QStringLiteral("third.png")}
            << QStringLiteral("second.png") << QSize(80, 60);
    QTest::newRow("command line of two arguments")
            << int(CommandLine) << QStringList{QStringLiteral("first.png"), QStringLiteral("second.png")}
            << QStringLiteral("first.png") << QSize(64, 48);
}

void tst_OpenImage::sources()
{
    QFETCH(int, source);
    QFETCH(QStringList, files);
    QFETCH(QString, opened);
    QFETCH(QSize, size);

    QStringList paths;
    QList<QUrl> urls;
    for (const QString &file : files) {
        const QUrl url(file);
        if (url.scheme().isEmpty()) {
            paths << path(file);
            urls << QUrl::fromLocalFile(paths.last());
        } else {
            urls << url;
        }
    }

    Program program(source == CommandLine ? paths : QStringList());
    TfmMain *main = program.main();
    // The map name as offered, for as many opens as there are files; one must happen.
    for (int i = 0; i < files.size(); ++i)
        acceptModal();
    program.start();

    switch (source) {
    case OpenMenu:
        chooseInOpenDialog(paths.first());
        main->mnOpen->trigger();
        break;
    case OpenButton:
        chooseInOpenDialog(paths.first());
        QTest::mouseClick(main->btnOpen, Qt::LeftButton);
        break;
    case Drop:
        QVERIFY(main->acceptDrops());
        QVERIFY(dropOn(main, urls));
        break;
    }

    QCOMPARE(pendingAnswers(), int(files.size()) - 1);
    QVERIFY(program.errors().texts().isEmpty());
    QVERIFY(main->isVisible());
    QCOMPARE(main->picture.size(), size);
    QCOMPARE(main->picture.pixel(5, 3), patternColor(5, 3));
    QCOMPARE(main->Graph->size(), size);
    QCOMPARE(main->zoom, 0.0f);
    QCOMPARE(main->imagePath, path(opened));
    QCOMPARE(main->windowTitle(), opened + QStringLiteral(" - Zonefold"));
    QCOMPARE(Application::title(), opened + QStringLiteral(" - Zonefold"));
    const QString name = opened.chopped(4);
    QCOMPARE(fmTag->TagList->toPlainText(),
             documentOf(QStringLiteral("<img src=\"%1\" usemap=\"#%2\" width=%3 height=%4 border=0>")
                                .arg(opened, name)
                                .arg(size.width())
                                .arg(size.height()),
                        QStringLiteral("<map name=\"%1\">").arg(name), QStringLiteral("</map>")));
}

void tst_OpenImage::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("relative");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("error");

    QTest::newRow("no arguments") << QStringList() << false << QStringLiteral("Zonefold")
                                  << QSize(0, 0) << QString();
    QTest::newRow("relative first.png")
            << QStringList{QStringLiteral("first.png")} << true
            << QStringLiteral("first.png - Zonefold") << QSize(64, 48) << QString();
    QTest::newRow("missing.png") << QStringList{QStringLiteral("missing.png")} << false
                                 << QStringLiteral("Zonefold") << QSize(0, 0)
                                 << QStringLiteral("missing.png");
}

void tst_OpenImage::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, relative);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QString, error);

    const QString previous = QDir::currentPath();
    if (relative)
        QVERIFY(QDir::setCurrent(m_dir.path()));
    else
        std::transform(arguments.begin(), arguments.end(), arguments.begin(),
                       [this](const QString &name) { return path(name); });

    Program program(arguments);
    acceptModal();
    program.start();
    QDir::setCurrent(previous);
    TfmMain *main = program.main();

    QVERIFY(main->isVisible());
    QCOMPARE(main->windowTitle(), caption);
    QCOMPARE(Application::title(), caption);
    QCOMPARE(main->picture.size(), size);
    QCOMPARE(pendingAnswers(), size.isEmpty() ? 1 : 0);
    if (size.isEmpty()) {
        QVERIFY(main->imagePath.isEmpty());
        QVERIFY(fmTag->TagList->toPlainText().isEmpty());
    } else {
        QCOMPARE(main->imagePath, path(arguments.first()));
        QVERIFY(fmTag->TagList->toPlainText().startsWith(QStringLiteral("<img src=\"first.png\"")));
    }
    if (error.isEmpty()) {
        QVERIFY(program.errors().errors().isEmpty());
    } else {
        QCOMPARE(program.errors().errors().size(), 1);
        QCOMPARE(program.errors().errors().first().first, QStringLiteral("Zonefold"));
        QVERIFY(program.errors().errors().first().second.contains(error));

        // Still fully usable: a picture opens from the menu afterwards.
        acceptModal();
        chooseInOpenDialog(path(QStringLiteral("second.png")));
        main->mnOpen->trigger();
        QCOMPARE(main->picture.size(), QSize(80, 60));
        QCOMPARE(program.errors().errors().size(), 1);
    }
}

void tst_OpenImage::openDialogCancelled()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    acceptModal();
    main->OpenImage(path(QStringLiteral("first.png")));
    fmTag->TagList->appendPlainText(QStringLiteral("hand edit"));

    const Snapshot before(main);
    int asked = 0;
    OpenDialog::setTestHook([&asked](OpenDialog &dialog) {
        ++asked;
        dialog.choose(QStringLiteral("/nowhere/else.png"));
        return false;
    });
    acceptModal();
    main->mnOpen->trigger();

    QCOMPARE(asked, 1);
    QCOMPARE(pendingAnswers(), 1);
    QVERIFY(program.errors().texts().isEmpty());
    compareUnchanged(before, main);
}

void tst_OpenImage::dropWithoutLocalFile_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::newRow("a web address") << QList<QUrl>{QUrl(QStringLiteral("https://example.com/a.png"))};
    QTest::newRow("two web addresses")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.com/a.png")),
                           QUrl(QStringLiteral("ftp://example.com/b.png"))};
}

void tst_OpenImage::dropWithoutLocalFile()
{
    QFETCH(QList<QUrl>, urls);

    Program program;
    program.start();
    TfmMain *main = program.main();
    acceptModal();
    main->OpenImage(path(QStringLiteral("first.png")));

    const Snapshot before(main);
    acceptModal();
    dropOn(main, urls);

    QCOMPARE(pendingAnswers(), 1);
    QVERIFY(program.errors().texts().isEmpty());
    compareUnchanged(before, main);
}

void tst_OpenImage::proposedMapName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("proposed");

    QTest::newRow("photo.jpg") << QStringLiteral("photo.jpg") << QStringLiteral("photo");
    QTest::newRow("photo.jpeg") << QStringLiteral("photo.jpeg") << QStringLiteral("photo.");
    QTest::newRow("scan.tiff") << QStringLiteral("scan.tiff") << QStringLiteral("scan.");
    QTest::newRow("a.gif") << QStringLiteral("a.gif") << QStringLiteral("a");
    QTest::newRow(".png") << QStringLiteral(".png") << QString();
}

void tst_OpenImage::proposedMapName()
{
    QFETCH(QString, file);
    QFETCH(QString, proposed);

    Program program;
    program.start();
    QString offered = QStringLiteral("(no dialog)");
    QString caption;
    answerModal([&](QDialog *dialog) {
        caption = dialog->windowTitle();
        offered = dialog->findChild<QLineEdit *>()->text();
        dialog->accept();
    });
    program.main()->OpenImage(path(file));

    QCOMPARE(offered, proposed);
    QCOMPARE(caption, QStringLiteral("Map Name"));
    QVERIFY(program.errors().texts().isEmpty());
    QVERIFY(fmTag->TagList->toPlainText().contains(
            QStringLiteral("<map name=\"%1\">\n").arg(proposed)));
}

void tst_OpenImage::newDocument_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("capital");
    QTest::addColumn<QString>("typed"); // null: the offered name as it is
    QTest::addColumn<QString>("document");

    QTest::newRow("photo.jpg offered name")
            << QStringLiteral("photo.jpg") << false << QString()
            << documentOf(QStringLiteral("<img src=\"photo.jpg\" usemap=\"#photo\" width=64 height=48 border=0>"),
                          QStringLiteral("<map name=\"photo\">"), QStringLiteral("</map>"));
    QTest::newRow("Map.png capitals, typed Map")
            << QStringLiteral("Map.png") << true << QStringLiteral("Map")
            << documentOf(QStringLiteral("<IMG SRC=\"Map.png\" USEMAP=\"#MAP\" WIDTH=50 HEIGHT=40 BORDER=0>"),
                          QStringLiteral("<MAP NAME=\"MAP\">"), QStringLiteral("</MAP>"));
    QTest::newRow("PHOTO.JPG small letters")
            << QStringLiteral("PHOTO.JPG") << false << QString()
            << documentOf(QStringLiteral("<img src=\"PHOTO.JPG\" usemap=\"#PHOTO\" width=70 height=30 border=0>"),
                          QStringLiteral("<map name=\"PHOTO\">"), QStringLiteral("</map>"));
    QTest::newRow("empty name typed")
            << QStringLiteral("first.png") << false << QStringLiteral("")
            << documentOf(QStringLiteral("<img src=\"first.png\" usemap=\"#\" width=64 height=48 border=0>"),
                          QStringLiteral("<map name=\"\">"), QStringLiteral("</map>"));
    QTest::newRow("' my map ' typed, capitals")
            << QStringLiteral("first.png") << true << QStringLiteral(" my map ")
            << documentOf(QStringLiteral("<IMG SRC=\"first.png\" USEMAP=\"# MY MAP \" WIDTH=64 HEIGHT=48 BORDER=0>"),
                          QStringLiteral("<MAP NAME=\" MY MAP \">"), QStringLiteral("</MAP>"));
}

void tst_OpenImage::newDocument()
{
    QFETCH(QString, file);
    QFETCH(bool, capital);
    QFETCH(QString, typed);
    QFETCH(QString, document);

    Program program;
    program.start();
    TfmMain *main = program.main();
    if (capital)
        main->mnSmallLetter->trigger();
    QCOMPARE(main->mnSmallLetter->ticked(), !capital);

    if (typed.isNull())
        acceptModal();
    else
        answerMapName(typed);
    main->OpenImage(path(file));

    QCOMPARE(pendingAnswers(), 0);
    QCOMPARE(fmTag->TagList->toPlainText(), document);
    QCOMPARE(main->windowTitle(), file + QStringLiteral(" - Zonefold"));
}

void tst_OpenImage::secondOpenStartsAfresh_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("after an area and hand edits") << QStringLiteral("area and edits");
    QTest::newRow("during a half-drawn polygon") << QStringLiteral("half polygon");
    QTest::newRow("while zoomed in twice") << QStringLiteral("zoomed");
    QTest::newRow("while a rectangle is stretched") << QStringLiteral("rect band");
}

void tst_OpenImage::secondOpenStartsAfresh()
{
    QFETCH(QString, before);

    Program program;
    program.start();
    TfmMain *main = program.main();
    PictureView *graph = main->Graph;
    acceptModal();
    main->OpenImage(path(QStringLiteral("first.png")));

    if (before == QLatin1String("area and edits")) {
        answerLink(QStringLiteral("a.html"), QString());
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(30, 20));
        fmTag->TagList->appendPlainText(QStringLiteral("hand edit"));
        QVERIFY(fmTag->TagList->toPlainText().contains(QStringLiteral("a.html")));
    } else if (before == QLatin1String("half polygon")) {
        main->mnSPoly->trigger();
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(40, 5));
        moveTo(graph, QPoint(40, 40));
        QVERIFY(!main->pendingArea.isEmpty());
        QVERIFY(!graph->invertedLines().isEmpty());
    } else if (before == QLatin1String("zoomed")) {
        main->mnBig->trigger();
        main->mnBig->trigger();
        QCOMPARE(graph->size(), QSize(128, 96));
    } else {
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(5, 5));
        moveTo(graph, QPoint(30, 20));
        QVERIFY(main->theShape->isVisible());
    }

    answerMapName(QStringLiteral("next"));
    main->OpenImage(path(QStringLiteral("second.png")));

    QCOMPARE(pendingAnswers(), 0);
    QCOMPARE(fmTag->TagList->toPlainText(),
             documentOf(QStringLiteral("<img src=\"second.png\" usemap=\"#next\" width=80 height=60 border=0>"),
                        QStringLiteral("<map name=\"next\">"), QStringLiteral("</map>")));
    QVERIFY(main->pendingArea.isEmpty());
    QVERIFY(graph->invertedLines().isEmpty());
    QVERIFY(!main->theShape->isVisible());
    QCOMPARE(main->zoom, 0.0f);
    QCOMPARE(graph->size(), QSize(80, 60));
    QCOMPARE(graph->grabView(QRect(0, 0, 80, 60)).pixel(41, 6), patternColor(41, 6));
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_OpenImage::refusedPictureChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message"); // null: the decoder's own words

    QTest::newRow("missing.png") << QStringLiteral("missing.png") << QString();
    QTest::newRow("picture.xyz") << QStringLiteral("picture.xyz")
                                 << QStringLiteral("拡張子 .xyz の画像形式は処理できません");
    QTest::newRow("png-inside.jpg") << QStringLiteral("png-inside.jpg") << QString();
    QTest::newRow("cut.png, half the file") << QStringLiteral("cut.png") << QString();
    QTest::newRow("cut.jpg, half the file") << QStringLiteral("cut.jpg") << QString();
}

void tst_OpenImage::refusedPictureChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, message);

    Program program;
    program.start();
    TfmMain *main = program.main();
    PictureView *graph = main->Graph;
    acceptModal();
    main->OpenImage(path(QStringLiteral("first.png")));
    // A state worth keeping: zoomed, a polygon half drawn, the document edited.
    main->mnBig->trigger();
    main->mnSPoly->trigger();
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(60, 5));
    moveTo(graph, QPoint(60, 40));
    fmTag->TagList->appendPlainText(QStringLiteral("hand edit"));
    QVERIFY(!graph->invertedLines().isEmpty());

    const Snapshot before(main);
    acceptModal();
    chooseInOpenDialog(path(file));
    main->mnOpen->trigger();

    QCOMPARE(pendingAnswers(), 1); // no map name was asked for
    QCOMPARE(program.errors().errors().size(), 1);
    QCOMPARE(program.errors().errors().first().first, QStringLiteral("first.png - Zonefold"));
    const QString text = program.errors().errors().first().second;
    if (message.isNull())
        QVERIFY(!text.isEmpty());
    else
        QCOMPARE(text, message);
    compareUnchanged(before, main);

    // The half-drawn polygon can still be finished.
    dropPendingAnswers();
    answerLink(QStringLiteral("p.html"), QString());
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(7, 6));
    QCOMPARE(pendingAnswers(), 0);
    QVERIFY(fmTag->TagList->toPlainText().contains(
            QStringLiteral("  <area shape=\"poly\" coords=\"3,3 42,3\" href=\"p.html\">\n")));
}

QTEST_MAIN(tst_OpenImage)
#include "tst_openimage.moc"
