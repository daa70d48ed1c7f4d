#include "TagForm.h"

#include "Application.h"
#include "IniFile.h"
#include "MainForm.h"
#include "MapMarkup.h"
#include "MenuItem.h"
#include "MenuShortcutFilter.h"
#include "SettingsFile.h"
#include "SpeedButton.h"
#include "WindowPlacement.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
#include <QVBoxLayout>

TfmTag *fmTag = nullptr;

TfmTag::TfmTag(QWidget *parent) : QWidget(parent)
{
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("タグリスト"));
    setWindowIcon(QIcon(QStringLiteral(":/zonefold/zonefold.ico")));
    setFont(Application::windowFont(15));

    TagList = new QPlainTextEdit(this);
    TagList->setLineWrapMode(QPlainTextEdit::NoWrap);
    TagList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TagList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TagList->setTabChangesFocus(false);
    TagList->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The text's scroll bars would set a floor under the window's size; a size kept
    // in the settings comes back as it was, however small.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(TagList);
    resize(543, 116);

    // The main window exists by now; the link dialog does not yet.
    if (!fmTag)
        fmTag = this;
    // Ctrl+C typed in the tag list belongs to the main menu, as it does in the main window.
    if (auto *shortcuts = fmMain->findChild<MenuShortcutFilter *>())
        shortcuts->serve(this);
    readSettings();
}

TfmTag::~TfmTag()
{
    if (fmTag == this)
        fmTag = nullptr;
}

void TfmTag::readSettings()
{
    const QString path = SettingsFile::pathIn(fmMain->programFolder);
    if (!QFileInfo(path).isFile())
        return;
    const IniFile ini(path);
    const QString main = QStringLiteral("MainWindow");
    const QString tags = QStringLiteral("TagListWindow");

    // The main window is shown first (opening a picture named on the command line),
    // then placed: its first showing centres it, which would undo an earlier move.
    fmMain->show();
    WindowPlacement::waitForFrame(fmMain);
    const QPoint mainAt = WindowPlacement::frame(fmMain).topLeft();
    WindowPlacement::moveFrame(fmMain,
                               QPoint(ini.readInteger(main, QStringLiteral("Left "), mainAt.x()),
                                      mainAt.y()));
    WindowPlacement::moveFrame(fmMain,
                               QPoint(WindowPlacement::frame(fmMain).x(),
                                      ini.readInteger(main, QStringLiteral("Top "), mainAt.y())));

    const QString shape = ini.readString(main, QStringLiteral("Shape "), QStringLiteral("Rect"));
    if (SettingsFile::startsWith(shape, QLatin1Char('c')))
        fmMain->mnSRectClick(fmMain->mnSCircle);
    if (SettingsFile::startsWith(shape, QLatin1Char('p')))
        fmMain->mnSRectClick(fmMain->mnSPoly);

    const QString letter = ini.readString(main, QStringLiteral("Letter "), QStringLiteral("Small"));
    if (SettingsFile::startsWith(letter, QLatin1Char('c')))
        fmMain->mnSmallLetter->setTicked(false);

    show();
    WindowPlacement::waitForFrame(this);
    const QRect outer = WindowPlacement::frame(this);
    const int left = ini.readInteger(tags, QStringLiteral("TLWLeft "), outer.x());
    WindowPlacement::moveFrame(this, QPoint(left, WindowPlacement::frame(this).y()));
    const int top = ini.readInteger(tags, QStringLiteral("TLWTop "), outer.y());
    WindowPlacement::moveFrame(this, QPoint(WindowPlacement::frame(this).x(), top));
    const int width = ini.readInteger(tags, QStringLiteral("TLWWidth "), outer.width());
    WindowPlacement::resizeFrame(this, QSize(width, WindowPlacement::frame(this).height()));
    const int height = ini.readInteger(tags, QStringLiteral("TLWHeight "), outer.height());
    WindowPlacement::resizeFrame(this, QSize(WindowPlacement::frame(this).width(), height));

    const QString open = ini.readString(tags, QStringLiteral("TLWOpen "), QStringLiteral("False"));
    if (!SettingsFile::startsWith(open, QLatin1Char('t')))
        hide();

    fmMain->mnTagWindow->setTicked(isVisible());
    fmMain->btnTag->setDown(isVisible());
}

void TfmTag::insertAreaLine(const QString &line)
{
    const int at = MapMarkup::areaInsertPosition(TagList->toPlainText());
    if (at < 0)
        return;
    QTextCursor cursor(TagList->document());
    cursor.setPosition(at);
    cursor.insertText(line + QLatin1Char('\n'));
}

void TfmTag::FormActivate()
{
    fmMain->mnTagCopy->setTag(1);
}

void TfmTag::FormHide()
{
    fmMain->btnTag->setDown(false);
}

void TfmTag::TagListKeyDown(QKeyEvent *Key)
{
    if ((Key->modifiers() & Qt::ControlModifier) && Key->key() == Qt::Key_A)
        TagList->selectAll();
}

void TfmTag::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    // Centred the first time it is shown; afterwards it keeps its place.
    m_placed = true;
    WindowPlacement::centreNow(this);
}

void TfmTag::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (fmMain && !event->spontaneous())
        FormHide();
}

void TfmTag::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && fmMain)
        FormActivate();
}

bool TfmTag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TagList && event->type() == QEvent::KeyPress)
        TagListKeyDown(static_cast<QKeyEvent *>(event)); // the key goes on to the text
    return QWidget::eventFilter(watched, event);
}
