#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Read-only INI lookup with the rules the settings reader relies on: section and
// key names match without regard to letter case, blanks around key names are
// ignored (in the file and in the request), and a value is the text after the
// first "=" with the blanks around it removed. Damaged, huge or binary files never
// fail: what cannot be read is simply not found.
class IniFile
{
public:
    explicit IniFile(const QString &path);
    static IniFile fromText(const QByteArray &text);

    // Optional sign, then decimal digits or hexadecimal after "0x", "0X", "x", "X"
    // or "$"; leading blanks skipped. The default for a missing key or a value that
    // is no valid 32-bit integer.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // The most the reader takes from a file; the rest is ignored.
    static constexpr qint64 MaxBytes = 1024 * 1024;

private:
    IniFile() = default;
    void parse(const QByteArray &text);

    struct Entry
    {
        QString section; // case-folded
        QString key;     // case-folded, blanks removed around it
        QString value;   // blanks removed around it
    };
    QVector<Entry> m_entries;
};

// The integer rule of IniFile::readInteger; false when `text` is no valid 32-bit integer.
bool parseIniInteger(const QString &text, int *value);
