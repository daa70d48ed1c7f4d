#pragma once

#include <QByteArray>
#include <QString>

// The settings file "Zonefold.ini": its exact text, its place, and the rules for
// reading its values back.
struct Settings
{
    int left = 0;
    int top = 0;
    QString shape = QStringLiteral("rect");
    bool smallLetter = true;
    int tagLeft = 0;
    int tagTop = 0;
    int tagWidth = 0;
    int tagHeight = 0;
    bool tagOpen = false;
};

namespace SettingsFile {

// programFolder already ends with a separator.
QString pathIn(const QString &programFolder);

// The thirteen lines (fourteen with "TLWOpen = true"), ASCII, CR LF after each.
QByteArray text(const Settings &settings);

// Replaces the file as a whole through a temporary file and a rename, so a crash
// or a full disk never leaves half a file. False when it could not be written.
bool write(const QString &path, const Settings &settings);

// A stored value with blanks and control characters removed at both ends.
QString trimmed(const QString &value);
// True when the trimmed value is not empty and begins with `letter` in either case
// ("c" for circle and capital, "p" for poly, "t" for true).
bool startsWith(const QString &value, QChar letter);

} // namespace SettingsFile
