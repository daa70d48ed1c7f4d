#include "RelativeLink.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// A drive is a letter and ":" followed by a separator or nothing. Requiring the
// separator keeps a POSIX name such as "c:notes" from passing for a drive.
bool hasDrivePrefix(const QString &path)
{
    if (path.size() < 2 || path.at(1) != QLatin1Char(':'))
        return false;
    const char16_t letter = path.at(0).unicode();
    const bool isLetter = (letter >= u'a' && letter <= u'z') || (letter >= u'A' && letter <= u'Z');
    return isLetter && (path.size() == 2 || isSeparator(path.at(2)));
}

// The last part of a path as the user chose it. A ":" inside a POSIX name is part
// of the name, so only a drive prefix is cut besides the folders.
QString fileNameOf(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')),
                                     path.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0)
        return path.mid(slash + 1);
    return hasDrivePrefix(path) ? path.mid(2) : path;
}

} // namespace

QString fullPathOf(const QString &path)
{
    if (path.isEmpty())
        return path;

    QString root;
    QString rest;
    QChar separator = QLatin1Char('/');
    if (hasDrivePrefix(path)) {
        separator = QLatin1Char('\\');
        root = path.left(2) + separator;
        rest = path.mid(2);
    } else if (isSeparator(path.at(0))) {
        root = separator;
        rest = path;
    } else {
        root = separator;
        rest = QDir::currentPath() + separator + path;
    }

    QStringList folded;
    QString part;
    const auto takePart = [&folded](const QString &name) {
        if (name.isEmpty() || name == QLatin1String("."))
            return;
        if (name == QLatin1String("..")) {
            // Going up from the root stays at the root, as the full-path operation does.
            if (!folded.isEmpty())
                folded.removeLast();
            return;
        }
        folded.append(name);
    };
    for (const QChar c : std::as_const(rest)) {
        if (isSeparator(c)) {
            takePart(part);
            part.clear();
        } else {
            part += c;
        }
    }
    takePart(part);

    QString result = root + folded.join(separator);
    if (!folded.isEmpty() && isSeparator(rest.back()))
        result += separator;
    return result;
}

QString relativeLink(const QString &target, const QString &base)
{
    QString t = fullPathOf(target).replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString b = fullPathOf(base).replace(QLatin1Char('\\'), QLatin1Char('/'));

    // Strip the leading components both paths share, compared exactly.
    int stripped = 0;
    for (;;) {
        const qsizetype p = t.indexOf(QLatin1Char('/'));
        const qsizetype q = b.indexOf(QLatin1Char('/'));
        if (p < 0 || q < 0 || p != q)
            break;
        if (QStringView(t).left(p + 1) != QStringView(b).left(q + 1))
            break;
        t.remove(0, p + 1);
        b.remove(0, q + 1);
        ++stripped;
    }

    // Nothing in common: different drives, or no picture yet. The first component
    // is the drive or the POSIX root, so a ":" left in a name does not decide this.
    if (stripped == 0)
        return fileNameOf(target);

    const QString up = QStringLiteral("../");
    return up.repeated(b.count(QLatin1Char('/'))) + t;
}
