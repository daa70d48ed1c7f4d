#pragma once

#include <QDialog>
#include <QImage>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class TfmMain;

// Shared helpers for the window tests.
namespace TestSupport {

// Every error box the program raises while it lives, instead of showing them.
class ErrorRecorder
{
public:
    ErrorRecorder();
    ~ErrorRecorder();
    const QList<QPair<QString, QString>> &errors() const { return m_errors; } // caption, text
    QStringList texts() const;
    void clear() { m_errors.clear(); }

private:
    QList<QPair<QString, QString>> m_errors;
};

// The program's three windows, made as start-up makes them, in a program folder of
// their own (so a settings file can be put there, or is written there on close),
// with a command line of `arguments` (the program's own path is added in front).
// Errors are recorded. The windows are destroyed with the fixture.
class Program
{
public:
    explicit Program(const QStringList &arguments = {}, const QByteArray &settings = {});
    ~Program();

    TfmMain *main() const;
    // Shows the main window as the event loop does when start-up has not.
    void start();
    const QString &folder() const { return m_folderPath; }
    QString settingsPath() const;
    ErrorRecorder &errors() { return *m_errors; }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_folderPath;
    std::unique_ptr<ErrorRecorder> m_errors;
};

// Checks that `shape` ("rect", "circle" or "poly") is the tool in force: the current
// shape, the menu's check marks and the tool buttons all agree on it.
void verifyShapeTool(const TfmMain *main, const QString &shape);

// Answers the next modal dialog when it appears: `answer` gets the dialog and
// should close it (accept(), reject(), or keys). Answers queue up in order.
void answerModal(std::function<void(QDialog *)> answer);
// Accepts the next modal dialog as it is.
void acceptModal();
// Sets the map name, then OK.
void answerMapName(const QString &name);
// Fills the link dialog with `href` and `target` and presses OK (or Cancel).
void answerLink(const QString &href, const QString &target, bool ok = true);
// Dialog answers still waiting (a test that expected a dialog finds one left here).
int pendingAnswers();
void dropPendingAnswers();

// Writes a picture file of the given size, filled with a pattern whose pixel
// colour at (x, y) is patternColor(x, y), in the format the extension names.
QString writePicture(const QString &folder, const QString &fileName, const QSize &size);
QRgb patternColor(int x, int y);

} // namespace TestSupport
