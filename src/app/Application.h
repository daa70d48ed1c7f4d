#pragma once

#include "AppError.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

// What the windows share of the application: its title (the caption of error
// boxes), its command line, and the error box that every failing handler ends in.
namespace Application {

// Titles the application "Zonefold" and sets up the window fonts.
void initialise();

// The windows' font, "ＭＳ Ｐゴシック" (a face with its metrics stands in for it),
// `pixelSize` pixels high.
QFont windowFont(int pixelSize);

QString title();
void setTitle(const QString &title);

// The argument vector: the program itself first, then the command-line arguments.
QStringList arguments();
void setArguments(const QStringList &arguments);

// The folder of the running executable, with a trailing separator (tests may
// name another, so that they neither read nor write the program's settings).
QString programFolder();
void setProgramFolder(const QString &folder);

// Shows `text` in an error box captioned with the application title.
void showError(const QString &text);
// Tests take the error box's place here; an empty handler puts the box back.
using ErrorHandler = std::function<void(const QString &caption, const QString &text)>;
void setErrorHandler(ErrorHandler handler);

// Runs a handler; a failure that leaves it ends in the error box, and the program
// goes on with the state reached.
template<typename Handler>
void guard(Handler &&handler)
{
    try {
        handler();
    } catch (const AppError &error) {
        showError(error.text());
    } catch (const std::exception &error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
}

} // namespace Application
