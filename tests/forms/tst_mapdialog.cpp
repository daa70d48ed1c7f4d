#include "MainForm.h"
#include "MapForm.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace TestSupport;

class tst_MapDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void anchors_data();
    void anchors();
    void selectAll_data();
    void selectAll();
    void nameHoweverClosed_data();
    void nameHoweverClosed();

private:
    // Opens photo.png; `during` acts on the map name dialog while it is open and
    // should close it. A failing check inside leaves it open, so it is closed here.
    void openWith(const std::function<void(TfmMap *)> &during);
    QString mapLine() const;

    std::unique_ptr<Program> m_program;
};

void tst_MapDialog::init()
{
    m_program = std::make_unique<Program>();
    m_program->start();
    QVERIFY(QTest::qWaitForWindowActive(m_program->main()));
}

void tst_MapDialog::cleanup()
{
    QCOMPARE(pendingAnswers(), 0);
    QVERIFY2(m_program->errors().texts().isEmpty(),
            qPrintable(m_program->errors().texts().join(QLatin1Char('\n'))));
    m_program.reset();
}

void tst_MapDialog::openWith(const std::function<void(TfmMap *)> &during)
{
    const QString photo
            = writePicture(m_program->folder(), QStringLiteral("photo.png"), QSize(40, 30));
    answerModal([during](QDialog *dialog) {
        auto *map = qobject_cast<TfmMap *>(dialog);
        QVERIFY(map);
        // Waiting for the dialog to be active is not enough: a window counts as
        // active while its owner has the focus.
        QTRY_COMPARE(QGuiApplication::focusWindow(), map->windowHandle());
        during(map);
        if (map->isVisible())
            map->done(-1);
    });
    m_program->main()->OpenImage(photo);
    // Made for the one open, and gone after it.
    QVERIFY(m_program->main()->findChildren<TfmMap *>().isEmpty());
}

QString tst_MapDialog::mapLine() const
{
    return fmTag->TagList->toPlainText().split(QLatin1Char('\n')).value(1);
}

void tst_MapDialog::window()
{
    QString title;
    QSize client;
    QFont font;
    Qt::WindowFlags flags;
    bool centred = false;
    QWidget *focus = nullptr;
    QLineEdit *field = nullptr;
    bool modal = false;
    bool sizeFree = false;
    openWith([&](TfmMap *map) {
        title = map->windowTitle();
        client = map->size();
        font = map->font();
        flags = map->windowFlags();
        // Centred, frame included (a window manager frames it a moment after it shows).
        const QRect screen = map->screen()->geometry();
        const auto margins = [map, screen] {
            const QRect frame = map->frameGeometry();
            return QPoint((frame.left() - screen.left()) - (screen.right() - frame.right()),
                    (frame.top() - screen.top()) - (screen.bottom() - frame.bottom()));
        };
        QTRY_VERIFY(qAbs(margins().x()) <= 1 && qAbs(margins().y()) <= 1);
        centred = true;
        focus = QApplication::focusWidget();
        field = map->edMapName;
        modal = map->isModal();
        sizeFree = map->maximumSize() == QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)
                && map->minimumWidth() < 232 && map->minimumHeight() < 91;
        map->accept();
    });
    QCOMPARE(title, QStringLiteral("Map Name"));
    QCOMPARE(client, QSize(232, 91));
    QCOMPARE(font.pixelSize(), 15);
    QCOMPARE(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(modal);
    QVERIFY(sizeFree);

    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));

    QVERIFY(centred);
    QVERIFY(field);
    QCOMPARE(focus, field);
}

void tst_MapDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label1") << "Label1" << QRect(0, 8, 80, 15) << "マップネーム";
    QTest::newRow("edMapName") << "edMapName" << QRect(8, 27, 217, 23) << "photo"; // offered
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(72, 56, 75, 25) << "OK";
}

void tst_MapDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QRect seenGeometry;
    QString seenCaption;
    bool shown = false;
    openWith([&](TfmMap *map) {
        QWidget *control = nullptr;
        if (name == QLatin1String("Label1")) {
            control = map->Label1;
            seenCaption = map->Label1->text();
        } else if (name == QLatin1String("edMapName")) {
            control = map->edMapName;
            seenCaption = map->edMapName->text();
        } else {
            control = map->BitBtn1;
            seenCaption = map->BitBtn1->text();
            QVERIFY(map->BitBtn1->isDefault());
            QVERIFY(!map->BitBtn1->icon().isNull());
        }
        seenGeometry = control->geometry();
        shown = control->isVisible();
        map->accept();
    });
    QCOMPARE(seenGeometry, geometry);
    QCOMPARE(seenCaption, caption);
    QVERIFY(shown);
}

void tst_MapDialog::anchors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    // The dialog made 100 wider and 50 higher than its design size.
    QTest::newRow("Label1") << "Label1" << QRect(0, 8, 80, 15);
    QTest::newRow("edMapName") << "edMapName" << QRect(8, 27, 317, 23);
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(172, 106, 75, 25);
}

void tst_MapDialog::anchors()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TfmMap map(m_program->main());
    QWidget *control = name == QLatin1String("Label1") ? static_cast<QWidget *>(map.Label1)
            : name == QLatin1String("edMapName")       ? static_cast<QWidget *>(map.edMapName)
                                                       : static_cast<QWidget *>(map.BitBtn1);
    const QRect design = control->geometry();
    map.show();
    QVERIFY(QTest::qWaitForWindowExposed(&map));
    map.resize(332, 141);
    QTRY_COMPARE(control->geometry(), geometry);
    map.resize(232, 91);
    QTRY_COMPARE(control->geometry(), design);
}

void tst_MapDialog::selectAll_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("text");
    QTest::newRow("Ctrl+A") << int(Qt::ControlModifier) << "photo"
                            << "photo";
    QTest::newRow("Ctrl+Shift+A") << int(Qt::ControlModifier | Qt::ShiftModifier) << "photo"
                                  << "photo";
    QTest::newRow("A") << 0 << ""
                       << "photoa";
}

void tst_MapDialog::selectAll()
{
    QFETCH(int, modifiers);
    QFETCH(QString, selected);
    QFETCH(QString, text);
    QString seenSelected, seenText;
    openWith([&](TfmMap *map) {
        map->edMapName->end(false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::KeyboardModifiers(modifiers));
        seenSelected = map->edMapName->selectedText();
        seenText = map->edMapName->text();
        map->accept();
    });
    QCOMPARE(seenSelected, selected);
    QCOMPARE(seenText, text);
    QCOMPARE(mapLine(), QStringLiteral("<map name=\"%1\">").arg(text));
}

void tst_MapDialog::nameHoweverClosed_data()
{
    QTest::addColumn<QString>("typed"); // over the offered name, after Ctrl+A
    QTest::addColumn<QString>("closing");
    QTest::addColumn<QString>("line");
    QTest::newRow("OK clicked") << "Area 51 "
                                << "click"
                                << "<map name=\"Area 51 \">";
    QTest::newRow("Enter") << "Area 51 "
                           << "Return"
                           << "<map name=\"Area 51 \">";
    QTest::newRow("Escape") << "Area 51 "
                            << "Escape"
                            << "<map name=\"Area 51 \">";
    QTest::newRow("closed") << "Area 51 "
                            << "close"
                            << "<map name=\"Area 51 \">";
    QTest::newRow("Escape, offered name") << ""
                                          << "Escape"
                                          << "<map name=\"photo\">";
    QTest::newRow("emptied, Enter") << "\b"
                                    << "Return"
                                    << "<map name=\"\">";
}

void tst_MapDialog::nameHoweverClosed()
{
    QFETCH(QString, typed);
    QFETCH(QString, closing);
    QFETCH(QString, line);
    bool closed = false;
    openWith([&](TfmMap *map) {
        QWidget *field = QApplication::focusWidget();
        QCOMPARE(field, map->edMapName);
        if (typed == QLatin1String("\b")) {
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Backspace);
        } else if (!typed.isEmpty()) {
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, typed);
        }
        if (closing == QLatin1String("click"))
            QTest::mouseClick(map->BitBtn1, Qt::LeftButton);
        else if (closing == QLatin1String("Return"))
            QTest::keyClick(field, Qt::Key_Return);
        else if (closing == QLatin1String("Escape"))
            QTest::keyClick(field, Qt::Key_Escape);
        else
            map->close();
        closed = !map->isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(mapLine(), line);
}

QTEST_MAIN(tst_MapDialog)
#include "tst_mapdialog.moc"
