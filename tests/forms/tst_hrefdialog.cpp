#include "FileFilter.h"
#include "HrefForm.h"
#include "MainForm.h"
#include "MenuItem.h"
#include "OpenDialog.h"
#include "PictureView.h"
#include "SpeedButton.h"
#include "TagForm.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace TestSupport;

namespace {

// The text of the markup line filed last (the one in front of the closing line).
QString lastAreaLine()
{
    const QStringList lines
            = fmTag->TagList->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.size() >= 2 ? lines.at(lines.size() - 2) : QString();
}

QWidget *controlNamed(const QString &name)
{
    const QHash<QString, QWidget *> controls { { QStringLiteral("Label1"), fmHref->Label1 },
        { QStringLiteral("edHref"), fmHref->edHref }, { QStringLiteral("btnRef"), fmHref->btnRef },
        { QStringLiteral("Label2"), fmHref->Label2 },
        { QStringLiteral("cbTarget"), fmHref->cbTarget },
        { QStringLiteral("BitBtn1"), fmHref->BitBtn1 },
        { QStringLiteral("BitBtn2"), fmHref->BitBtn2 } };
    return controls.value(name);
}

QString nameOf(QWidget *control)
{
    if (control && control->parentWidget() == fmHref->cbTarget)
        control = fmHref->cbTarget; // the list's own edit part
    for (const char *name :
            { "Label1", "edHref", "btnRef", "Label2", "cbTarget", "BitBtn1", "BitBtn2" })
        if (controlNamed(QLatin1String(name)) == control)
            return QLatin1String(name);
    return QStringLiteral("(other)");
}

// Answers the next modal dialog once it is active; `during` acts on it and
// should close it. A check failing inside leaves it open, so it is closed here.
void whileOpen(const std::function<void(QDialog *)> &during)
{
    answerModal([during](QDialog *dialog) {
        QTRY_COMPARE(QGuiApplication::focusWindow(), dialog->windowHandle());
        during(dialog);
        if (dialog->isVisible())
            dialog->done(-1);
    });
}

// Runs the link dialog modally, as the main window does.
int runDialog(const std::function<void(QDialog *)> &during)
{
    whileOpen(during);
    return fmHref->exec();
}

} // namespace

class tst_HrefDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void startingTexts();
    void tabOrder();
    void anchors_data();
    void anchors();
    void placement();

    void closingKeys_data();
    void closingKeys();
    void keysWhileListOpen_data();
    void keysWhileListOpen();
    void selectAll_data();
    void selectAll();
    void mnemonics_data();
    void mnemonics();

    void textsKept();
    void imagePathHidden();

    void browse_data();
    void browse();
    void browseCancelled();
    void browseStartsFromLastFile();
    void browseWithFileDialog();

    void callerCaption_data();
    void callerCaption();
    void firstShowingGivesDefaults();
    void emptyFirstItemGivesNoTarget();

private:
    std::unique_ptr<Program> m_program;
};

void tst_HrefDialog::init()
{
    m_program = std::make_unique<Program>();
}

void tst_HrefDialog::cleanup()
{
    OpenDialog::setTestHook({});
    QCOMPARE(pendingAnswers(), 0);
    QVERIFY2(m_program->errors().texts().isEmpty(),
            qPrintable(m_program->errors().texts().join(QLatin1Char('\n'))));
    m_program.reset();
}

void tst_HrefDialog::window()
{
    QCOMPARE(fmHref->windowTitle(), QStringLiteral("タグ設定"));
    QCOMPARE(fmHref->size(), QSize(229, 133));
    QCOMPARE(fmHref->font().pixelSize(), 15);
    QCOMPARE(fmHref->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(!fmHref->font().bold() && !fmHref->font().italic());

    const Qt::WindowFlags flags = fmHref->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(flags & Qt::CustomizeWindowHint); // only the hints asked for below
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    QVERIFY(!(flags & Qt::MSWindowsFixedSizeDialogHint));
    // Resizable: nothing holds the size.
    QCOMPARE(fmHref->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QVERIFY(fmHref->minimumWidth() < 229 && fmHref->minimumHeight() < 133);
}

void tst_HrefDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label1") << "Label1" << QRect(0, 8, 98, 15) << "リンク先 （&href）";
    QTest::newRow("edHref") << "edHref" << QRect(8, 24, 161, 23) << "*.html";
    QTest::newRow("btnRef") << "btnRef" << QRect(168, 24, 57, 25) << "参照(&R)";
    QTest::newRow("Label2") << "Label2" << QRect(0, 56, 142, 15) << "フレーム情報 （&target）";
    QTest::newRow("cbTarget") << "cbTarget" << QRect(8, 75, 185, 23) << "";
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(8, 104, 97, 25) << "OK";
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(124, 104, 97, 25) << "キャンセル";
}

void tst_HrefDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QWidget *control = controlNamed(name);
    QVERIFY(control);
    fmHref->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmHref));
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible());
    QString text;
    if (auto *label = qobject_cast<QLabel *>(control))
        text = label->text();
    else if (auto *button = qobject_cast<QPushButton *>(control))
        text = button->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        text = edit->text();
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        text = combo->currentText();
    QCOMPARE(text, caption);
    fmHref->hide();
}

void tst_HrefDialog::startingTexts()
{
    QCOMPARE(fmHref->edHref->text(), QStringLiteral("*.html"));
    QComboBox *target = fmHref->cbTarget;
    QVERIFY(target->isEditable());
    QCOMPARE(target->currentText(), QString());
    QStringList items;
    for (int i = 0; i < target->count(); ++i)
        items << target->itemText(i);
    QCOMPARE(items,
            (QStringList { QString(), QStringLiteral("_blank"), QStringLiteral("_self"),
                    QStringLiteral("_top"), QStringLiteral("_parent") }));
    QVERIFY(fmHref->BitBtn1->isDefault());
    QVERIFY(!fmHref->BitBtn2->isDefault());
    QVERIFY(fmHref->btnRef->icon().isNull()); // no glyph
    QVERIFY(!fmHref->BitBtn1->icon().isNull());
    QVERIFY(!fmHref->BitBtn2->icon().isNull());
}

void tst_HrefDialog::tabOrder()
{
    QStringList visited;
    const int result = runDialog([&visited](QDialog *dialog) {
        fmHref->edHref->setFocus();
        for (int i = 0; i < 6; ++i) {
            QWidget *focus = QApplication::focusWidget();
            visited << nameOf(focus);
            QTest::keyClick(focus ? focus : dialog, Qt::Key_Tab);
        }
        dialog->reject();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(visited,
            (QStringList { "edHref", "btnRef", "cbTarget", "BitBtn1", "BitBtn2", "edHref" }));
}

void tst_HrefDialog::anchors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    // The dialog made 100 wider and 50 higher than its design size.
    QTest::newRow("Label1") << "Label1" << QRect(0, 8, 98, 15);
    QTest::newRow("edHref") << "edHref" << QRect(8, 24, 261, 23);
    QTest::newRow("btnRef") << "btnRef" << QRect(268, 24, 57, 25);
    QTest::newRow("Label2") << "Label2" << QRect(0, 56, 142, 15);
    QTest::newRow("cbTarget") << "cbTarget" << QRect(8, 75, 285, 23);
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(108, 154, 97, 25);
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(224, 154, 97, 25);
}

void tst_HrefDialog::anchors()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QWidget *control = controlNamed(name);
    QVERIFY(control);
    const QRect design = control->geometry();
    fmHref->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmHref));
    fmHref->resize(329, 183);
    QTRY_COMPARE(control->geometry(), geometry); // a window manager resizes a moment later
    fmHref->resize(229, 133);
    QTRY_COMPARE(control->geometry(), design);
    fmHref->hide();
}

void tst_HrefDialog::placement()
{
    // Centred the first time: equal margins left and right, above and below (the
    // window manager may frame it a moment after it shows).
    const auto centred = [](const QWidget *dialog) {
        const QRect frame = dialog->frameGeometry();
        const QRect screen = dialog->screen()->geometry();
        return qAbs((frame.left() - screen.left()) - (screen.right() - frame.right())) <= 1
                && qAbs((frame.top() - screen.top()) - (screen.bottom() - frame.bottom())) <= 1;
    };
    QPoint second;
    runDialog([&centred](QDialog *dialog) {
        QTRY_VERIFY(centred(dialog));
        dialog->move(40, 50);
        dialog->resize(300, 160);
        QTRY_COMPARE(dialog->frameGeometry().topLeft(), QPoint(40, 50));
        QTRY_COMPARE(dialog->size(), QSize(300, 160));
        dialog->reject();
    });
    runDialog([&second](QDialog *dialog) {
        second = dialog->pos();
        QCOMPARE(dialog->size(), QSize(300, 160));
        dialog->accept();
    });
    QCOMPARE(second, QPoint(40, 50));
}

void tst_HrefDialog::closingKeys_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Return in edHref") << "edHref" << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Enter in edHref") << "edHref" << int(Qt::Key_Enter) << int(QDialog::Accepted);
    QTest::newRow("Return in cbTarget")
            << "cbTarget" << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Enter in cbTarget")
            << "cbTarget" << int(Qt::Key_Enter) << int(QDialog::Accepted);
    QTest::newRow("Escape in edHref") << "edHref" << int(Qt::Key_Escape) << int(QDialog::Rejected);
    QTest::newRow("Escape in cbTarget")
            << "cbTarget" << int(Qt::Key_Escape) << int(QDialog::Rejected);
}

void tst_HrefDialog::closingKeys()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(int, result);
    const int got = runDialog([field, key](QDialog *) {
        QWidget *control = controlNamed(field);
        control->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    });
    QCOMPARE(got, result);
}

void tst_HrefDialog::keysWhileListOpen_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void tst_HrefDialog::keysWhileListOpen()
{
    QFETCH(int, key);
    bool listWasOpen = false;
    bool listClosed = false;
    bool dialogStayed = false;
    const int result = runDialog([&](QDialog *dialog) {
        fmHref->cbTarget->setFocus();
        fmHref->cbTarget->showPopup();
        QWidget *popup = QApplication::activePopupWidget();
        listWasOpen = popup && fmHref->cbTarget->view()->isVisible();
        if (!listWasOpen)
            return;
        QTest::keyClick(fmHref->cbTarget->view(), Qt::Key(key)); // the list has the keyboard
        QApplication::processEvents();
        listClosed = !fmHref->cbTarget->view()->isVisible() && !QApplication::activePopupWidget();
        dialogStayed = dialog->isVisible();
        dialog->reject();
    });
    QVERIFY(listWasOpen);
    QVERIFY(listClosed);
    QVERIFY(dialogStayed);
    QCOMPARE(result, int(QDialog::Rejected));
}

void tst_HrefDialog::selectAll_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("text");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+A in edHref") << "edHref" << ctrl << "index.html"
                                      << "index.html";
    QTest::newRow("Ctrl+Shift+A in edHref") << "edHref" << ctrlShift << "index.html"
                                            << "index.html";
    QTest::newRow("A in edHref") << "edHref" << 0 << ""
                                 << "index.htmla";
    QTest::newRow("Ctrl+A in cbTarget") << "cbTarget" << ctrl << "_blank"
                                        << "_blank";
    QTest::newRow("Ctrl+Shift+A in cbTarget") << "cbTarget" << ctrlShift << "_blank"
                                              << "_blank";
    QTest::newRow("A in cbTarget") << "cbTarget" << 0 << ""
                                   << "_blanka";
}

void tst_HrefDialog::selectAll()
{
    QFETCH(QString, field);
    QFETCH(int, modifiers);
    QFETCH(QString, selected);
    QFETCH(QString, text);
    fmHref->edHref->setText(QStringLiteral("index.html"));
    fmHref->cbTarget->setEditText(QStringLiteral("_blank"));
    QLineEdit *edit
            = field == QLatin1String("edHref") ? fmHref->edHref : fmHref->cbTarget->lineEdit();
    runDialog([&](QDialog *dialog) {
        controlNamed(field)->setFocus();
        edit->end(false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit->selectedText(), selected);
        QCOMPARE(edit->text(), text);
        dialog->reject();
    });
}

void tst_HrefDialog::mnemonics_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focused");
    QTest::newRow("Alt+H") << int(Qt::Key_H) << "edHref";
    QTest::newRow("Alt+T") << int(Qt::Key_T) << "cbTarget";
}

void tst_HrefDialog::mnemonics()
{
    QFETCH(int, key);
    QFETCH(QString, focused);
    runDialog([&](QDialog *dialog) {
        fmHref->BitBtn2->setFocus();
        QTest::keyClick(dialog, Qt::Key(key), Qt::AltModifier);
        QCOMPARE(nameOf(QApplication::focusWidget()), focused);
        dialog->reject();
    });
}

void tst_HrefDialog::textsKept()
{
    // OK keeps what was typed, and so does Cancel.
    answerLink(QStringLiteral("a.html"), QStringLiteral("_blank"), true);
    QCOMPARE(fmHref->exec(), int(QDialog::Accepted));
    QString href, target;
    runDialog([&](QDialog *dialog) {
        href = fmHref->edHref->text();
        target = fmHref->cbTarget->currentText();
        fmHref->edHref->setText(QStringLiteral("b.html"));
        dialog->reject();
    });
    QCOMPARE(href, QStringLiteral("a.html"));
    QCOMPARE(target, QStringLiteral("_blank"));
    runDialog([&](QDialog *dialog) {
        href = fmHref->edHref->text();
        target = fmHref->cbTarget->currentText();
        dialog->accept();
    });
    QCOMPARE(href, QStringLiteral("b.html"));
    QCOMPARE(target, QStringLiteral("_blank"));
}

void tst_HrefDialog::imagePathHidden()
{
    const QString path = QStringLiteral("/srv/site/img/secret-map.jpg");
    fmHref->setImagePath(path);
    QCOMPARE(fmHref->imagePath(), path);
    runDialog([&](QDialog *dialog) {
        QVERIFY(dialog->toolTip().isEmpty());
        for (QWidget *child : dialog->findChildren<QWidget *>()) {
            QVERIFY2(child->toolTip().isEmpty(), qPrintable(child->objectName()));
            QVERIFY(child->statusTip().isEmpty());
            QVERIFY(child->whatsThis().isEmpty());
            if (auto *label = qobject_cast<QLabel *>(child))
                QVERIFY(!label->text().contains(QStringLiteral("secret")));
            if (auto *edit = qobject_cast<QLineEdit *>(child))
                QVERIFY(!edit->text().contains(QStringLiteral("secret")));
        }
        QVERIFY(!dialog->windowTitle().contains(QStringLiteral("secret")));
        dialog->reject();
    });
}

void tst_HrefDialog::browse_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("link");
    QTest::newRow("same folder") << "/tmp/x/site/map.jpg"
                                 << "/tmp/x/site/page.html"
                                 << "page.html";
    QTest::newRow("sub folder") << "/tmp/x/site/map.jpg"
                                << "/tmp/x/site/docs/page.html"
                                << "docs/page.html";
    QTest::newRow("sibling folder") << "/tmp/x/site/img/map.jpg"
                                    << "/tmp/x/site/docs/page.html"
                                    << "../docs/page.html";
    QTest::newRow("prefix folder") << "/tmp/x/site/img/map.jpg"
                                   << "/tmp/x/site/imgs/page.html"
                                   << "../imgs/page.html";
    QTest::newRow("no picture yet") << ""
                                    << "/tmp/x/site/docs/page.html"
                                    << "page.html";
}

void tst_HrefDialog::browse()
{
    QFETCH(QString, image);
    QFETCH(QString, chosen);
    QFETCH(QString, link);
    QCOMPARE(fmHref->dlgOpenHref->filter(),
            QStringLiteral("html文書|*.html;*.htm|すべてのﾌｧｲﾙ|*.*"));
    QCOMPARE(FileFilter::descriptions(fmHref->dlgOpenHref->filter()),
            (QStringList { QStringLiteral("html文書"), QStringLiteral("すべてのﾌｧｲﾙ") }));
    int runs = 0;
    OpenDialog::setTestHook([&runs, chosen](OpenDialog &dialog) {
        ++runs;
        dialog.choose(chosen);
        return true;
    });
    fmHref->setImagePath(image);
    fmHref->btnRef->click();
    QCOMPARE(runs, 1);
    QCOMPARE(fmHref->edHref->text(), link);
}

void tst_HrefDialog::browseCancelled()
{
    fmHref->edHref->setText(QStringLiteral("kept.html"));
    fmHref->setImagePath(QStringLiteral("/tmp/x/map.jpg"));
    OpenDialog::setTestHook([](OpenDialog &dialog) {
        dialog.choose(QStringLiteral("/tmp/x/other.html")); // looked at, then cancelled
        return false;
    });
    fmHref->btnRef->click();
    QCOMPARE(fmHref->edHref->text(), QStringLiteral("kept.html"));
}

void tst_HrefDialog::browseStartsFromLastFile()
{
    QStringList startedFrom;
    OpenDialog::setTestHook([&startedFrom](OpenDialog &dialog) {
        startedFrom << dialog.fileName();
        dialog.choose(QStringLiteral("/tmp/x/site/docs/page.html"));
        return true;
    });
    fmHref->setImagePath(QStringLiteral("/tmp/x/site/map.jpg"));
    // The browse button is pressed inside the showing dialog, with Alt+R.
    for (int run = 1; run <= 2; ++run) {
        runDialog([&startedFrom, run](QDialog *dialog) {
            QTest::keyClick(dialog, Qt::Key_R, Qt::AltModifier);
            QTRY_COMPARE(startedFrom.size(), run); // the button clicks a moment later
            dialog->accept();
        });
    }
    QCOMPARE(
            startedFrom, (QStringList { QString(), QStringLiteral("/tmp/x/site/docs/page.html") }));
    QCOMPARE(fmHref->edHref->text(), QStringLiteral("docs/page.html"));
}

void tst_HrefDialog::browseWithFileDialog()
{
    const QDir site(m_program->folder() + QStringLiteral("site"));
    QVERIFY(site.mkpath(QStringLiteral("img")) && site.mkpath(QStringLiteral("docs")));
    const QString page = site.filePath(QStringLiteral("docs/page.html"));
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    fmHref->setImagePath(site.filePath(QStringLiteral("img/map.jpg")));

    struct Seen
    {
        QString nameFilter, directory, title;
        QStringList nameFilters, selected;
        bool hideDetails = false;
    } first, second;
    const auto look = [](Seen &seen, QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        seen.nameFilter = files->selectedNameFilter();
        seen.nameFilters = files->nameFilters();
        seen.directory = files->directory().absolutePath();
        seen.selected = files->selectedFiles();
        seen.title = files->windowTitle();
        seen.hideDetails = files->testOption(QFileDialog::HideNameFilterDetails);
    };
    answerModal([&](QDialog *dialog) {
        look(first, dialog);
        qobject_cast<QFileDialog *>(dialog)->selectFile(page);
        dialog->accept();
    });
    fmHref->btnRef->click();
    QCOMPARE(fmHref->edHref->text(), QStringLiteral("../docs/page.html"));
    QCOMPARE(first.nameFilters,
            (QStringList { QStringLiteral("html文書 (*.html *.htm)"),
                    QStringLiteral("すべてのﾌｧｲﾙ (*)") }));
    QVERIFY(first.hideDetails);
    QCOMPARE(first.nameFilter, QStringLiteral("html文書")); // as the list shows it

    fmHref->edHref->setText(QStringLiteral("typed.html"));
    answerModal([&](QDialog *dialog) {
        look(second, dialog);
        dialog->reject();
    });
    fmHref->btnRef->click();
    QCOMPARE(second.directory, site.filePath(QStringLiteral("docs")));
    QCOMPARE(second.selected, QStringList { page });
    QCOMPARE(second.nameFilter, QStringLiteral("html文書"));
    QCOMPARE(fmHref->edHref->text(), QStringLiteral("typed.html"));
}

void tst_HrefDialog::callerCaption_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("caption");
    QTest::newRow("double click on Graph") << "Graph"
                                           << "タグ設定";
    QTest::newRow("mnSDefault") << "mnSDefault"
                                << "その他の領域";
    QTest::newRow("btnDefault") << "btnDefault"
                                << "その他の領域";
}

void tst_HrefDialog::callerCaption()
{
    QFETCH(QString, sender);
    QFETCH(QString, caption);
    m_program->start();
    TfmMain *main = m_program->main();
    const QString photo
            = writePicture(m_program->folder(), QStringLiteral("photo.png"), QSize(40, 30));
    answerMapName(QStringLiteral("photo"));
    main->OpenImage(photo);
    fmHref->setWindowTitle(QStringLiteral("stale"));
    fmHref->setImagePath(QStringLiteral("stale"));

    QString seenCaption, seenPath;
    answerModal([&](QDialog *dialog) {
        seenCaption = dialog->windowTitle();
        seenPath = fmHref->imagePath();
        dialog->reject();
    });
    if (sender == QLatin1String("Graph")) {
        main->mnSPoly->trigger();
        QTest::mouseClick(main->Graph, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(main->Graph, Qt::LeftButton, {}, QPoint(30, 5));
        emit main->Graph->doubleClick();
    } else if (sender == QLatin1String("mnSDefault"))
        main->mnSDefault->trigger();
    else
        main->btnDefault->click();
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenPath, QFileInfo(photo).absoluteFilePath());
}

void tst_HrefDialog::firstShowingGivesDefaults()
{
    m_program->start();
    TfmMain *main = m_program->main();
    const QString photo
            = writePicture(m_program->folder(), QStringLiteral("photo.png"), QSize(40, 30));
    answerMapName(QStringLiteral("photo"));
    main->OpenImage(photo);
    acceptModal();
    main->mnSDefault->trigger();
    QCOMPARE(lastAreaLine(),
            QStringLiteral("  <area shape=\"rect\" coords=\"0,0 40,30\" href=\"*.html\">"));
}

void tst_HrefDialog::emptyFirstItemGivesNoTarget()
{
    m_program->start();
    TfmMain *main = m_program->main();
    const QString photo
            = writePicture(m_program->folder(), QStringLiteral("photo.png"), QSize(40, 30));
    answerMapName(QStringLiteral("photo"));
    main->OpenImage(photo);
    fmHref->cbTarget->setCurrentIndex(1); // "_blank" from an earlier area
    QCOMPARE(fmHref->cbTarget->currentText(), QStringLiteral("_blank"));

    whileOpen([](QDialog *dialog) {
        QComboBox *target = fmHref->cbTarget;
        target->setFocus();
        target->showPopup();
        QWidget *popup = QApplication::activePopupWidget();
        QVERIFY(popup);
        QTest::keyClick(target->view(), Qt::Key_Home); // the empty first item
        QTest::keyClick(target->view(), Qt::Key_Return);
        QCOMPARE(target->currentText(), QString());
        dialog->accept();
    });
    main->mnSDefault->trigger();
    QCOMPARE(lastAreaLine(),
            QStringLiteral("  <area shape=\"rect\" coords=\"0,0 40,30\" href=\"*.html\">"));
}

QTEST_MAIN(tst_HrefDialog)
#include "tst_hrefdialog.moc"
