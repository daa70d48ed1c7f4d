#pragma once

#include <QString>
#include <QStringList>

// Open-dialog filters are kept in their "description|pattern|description|pattern"
// form; the file dialog wants one "description (pattern pattern)" entry each.
namespace FileFilter {

// One entry per description and pattern pair. Patterns separated by ";" become
// separated by blanks, and "*.*" (every file) becomes "*", which also takes names
// without a dot.
QStringList nameFilters(const QString &filter);

// The descriptions alone, in order, as the dialog shows them.
QStringList descriptions(const QString &filter);

} // namespace FileFilter
