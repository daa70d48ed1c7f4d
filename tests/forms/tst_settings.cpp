#include "MainForm.h"
#include "MenuItem.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

const QByteArray ExampleFile = "[MainWindow]\r\n"
                               "\r\n"
                               "Left = 355\r\n"
                               "Top = 182\r\n"
                               "Shape = circle\r\n"
                               "Letter = Small\r\n"
                               "\r\n"
                               "[TagListWindow]\r\n"
                               "\r\n"
                               "TLWLeft = 464\r\n"
                               "TLWTop = 580\r\n"
                               "TLWWidth = 559\r\n"
                               "TLWHeight = 155\r\n"
                               "TLWOpen = true\r\n";

// A settings file with the given lines under each header.
QByteArray settingsFile(const QByteArray &mainLines, const QByteArray &tagLines = {})
{
    return "[MainWindow]\r\n\r\n" + mainLines + "\r\n[TagListWindow]\r\n\r\n" + tagLines;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + path.toLocal8Bit() + '>';
    return file.readAll();
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QRect outerRect(QWidget *window)
{
    return window->frameGeometry();
}

// Puts the folder out of reach of writing for as long as it lives: read-only, and,
// where the test runs with rights that ignore that, immutable.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(QFile::encodeName(path))
    {
        ::chmod(m_path.constData(), 0555);
        if (writable())
            setImmutable(true);
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            setImmutable(false);
        ::chmod(m_path.constData(), 0755);
    }
    bool writable() const
    {
        const QByteArray probe = m_path + "/probe";
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(probe.constData());
        return true;
    }

private:
    void setImmutable(bool on)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0)
                m_immutable = on;
        }
        ::close(fd);
    }

    QByteArray m_path;
    bool m_immutable = false;
};

// Lets no file in the process grow past a few bytes, as a full disk would.
class FileSizeLimit
{
public:
    FileSizeLimit()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = m_saved;
        tiny.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
};

} // namespace

// The settings file: written whole at every close of the main window, read once
// while the tag list window is made.
class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void writesTheValuesOfTheMoment();
    void everyCloseRewritesTheFile_data();
    void everyCloseRewritesTheFile();
    void readAndWrittenBackUnchanged_data();
    void readAndWrittenBackUnchanged();
    void withoutFileNothingIsApplied();

    void shape_data();
    void shape();
    void letterCase_data();
    void letterCase();
    void tagWindowOpen_data();
    void tagWindowOpen();
    void mainWindowPosition_data();
    void mainWindowPosition();
    void tagWindowSize_data();
    void tagWindowSize();

    void checkMarkDecidesTagWindowOpen_data();
    void checkMarkDecidesTagWindowOpen();
    void commandLinePictureBeforeStoredLetterCase();
    void unwritableFileIsPassedOverSilently_data();
    void unwritableFileIsPassedOverSilently();

private:
    QPoint m_centred;     // the main window's place when nothing moves it
    QSize m_tagDesigned;  // the tag window's outer size when nothing sizes it
};

void tst_Settings::initTestCase()
{
    Program program;
    program.start();
    m_centred = program.main()->pos();
    program.main()->mnTagWindow->trigger();
    m_tagDesigned = outerRect(fmTag).size();
    QVERIFY(m_centred != QPoint(0, 0));
}

void tst_Settings::cleanup()
{
    QCOMPARE(pendingAnswers(), 0);
    dropPendingAnswers();
}

void tst_Settings::writesTheValuesOfTheMoment()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    main->move(355, 182);
    main->mnSCircle->trigger();
    main->mnTagWindow->trigger();
    QVERIFY(fmTag->isVisible());
    fmTag->move(464, 580);
    fmTag->resize(QSize(559, 155) - (outerRect(fmTag).size() - fmTag->size()));
    QApplication::processEvents();
    QCOMPARE(outerRect(fmTag), QRect(464, 580, 559, 155));

    main->close();

    QCOMPARE(fileBytes(program.settingsPath()), ExampleFile);
    QCOMPARE(entriesOf(program.folder()), QStringList{QStringLiteral("Zonefold.ini")});
    QVERIFY(program.errors().errors().isEmpty());
}

void tst_Settings::everyCloseRewritesTheFile_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("File > End (mnEnd)") << true;
    QTest::newRow("close box") << false;
}

void tst_Settings::everyCloseRewritesTheFile()
{
    QFETCH(bool, byMenu);
    // A longer file than the one to come: what is left of it must be nothing.
    Program program({}, ExampleFile + "; a comment the program never writes\r\n");
    program.start();
    TfmMain *main = program.main();
    main->mnSPoly->trigger();
    main->mnSmallLetter->trigger();
    main->move(-120, 40);

    if (byMenu)
        main->mnEnd->trigger();
    else
        main->windowHandle()->close();

    QVERIFY(!main->isVisible());
    QCOMPARE(fileBytes(program.settingsPath()), settingsFile("Left = -120\r\n"
                                                             "Top = 40\r\n"
                                                             "Shape = poly\r\n"
                                                             "Letter = Capital\r\n",
                                                             "TLWLeft = 464\r\n"
                                                             "TLWTop = 580\r\n"
                                                             "TLWWidth = 559\r\n"
                                                             "TLWHeight = 155\r\n"
                                                             "TLWOpen = true\r\n"));
}

void tst_Settings::readAndWrittenBackUnchanged_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("example file") << ExampleFile;
    QTest::newRow("poly, capitals")
            << settingsFile("Left = 0\r\nTop = 0\r\nShape = poly\r\nLetter = Capital\r\n",
                            "TLWLeft = 700\r\nTLWTop = 500\r\nTLWWidth = 300\r\nTLWHeight = 90\r\n"
                            "TLWOpen = true\r\n");
    QTest::newRow("tag window hidden, rect")
            << settingsFile("Left = 10\r\nTop = 20\r\nShape = rect\r\nLetter = Small\r\n",
                            "TLWLeft = 30\r\nTLWTop = 40\r\nTLWWidth = 250\r\nTLWHeight = 60\r\n");
}

void tst_Settings::readAndWrittenBackUnchanged()
{
    QFETCH(QByteArray, settings);
    Program program({}, settings);
    program.start();
    program.main()->close();
    QCOMPARE(fileBytes(program.settingsPath()), settings);
}

void tst_Settings::withoutFileNothingIsApplied()
{
    Program program;
    TfmMain *main = program.main();
    // Without a file the main window waits for the event loop to be shown.
    QVERIFY(!main->isVisible());
    program.start();

    QVERIFY(!fmTag->isVisible());
    QVERIFY(!main->mnTagWindow->ticked());
    QVERIFY(!main->btnTag->isDown());
    QCOMPARE(main->currentShape, QStringLiteral("rect"));
    QVERIFY(main->mnSmallLetter->ticked());
    QCOMPARE(main->pos(), m_centred);

    main->close();
    const QRect tag = outerRect(fmTag);
    QCOMPARE(fileBytes(program.settingsPath()),
             settingsFile(QStringLiteral("Left = %1\r\nTop = %2\r\nShape = rect\r\nLetter = Small\r\n")
                                  .arg(m_centred.x())
                                  .arg(m_centred.y())
                                  .toLatin1(),
                          QStringLiteral("TLWLeft = %1\r\nTLWTop = %2\r\nTLWWidth = %3\r\n"
                                         "TLWHeight = %4\r\n")
                                  .arg(tag.x())
                                  .arg(tag.y())
                                  .arg(tag.width())
                                  .arg(tag.height())
                                  .toLatin1()));
}

void tst_Settings::shape_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("shape");
    QTest::newRow("Shape = circle") << QByteArray("Shape = circle\r\n") << "circle";
    QTest::newRow("Shape = Circle") << QByteArray("Shape = Circle\r\n") << "circle";
    QTest::newRow("Shape = c") << QByteArray("Shape = c\r\n") << "circle";
    QTest::newRow("Shape = poly") << QByteArray("Shape = poly\r\n") << "poly";
    QTest::newRow("Shape = Polygon") << QByteArray("Shape = Polygon\r\n") << "poly";
    QTest::newRow("Shape = \\t p (tab before)") << QByteArray("Shape =\t p\r\n") << "poly";
    QTest::newRow("Shape = rect") << QByteArray("Shape = rect\r\n") << "rect";
    QTest::newRow("Shape = default") << QByteArray("Shape = default\r\n") << "rect";
    QTest::newRow("Shape = (empty)") << QByteArray("Shape = \r\n") << "rect";
    QTest::newRow("Shape missing") << QByteArray("Letter = Small\r\n") << "rect";
}

void tst_Settings::shape()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, shape);
    Program program({}, settingsFile(lines));
    TfmMain *main = program.main();
    verifyShapeTool(main, shape);
}

void tst_Settings::letterCase_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<bool>("small");
    QTest::newRow("Letter = Capital") << QByteArray("Letter = Capital\r\n") << false;
    QTest::newRow("Letter = capital") << QByteArray("Letter = capital\r\n") << false;
    QTest::newRow("Letter = Small") << QByteArray("Letter = Small\r\n") << true;
    QTest::newRow("Letter = (empty)") << QByteArray("Letter =\r\n") << true;
    QTest::newRow("Letter = upper") << QByteArray("Letter = upper\r\n") << true;
    QTest::newRow("Letter missing") << QByteArray("Shape = rect\r\n") << true;
}

void tst_Settings::letterCase()
{
    QFETCH(QByteArray, lines);
    QFETCH(bool, small);
    Program program({}, settingsFile(lines));
    QCOMPARE(program.main()->mnSmallLetter->ticked(), small);
}

void tst_Settings::tagWindowOpen_data()
{
    QTest::addColumn<QByteArray>("openLine");
    QTest::addColumn<bool>("open");
    QTest::newRow("TLWOpen = true") << QByteArray("TLWOpen = true\r\n") << true;
    QTest::newRow("TLWOpen = True") << QByteArray("TLWOpen = True\r\n") << true;
    QTest::newRow("TLWOpen = t") << QByteArray("TLWOpen = t\r\n") << true;
    QTest::newRow("TLWOpen = false") << QByteArray("TLWOpen = false\r\n") << false;
    QTest::newRow("TLWOpen = yes") << QByteArray("TLWOpen = yes\r\n") << false;
    QTest::newRow("TLWOpen = 1") << QByteArray("TLWOpen = 1\r\n") << false;
    QTest::newRow("TLWOpen = (empty)") << QByteArray("TLWOpen = \r\n") << false;
    QTest::newRow("TLWOpen missing") << QByteArray() << false;
}

void tst_Settings::tagWindowOpen()
{
    QFETCH(QByteArray, openLine);
    QFETCH(bool, open);
    Program program({}, settingsFile("Left = 20\r\nTop = 30\r\n",
                                     "TLWLeft = 120\r\nTLWTop = 340\r\nTLWWidth = 600\r\n"
                                     "TLWHeight = 200\r\n"
                                             + openLine));
    TfmMain *main = program.main();
    // With a file the main window is shown (and placed) while the windows are made.
    QVERIFY(main->isVisible());
    QCOMPARE(main->pos(), QPoint(20, 30));
    program.start();

    QCOMPARE(fmTag->isVisible(), open);
    QCOMPARE(main->mnTagWindow->ticked(), open);
    QCOMPARE(main->btnTag->isDown(), open);
    if (open)
        QCOMPARE(outerRect(fmTag), QRect(120, 340, 600, 200));

    // Shown later by the command, it comes where the file put it.
    if (!open) {
        main->mnTagWindow->trigger();
        QCOMPARE(outerRect(fmTag), QRect(120, 340, 600, 200));
    }
}

void tst_Settings::mainWindowPosition_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("left=10") << QByteArray("[MainWindow]\r\nleft=10\r\ntop=15\r\n") << false
                             << QPoint(10, 15);
    QTest::newRow("LEFT   =   10") << QByteArray("[MainWindow]\r\nLEFT   =   10\r\nTOP\t=\t15\r\n")
                                   << false << QPoint(10, 15);
    QTest::newRow("[mainwindow]") << QByteArray("[mainwindow]\r\nLeft = 10\r\nTop = 15\r\n") << false
                                  << QPoint(10, 15);
    QTest::newRow("Left = 0x20") << QByteArray("[MainWindow]\r\nLeft = 0x20\r\nTop = $10\r\n")
                                 << false << QPoint(32, 16);
    QTest::newRow("Left = abc") << QByteArray("[MainWindow]\r\nLeft = abc\r\nTop = abc\r\n") << true
                                << QPoint();
    QTest::newRow("Left = 4294967306") << QByteArray("[MainWindow]\r\nLeft = 4294967306\r\n")
                                       << true << QPoint();
    QTest::newRow("Left = (empty)") << QByteArray("[MainWindow]\r\nLeft =\r\nTop =\r\n") << true
                                    << QPoint();
    QTest::newRow("Left in another section") << QByteArray("[TagListWindow]\r\nLeft = 10\r\n")
                                             << true << QPoint();
}

void tst_Settings::mainWindowPosition()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, centred);
    QFETCH(QPoint, position);
    Program program({}, settings);
    program.start();
    QCOMPARE(program.main()->pos(), centred ? m_centred : position);
    QVERIFY(!fmTag->isVisible());
}

void tst_Settings::tagWindowSize_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<int>("width");  // 0: as designed
    QTest::addColumn<int>("height"); // 0: as designed
    QTest::newRow("TLWWidth = 0x200") << QByteArray("TLWWidth = 0x200\r\n") << 512 << 0;
    QTest::newRow("TLWWidth = $200") << QByteArray("TLWWidth = $200\r\n") << 512 << 0;
    QTest::newRow("TLWWidth = X200") << QByteArray("TLWWidth = X200\r\n") << 512 << 0;
    QTest::newRow("tlwwidth=600, tlwheight=0XC8")
            << QByteArray("tlwwidth=600\r\ntlwheight=0XC8\r\n") << 600 << 200;
    QTest::newRow("TLWWidth = abc") << QByteArray("TLWWidth = abc\r\nTLWHeight = 90\r\n") << 0 << 90;
    QTest::newRow("TLWWidth = 30, TLWHeight = 26 (tiny)")
            << QByteArray("TLWWidth = 30\r\nTLWHeight = 26\r\n") << 30 << 26;
    QTest::newRow("no size") << QByteArray() << 0 << 0;
}

void tst_Settings::tagWindowSize()
{
    QFETCH(QByteArray, lines);
    QFETCH(int, width);
    QFETCH(int, height);
    Program program({}, settingsFile({}, lines + "TLWOpen = true\r\n"));
    program.start();
    QVERIFY(fmTag->isVisible());
    QCOMPARE(outerRect(fmTag).size(), QSize(width ? width : m_tagDesigned.width(),
                                            height ? height : m_tagDesigned.height()));
}

void tst_Settings::checkMarkDecidesTagWindowOpen_data()
{
    QTest::addColumn<bool>("openTagsMenu");
    QTest::addColumn<bool>("openWritten");
    QTest::newRow("closed by its close box") << false << true;
    QTest::newRow("closed by its close box, then Tags menu opened") << true << false;
}

void tst_Settings::checkMarkDecidesTagWindowOpen()
{
    QFETCH(bool, openTagsMenu);
    QFETCH(bool, openWritten);
    QByteArray written;
    {
        Program program({}, ExampleFile);
        program.start();
        TfmMain *main = program.main();
        QVERIFY(fmTag->isVisible());
        fmTag->windowHandle()->close();
        QVERIFY(!fmTag->isVisible());
        QVERIFY(!main->btnTag->isDown());
        QVERIFY(main->mnTagWindow->ticked()); // lags until the Tags menu is opened
        if (openTagsMenu) {
            main->mnTag->popup(main->mapToGlobal(QPoint(0, 0)));
            main->mnTag->hide();
        }
        main->close();
        written = fileBytes(program.settingsPath());
    }
    QCOMPARE(written.endsWith("TLWOpen = true\r\n"), openWritten);
    QCOMPARE(written.contains("TLWOpen"), openWritten);

    // The next start opens the window or leaves it closed accordingly.
    Program next({}, written);
    next.start();
    QCOMPARE(fmTag->isVisible(), openWritten);
    QCOMPARE(next.main()->mnTagWindow->ticked(), openWritten);
    QCOMPARE(next.main()->btnTag->isDown(), openWritten);
}

void tst_Settings::commandLinePictureBeforeStoredLetterCase()
{
    QTemporaryDir pictures;
    const QString photo = writePicture(pictures.path(), QStringLiteral("photo.png"), QSize(40, 30));
    acceptModal(); // the map name as offered
    Program program({photo}, settingsFile("Letter = Capital\r\n"));
    TfmMain *main = program.main();
    QCOMPARE(pendingAnswers(), 0);
    QVERIFY(!main->mnSmallLetter->ticked());

    answerLink(QStringLiteral("other.html"), QString());
    main->mnSDefault->trigger();
    QCOMPARE(pendingAnswers(), 0);
    QCOMPARE(fmTag->TagList->toPlainText(),
             QStringLiteral("<img src=\"photo.png\" usemap=\"#photo\" width=40 height=30 border=0>\n"
                            "<map name=\"photo\">\n"
                            "  <AREA SHAPE=\"RECT\" COORDS=\"0,0 40,30\" HREF=\"other.html\">\n"
                            "</map>\n"));
    QVERIFY(program.errors().errors().isEmpty());
}

void tst_Settings::unwritableFileIsPassedOverSilently_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("read-only program folder") << true;
    QTest::newRow("disk full (file size limit)") << false;
}

void tst_Settings::unwritableFileIsPassedOverSilently()
{
    QFETCH(bool, readOnlyFolder);
    Program program({}, ExampleFile);
    program.start();
    TfmMain *main = program.main();
    main->mnSPoly->trigger();
    main->move(12, 34);
    {
        std::unique_ptr<ReadOnlyFolder> folder;
        std::unique_ptr<FileSizeLimit> limit;
        if (readOnlyFolder) {
            folder = std::make_unique<ReadOnlyFolder>(program.folder());
            if (folder->writable())
                QSKIP("cannot take write access away from the program folder here");
        } else {
            limit = std::make_unique<FileSizeLimit>();
        }
        main->close();
        QVERIFY(!QApplication::activeModalWidget());
    }
    QVERIFY(!main->isVisible());
    QVERIFY(program.errors().errors().isEmpty());
    QCOMPARE(fileBytes(program.settingsPath()), ExampleFile);
    QCOMPARE(entriesOf(program.folder()), QStringList{QStringLiteral("Zonefold.ini")});
}

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
