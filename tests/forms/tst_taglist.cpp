#include "HrefForm.h"
#include "MainForm.h"
#include "MenuItem.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace TestSupport;

namespace {

const QString Document
        = QStringLiteral("<img src=\"a.png\" usemap=\"#a\" width=4 height=3 border=0>\n"
                         "<map name=\"a\">\n"
                         "</map>\n");
const QString DocumentCrLf
        = QStringLiteral("<img src=\"a.png\" usemap=\"#a\" width=4 height=3 border=0>\r\n"
                         "<map name=\"a\">\r\n"
                         "</map>\r\n");

bool activate(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

void pressCtrlC(QWidget *target)
{
    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
}

// Shows the tag window behind the program's back, so that the main window's
// mirrors of it lag as they do after any outside change.
void showTagWindowQuietly()
{
    fmTag->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmTag));
}

QByteArray settingsWithTagWindow(bool open)
{
    return QByteArray("[TagListWindow]\r\nTLWOpen = ") + (open ? "True" : "False") + "\r\n";
}

} // namespace

class tst_TagList : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void window();
    void longLineScrollsSideways();

    void mirrorsAtStartUp_data();
    void mirrorsAtStartUp();
    void tagsMenuOpenedBringsCheckMarkInLine_data();
    void tagsMenuOpenedBringsCheckMarkInLine();
    void closeBoxRaisesButtonOnly();

    void copyFromMainWindowTakesWholeDocument_data();
    void copyFromMainWindowTakesWholeDocument();
    void copyFromTagWindowTakesSelection_data();
    void copyFromTagWindowTakesSelection();
    void copyInModalDialogStaysInField();

    void selectAll_data();
    void selectAll();
    void tabInsertsTab();
};

void tst_TagList::cleanup()
{
    dropPendingAnswers();
}

void tst_TagList::window()
{
    Program program;
    program.start();
    QVERIFY(fmTag->isHidden());
    QCOMPARE(fmTag->windowTitle(), QStringLiteral("タグリスト"));
    QCOMPARE(fmTag->windowType(), Qt::Tool);
    QVERIFY(fmTag->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(fmTag->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(fmTag->windowFlags() & Qt::WindowMaximizeButtonHint));
    fmTag->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmTag));
    QCOMPARE(fmTag->size(), QSize(543, 116));
    QCOMPARE(fmTag->font().pixelSize(), 15);

    QPlainTextEdit *list = fmTag->TagList;
    QCOMPARE(list->geometry(), fmTag->rect());
    QCOMPARE(list->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!list->isReadOnly());
    QVERIFY(list->toPlainText().isEmpty());

    // Resizable, and the text follows the window.
    fmTag->resize(700, 300);
    QApplication::processEvents();
    QCOMPARE(fmTag->size(), QSize(700, 300));
    QCOMPARE(list->geometry(), QRect(0, 0, 700, 300));

    // Closing only hides: the text and the size stay.
    list->setPlainText(Document);
    QVERIFY(fmTag->close());
    QVERIFY(fmTag->isHidden());
    fmTag->show();
    QCOMPARE(list->toPlainText(), Document);
    QCOMPARE(fmTag->size(), QSize(700, 300));
}

void tst_TagList::longLineScrollsSideways()
{
    Program program;
    program.start();
    showTagWindowQuietly();
    const QString line = QStringLiteral("  <area shape=\"rect\" coords=\"0,0 10,10\" href=\"")
            + QString(300, QLatin1Char('x')) + QStringLiteral(".html\">");
    fmTag->TagList->setPlainText(line);
    QApplication::processEvents();
    QCOMPARE(fmTag->TagList->document()->blockCount(), 1);
    QCOMPARE(fmTag->TagList->document()->firstBlock().layout()->lineCount(), 1);
    QVERIFY(fmTag->TagList->horizontalScrollBar()->maximum() > 0);
}

void tst_TagList::mirrorsAtStartUp_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("shown");
    QTest::newRow("no settings file") << QByteArray() << false;
    QTest::newRow("settings TLWOpen = True") << settingsWithTagWindow(true) << true;
    QTest::newRow("settings TLWOpen = False") << settingsWithTagWindow(false) << false;
}

void tst_TagList::mirrorsAtStartUp()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, shown);

    Program program({}, settings);
    program.start();
    TfmMain *main = program.main();
    QCOMPARE(fmTag->isVisible(), shown);
    QCOMPARE(main->mnTagWindow->ticked(), shown);
    QCOMPARE(main->btnTag->isDown(), shown);
}

void tst_TagList::tagsMenuOpenedBringsCheckMarkInLine_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Alt+T") << "Alt+T";
    QTest::newRow("Ctrl+C") << "Ctrl+C";
}

void tst_TagList::tagsMenuOpenedBringsCheckMarkInLine()
{
    QFETCH(QString, how);

    Program program;
    program.start();
    TfmMain *main = program.main();
    QVERIFY(activate(main));
    showTagWindowQuietly();
    QVERIFY(activate(main));
    QVERIFY(!main->mnTagWindow->ticked());

    if (how == QLatin1String("Alt+T")) {
        QTest::keyClick(main, Qt::Key_T, Qt::AltModifier);
        QTRY_VERIFY(main->mnTag->isVisible());
        main->mnTag->close();
    } else {
        pressCtrlC(main);
    }
    QVERIFY(main->mnTagWindow->ticked());
    QVERIFY(!main->btnTag->isDown()); // the button is not brought in line here

    // Hidden behind the program's back again: the next opening clears the mark.
    fmTag->hide();
    QVERIFY(main->mnTagWindow->ticked());
    emit main->mnTag->aboutToShow();
    QVERIFY(!main->mnTagWindow->ticked());
}

void tst_TagList::closeBoxRaisesButtonOnly()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    QTest::mouseClick(main->btnTag, Qt::LeftButton);
    QVERIFY(fmTag->isVisible());
    QVERIFY(main->btnTag->isDown());

    QVERIFY(fmTag->close()); // what the close box does
    QVERIFY(!fmTag->isVisible());
    QVERIFY(!main->btnTag->isDown());
    QVERIFY(main->mnTagWindow->ticked()); // lags until the menu is opened

    QTest::mouseClick(main->btnTag, Qt::LeftButton);
    QVERIFY(fmTag->isVisible());
    QVERIFY(main->btnTag->isDown());
    QVERIFY(main->mnTagWindow->ticked());
}

void tst_TagList::copyFromMainWindowTakesWholeDocument_data()
{
    QTest::addColumn<bool>("tagWindowShown");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("copied");
    QTest::newRow("tag window hidden") << false << Document << DocumentCrLf;
    QTest::newRow("tag window shown") << true << Document << DocumentCrLf;
    QTest::newRow("edited by hand, no last line break")
            << true << QStringLiteral("<map>\n\t<area>") << QStringLiteral("<map>\r\n\t<area>");
    QTest::newRow("empty document") << false << QString() << QString();
}

void tst_TagList::copyFromMainWindowTakesWholeDocument()
{
    QFETCH(bool, tagWindowShown);
    QFETCH(QString, document);
    QFETCH(QString, copied);

    Program program;
    program.start();
    TfmMain *main = program.main();
    fmTag->TagList->setPlainText(document);
    if (tagWindowShown) {
        QTest::mouseClick(main->btnTag, Qt::LeftButton);
        QVERIFY(activate(fmTag));
        QCOMPARE(main->mnTagCopy->tag(), 1);
        // A selection in the tag list does not matter once the main window is active.
        fmTag->TagList->selectAll();
    }
    QVERIFY(activate(main));
    QCOMPARE(main->mnTagCopy->tag(), 0);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    pressCtrlC(main);
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QVERIFY(QApplication::clipboard()->mimeData()->hasText());
    QVERIFY(program.errors().texts().isEmpty());
}

void tst_TagList::copyFromTagWindowTakesSelection_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("copied");
    QTest::newRow("nothing selected") << 5 << 5 << QStringLiteral("before");
    QTest::newRow("part of a line") << 1 << 4 << QStringLiteral("img");
    QTest::newRow("across lines") << 57 << 72 << QStringLiteral("map name=\"a\">\r\n<");
}

void tst_TagList::copyFromTagWindowTakesSelection()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, copied);

    Program program;
    program.start();
    TfmMain *main = program.main();
    fmTag->TagList->setPlainText(Document);
    showTagWindowQuietly();
    QVERIFY(activate(fmTag));
    fmTag->TagList->setFocus();
    QCOMPARE(main->mnTagCopy->tag(), 1);
    QTextCursor cursor = fmTag->TagList->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    fmTag->TagList->setTextCursor(cursor);
    QVERIFY(!main->mnTagWindow->ticked());

    QApplication::clipboard()->setText(QStringLiteral("before"));
    pressCtrlC(fmTag->TagList);
    QCOMPARE(QApplication::clipboard()->text(), copied);
    // The key went through the main menu, whose opening brings the mark in line.
    QVERIFY(main->mnTagWindow->ticked());
    QCOMPARE(fmTag->TagList->toPlainText(), Document);
}

void tst_TagList::copyInModalDialogStaysInField()
{
    Program program;
    program.start();
    TfmMain *main = program.main();
    fmTag->TagList->setPlainText(Document);
    showTagWindowQuietly();
    QVERIFY(activate(main));
    QApplication::clipboard()->setText(QStringLiteral("before"));

    QString copiedInDialog;
    answerModal([&](QDialog *dialog) {
        QVERIFY(activate(dialog));
        fmHref->edHref->setText(QStringLiteral("page.html"));
        fmHref->edHref->setFocus();
        fmHref->edHref->setSelection(0, 4);
        pressCtrlC(fmHref->edHref);
        copiedInDialog = QApplication::clipboard()->text();
        dialog->reject();
    });
    main->mnSDefault->trigger();
    QCOMPARE(pendingAnswers(), 0);
    QCOMPARE(copiedInDialog, QStringLiteral("page"));
    // The menu command did not run: the check mark still lags.
    QVERIFY(!main->mnTagWindow->ticked());
}

void tst_TagList::selectAll_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");
    QTest::newRow("Ctrl+A") << Qt::KeyboardModifiers(Qt::ControlModifier)
                            << QStringLiteral("one\ntwo") << QStringLiteral("one\u2029two");
    QTest::newRow("Ctrl+Shift+A") << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier)
                                  << QStringLiteral("one\ntwo") << QStringLiteral("one\u2029two");
    QTest::newRow("A") << Qt::KeyboardModifiers() << QStringLiteral("onae\ntwo") << QString();
}

void tst_TagList::selectAll()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, selected);

    Program program;
    program.start();
    showTagWindowQuietly();
    QVERIFY(activate(fmTag));
    QPlainTextEdit *list = fmTag->TagList;
    list->setPlainText(QStringLiteral("one\ntwo"));
    list->setFocus();
    QTextCursor cursor = list->textCursor();
    cursor.setPosition(2);
    list->setTextCursor(cursor);
    QTest::keyClick(list, Qt::Key_A, modifiers);
    QCOMPARE(list->toPlainText(), text);
    QCOMPARE(list->textCursor().selectedText(), selected);
}

void tst_TagList::tabInsertsTab()
{
    Program program;
    program.start();
    showTagWindowQuietly();
    QVERIFY(activate(fmTag));
    QPlainTextEdit *list = fmTag->TagList;
    list->setPlainText(QStringLiteral("<map>"));
    list->setFocus();
    list->moveCursor(QTextCursor::Start);
    QTest::keyClick(list, Qt::Key_Tab);
    QCOMPARE(list->toPlainText(), QStringLiteral("\t<map>"));
    QVERIFY(list->hasFocus());
}

QTEST_MAIN(tst_TagList)
#include "tst_taglist.moc"
