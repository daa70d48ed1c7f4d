#include "FileFilter.h"

namespace FileFilter {

QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        result << parts.at(i) + QLatin1String(" (") + patterns.join(QLatin1Char(' '))
                        + QLatin1Char(')');
    }
    return result;
}

QStringList descriptions(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        result << parts.at(i);
    return result;
}

} // namespace FileFilter
