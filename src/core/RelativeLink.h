#pragma once

#include <QString>

// The href that leads from the folder of the picture (`base`, a full path, empty
// before any picture was opened) to the chosen file (`target`), written with "/".
// Takes Windows paths (C:\site\map.jpg) as well as POSIX paths.
QString relativeLink(const QString &target, const QString &base);

// The absolute form of a path with "." and ".." folded; a drive path (C:\...) is
// already absolute, anything else not starting with "/" is resolved against the
// current folder. An empty path stays empty.
QString fullPathOf(const QString &path);
