#include "TestSupport.h"

#include "Application.h"
#include "Forms.h"
#include "MainForm.h"
#include "MenuItem.h"
#include "SpeedButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QQueue>
#include <QTimer>
#include <QtTest>

namespace TestSupport {

ErrorRecorder::ErrorRecorder()
{
    Application::setErrorHandler(
            [this](const QString &caption, const QString &text) { m_errors.append({caption, text}); });
}

ErrorRecorder::~ErrorRecorder()
{
    Application::setErrorHandler({});
}

QStringList ErrorRecorder::texts() const
{
    QStringList result;
    for (const auto &error : m_errors)
        result << error.second;
    return result;
}

Program::Program(const QStringList &arguments, const QByteArray &settings)
    : m_folder(std::make_unique<QTemporaryDir>()),
      m_folderPath(m_folder->path() + QLatin1Char('/')),
      m_errors(std::make_unique<ErrorRecorder>())
{
    Application::initialise();
    Application::setProgramFolder(m_folderPath);
    Application::setArguments(QStringList{m_folderPath + QStringLiteral("zonefold")} + arguments);
    if (!settings.isNull()) {
        QFile file(settingsPath());
        if (file.open(QIODevice::WriteOnly))
            file.write(settings);
    }
    Forms::create();
}

Program::~Program()
{
    dropPendingAnswers();
    Forms::destroy();
    Application::setArguments({});
    Application::setProgramFolder({});
}

TfmMain *Program::main() const
{
    return fmMain;
}

void Program::start()
{
    if (!fmMain->isVisible())
        fmMain->show();
    QApplication::processEvents();
}

QString Program::settingsPath() const
{
    return m_folderPath + QStringLiteral("Zonefold.ini");
}

void verifyShapeTool(const TfmMain *main, const QString &shape)
{
    QCOMPARE(main->currentShape, shape);
    QCOMPARE(main->mnSRect->ticked(), shape == QLatin1String("rect"));
    QCOMPARE(main->mnSCircle->ticked(), shape == QLatin1String("circle"));
    QCOMPARE(main->mnSPoly->ticked(), shape == QLatin1String("poly"));
    QCOMPARE(main->btnRect->isDown(), shape == QLatin1String("rect"));
    QCOMPARE(main->btnCircle->isDown(), shape == QLatin1String("circle"));
    QCOMPARE(main->btnPoly->isDown(), shape == QLatin1String("poly"));
}

namespace {
QQueue<std::function<void(QDialog *)>> &answers()
{
    static QQueue<std::function<void(QDialog *)>> queue;
    return queue;
}

QTimer *&watcher()
{
    static QTimer *timer = nullptr;
    return timer;
}

void watchForModal()
{
    if (watcher())
        return;
    watcher() = new QTimer(qApp);
    watcher()->setInterval(5);
    QObject::connect(watcher(), &QTimer::timeout, [] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || answers().isEmpty())
            return;
        const auto answer = answers().dequeue();
        answer(dialog);
    });
    watcher()->start();
}
} // namespace

void answerModal(std::function<void(QDialog *)> answer)
{
    answers().enqueue(std::move(answer));
    watchForModal();
}

void acceptModal()
{
    answerModal([](QDialog *dialog) { dialog->accept(); });
}

void answerMapName(const QString &name)
{
    answerModal([name](QDialog *dialog) {
        auto *field = dialog->findChild<QLineEdit *>();
        QVERIFY(field);
        field->setText(name);
        dialog->accept();
    });
}

void answerLink(const QString &href, const QString &target, bool ok)
{
    answerModal([href, target, ok](QDialog *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
        auto *combo = dialog->findChild<QComboBox *>();
        QVERIFY(field && combo);
        field->setText(href);
        combo->setEditText(target);
        if (ok)
            dialog->accept();
        else
            dialog->reject();
    });
}

int pendingAnswers()
{
    return answers().size();
}

void dropPendingAnswers()
{
    answers().clear();
}

QRgb patternColor(int x, int y)
{
    return qRgb((x * 7) & 0xff, (y * 5) & 0xff, ((x + y) * 3) & 0xff);
}

QString writePicture(const QString &folder, const QString &fileName, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, patternColor(x, y));
    const QString path = QDir(folder).filePath(fileName);
    const QByteArray format = QFileInfo(fileName).suffix().toLower().toLatin1();
    QImageWriter writer(path, format == "jpeg" ? QByteArray("jpg") : format);
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(100);
    if (!writer.write(image))
        qWarning() << "cannot write" << path << writer.errorString();
    return path;
}

} // namespace TestSupport
