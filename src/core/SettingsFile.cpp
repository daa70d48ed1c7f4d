#include "SettingsFile.h"

#include <QSaveFile>

namespace SettingsFile {

QString pathIn(const QString &programFolder)
{
    return programFolder + QStringLiteral("Zonefold.ini");
}

QByteArray text(const Settings &settings)
{
    QByteArray out;
    const auto line = [&out](const QByteArray &content) { out += content + "\r\n"; };
    line("[MainWindow]");
    line("");
    line("Left = " + QByteArray::number(settings.left));
    line("Top = " + QByteArray::number(settings.top));
    line("Shape = " + settings.shape.toLatin1());
    line(settings.smallLetter ? "Letter = Small" : "Letter = Capital");
    line("");
    line("[TagListWindow]");
    line("");
    line("TLWLeft = " + QByteArray::number(settings.tagLeft));
    line("TLWTop = " + QByteArray::number(settings.tagTop));
    line("TLWWidth = " + QByteArray::number(settings.tagWidth));
    line("TLWHeight = " + QByteArray::number(settings.tagHeight));
    if (settings.tagOpen)
        line("TLWOpen = true");
    return out;
}

bool write(const QString &path, const Settings &settings)
{
    QSaveFile file(path);
    // Unbuffered, so a short write on a full disk shows in what write() returns;
    // a buffered flush would pass it over and commit the cut-off file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = text(settings);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    return file.commit();
}

QString trimmed(const QString &value)
{
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && value.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && value.at(end - 1).unicode() <= 0x20)
        --end;
    return value.mid(begin, end - begin);
}

bool startsWith(const QString &value, QChar letter)
{
    const QString t = trimmed(value);
    return !t.isEmpty() && t.at(0).toLower() == letter.toLower();
}

} // namespace SettingsFile
