#include "MapMarkup.h"

#include <algorithm>

namespace MapMarkup {

namespace {

QString point(int x, int y)
{
    return QString::number(x) + QLatin1Char(',') + QString::number(y);
}

QString cased(const QString &text, LetterCase letterCase)
{
    return letterCase == LetterCase::Capital ? asciiUpper(text) : text;
}

// The document's own line break: the first break decides; a document without
// any break gets the tag list's "\n".
QString lineBreakOf(const QString &document)
{
    const qsizetype lf = document.indexOf(QLatin1Char('\n'));
    if (lf > 0 && document.at(lf - 1) == QLatin1Char('\r'))
        return QStringLiteral("\r\n");
    return QStringLiteral("\n");
}

} // namespace

QString asciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    }
    return upper;
}

QString imageLine(const QString &fileName, const QString &mapName, int width, int height,
                  LetterCase letterCase)
{
    return cased(QStringLiteral("<img src=\""), letterCase) + fileName
            + cased(QStringLiteral("\" usemap=\"#") + mapName + QStringLiteral("\" width=")
                            + QString::number(width) + QStringLiteral(" height=")
                            + QString::number(height) + QStringLiteral(" border=0>"),
                    letterCase);
}

QString mapLine(const QString &mapName, LetterCase letterCase)
{
    return cased(QStringLiteral("<map name=\"") + mapName + QStringLiteral("\">"), letterCase);
}

QString closingLine(LetterCase letterCase)
{
    return cased(QStringLiteral("</map>"), letterCase);
}

QString areaHead(const QString &shape, int x, int y)
{
    return QStringLiteral("  <area shape=\"") + shape + QStringLiteral("\" coords=\"")
            + point(x, y);
}

QString rectHead(const QString &shape, int x0, int y0, int x1, int y1)
{
    return areaHead(shape, std::min(x0, x1), std::min(y0, y1)) + QLatin1Char(' ')
            + point(std::max(x0, x1), std::max(y0, y1));
}

QString withRadius(const QString &pending, int radius)
{
    return pending + QLatin1Char(' ') + QString::number(radius);
}

QString withVertex(const QString &pending, int x, int y)
{
    return pending + QLatin1Char(' ') + point(x, y);
}

QString defaultAreaHead(int width, int height)
{
    return QStringLiteral("  <area shape=\"rect\" coords=\"0,0 ") + point(width, height);
}

QString withLinkTail(const QString &pending, const QString &href, const QString &target,
                     LetterCase letterCase)
{
    QString line = cased(pending + QStringLiteral("\" href=\""), letterCase) + href;
    // A target of blanks is still a target; only an empty one is left out.
    if (!target.isEmpty())
        line += cased(QStringLiteral("\" target=\""), letterCase) + target;
    return line + QStringLiteral("\">");
}

int lineCount(const QString &document)
{
    if (document.isEmpty())
        return 0;
    const int breaks = int(document.count(QLatin1Char('\n')));
    return document.endsWith(QLatin1Char('\n')) ? breaks : breaks + 1;
}

int areaInsertPosition(const QString &document)
{
    if (document.isEmpty())
        return -1;
    // The last line begins after the last break that is not the document's final one.
    qsizetype end = document.size();
    if (document.endsWith(QLatin1Char('\n')))
        --end;
    if (end == 0)
        return 0;
    return int(document.lastIndexOf(QLatin1Char('\n'), end - 1) + 1);
}

QString insertAreaLine(const QString &document, const QString &line)
{
    const int position = areaInsertPosition(document);
    if (position < 0)
        return document;
    QString result = document;
    return result.insert(position, line + lineBreakOf(document));
}

QString withCrLf(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.count(QLatin1Char('\n')));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') && (i == 0 || text.at(i - 1) != QLatin1Char('\r')))
            result += QLatin1Char('\r');
        result += c;
    }
    return result;
}

} // namespace MapMarkup
