#include "Application.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>

namespace {
struct State
{
    QString title = QStringLiteral("Zonefold");
    QStringList arguments;
    bool argumentsSet = false;
    QString programFolder;
    Application::ErrorHandler errorHandler;
};

State &state()
{
    static State instance;
    return instance;
}
} // namespace

namespace Application {

void initialise()
{
    setTitle(QStringLiteral("Zonefold"));
    // The windows ask for the Japanese Windows face; IPA P Gothic has its metrics.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

QFont windowFont(int pixelSize)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    return font;
}

QString title()
{
    return state().title;
}

void setTitle(const QString &title)
{
    state().title = title;
}

QStringList arguments()
{
    return state().argumentsSet ? state().arguments : QCoreApplication::arguments();
}

void setArguments(const QStringList &arguments)
{
    state().arguments = arguments;
    state().argumentsSet = true;
}

QString programFolder()
{
    if (!state().programFolder.isEmpty())
        return state().programFolder;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void setProgramFolder(const QString &folder)
{
    state().programFolder = folder;
}

void showError(const QString &text)
{
    if (state().errorHandler) {
        state().errorHandler(title(), text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, title(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void setErrorHandler(ErrorHandler handler)
{
    state().errorHandler = std::move(handler);
}

} // namespace Application
