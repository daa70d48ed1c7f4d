#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// The result of loading a picture: the image, or the text that tells the user why
// it could not be loaded.
struct LoadedPicture
{
    QImage image;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Loads pictures, choosing the decoder by the file's extension alone (in any letter
// case), never by content: bmp, jpg, jpeg, png, gif, ico, tif, tiff through Qt's
// readers, wmf and emf through metafile renderers drawn at the metafile's own size.
namespace PictureLoader {

QStringList extensions();

// Refuses pictures past these sizes instead of decoding them.
constexpr qint64 MaxPixels = 256LL * 1024 * 1024;
constexpr int MaxSide = 65535;

LoadedPicture load(const QString &path);

} // namespace PictureLoader
