#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <limits>

namespace {

QString lookupName(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

// The file is ANSI text on the system it came from; UTF-8 here. Anything that is
// not valid UTF-8 is still read, byte for byte, so a damaged file keeps what it can.
QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

IniFile::IniFile(const QString &path)
{
    // A folder, a device or a pipe is no settings file; reading one could block.
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = file.read(MaxBytes);
    if (!file.atEnd()) {
        // Drop the line cut in half, so it cannot spoil the decoding of the rest.
        bytes.truncate(bytes.lastIndexOf('\n') + 1);
    }
    parse(bytes);
}

IniFile IniFile::fromText(const QByteArray &text)
{
    IniFile ini;
    ini.parse(text);
    return ini;
}

void IniFile::parse(const QByteArray &text)
{
    const QString all = decode(text);
    bool inSection = false;
    QString section;
    for (QStringView line : QStringView(all).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView content = line.trimmed();
        if (content.startsWith(u'[')) {
            qsizetype close = content.indexOf(u']');
            if (close < 0)
                close = content.size();
            section = lookupName(content.mid(1, close - 1).toString());
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        // Lines before the first section header belong to no section anyone can ask for.
        if (!inSection || equals < 0)
            continue;
        const QString key = lookupName(line.left(equals).toString());
        if (key.isEmpty())
            continue;
        m_entries.append({section, key, line.mid(equals + 1).trimmed().toString()});
    }
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QString missing; // null, unlike any value found, which is at least empty
    const QString text = readString(section, key, missing);
    int value = 0;
    if (text.isNull() || !parseIniInteger(text, &value))
        return defaultValue;
    return value;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const QString wantedSection = lookupName(section);
    const QString wantedKey = lookupName(key);
    for (const Entry &entry : m_entries) {
        if (entry.section == wantedSection && entry.key == wantedKey)
            return entry.value.isNull() ? QStringLiteral("") : entry.value;
    }
    return defaultValue;
}

bool parseIniInteger(const QString &text, int *value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text.at(i) == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text.at(i) == u'x' || text.at(i) == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0'
               && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;

    // The magnitude may reach 2^31 only for a negative number.
    const qint64 limit = negative ? qint64(std::numeric_limits<int>::max()) + 1
                                  : qint64(std::numeric_limits<int>::max());
    qint64 magnitude = 0;
    for (; i < n; ++i) {
        const int digit = hexDigit(text.at(i));
        if (digit < 0 || digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    *value = int(negative ? -magnitude : magnitude);
    return true;
}
