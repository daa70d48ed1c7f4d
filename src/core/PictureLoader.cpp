#include "PictureLoader.h"

#include "MetafileRenderer.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

enum class Decoder { Bmp, Jpeg, Png, Gif, Ico, Wmf, Emf, Tiff };

struct Format
{
    const char *extension;
    Decoder decoder;
    const char *qtFormat; // null for the metafiles, which Qt cannot read
};

constexpr Format Formats[] = {
    { "bmp", Decoder::Bmp, "bmp" },
    { "jpg", Decoder::Jpeg, "jpeg" },
    { "jpeg", Decoder::Jpeg, "jpeg" },
    { "png", Decoder::Png, "png" },
    { "gif", Decoder::Gif, "gif" },
    { "ico", Decoder::Ico, "ico" },
    { "wmf", Decoder::Wmf, nullptr },
    { "emf", Decoder::Emf, nullptr },
    { "tif", Decoder::Tiff, "tiff" },
    { "tiff", Decoder::Tiff, "tiff" },
};

// Qt's default of 128 MB refuses an 8000 by 6000 photo (192 MB decoded); the size check
// before decoding keeps pictures within MaxPixels, which at four bytes a pixel is this.
constexpr int AllocationLimitMb = int(PictureLoader::MaxPixels * 4 / (1024 * 1024));
// No picture within MaxPixels needs a bigger file, not even an uncompressed bitmap.
constexpr qint64 MaxFileBytes = PictureLoader::MaxPixels * 4 + 64 * 1024 * 1024;

const Format *formatFor(const QString &extension)
{
    const QByteArray lower = extension.toLower().toLatin1();
    for (const Format &format : Formats) {
        if (lower == format.extension)
            return &format;
    }
    return nullptr;
}

bool tooLarge(QSize size)
{
    return size.width() > PictureLoader::MaxSide || size.height() > PictureLoader::MaxSide
            || qint64(size.width()) * size.height() > PictureLoader::MaxPixels;
}

LoadedPicture refused(const QString &text)
{
    return LoadedPicture { QImage(), text };
}

QString unknownExtensionText(const QString &extension)
{
    return QStringLiteral("拡張子 .%1 の画像形式は処理できません").arg(extension);
}

QString notThisKindText(const QString &name, const QString &extension)
{
    return QStringLiteral("%1 は .%2 の画像として読めません").arg(name, extension);
}

QString damagedText(const QString &name)
{
    return QStringLiteral("画像 %1 は途中で切れているか壊れています").arg(name);
}

QString tooLargeText(const QString &name, QSize size)
{
    return QStringLiteral("画像 %1 が大きすぎます (%2×%3)")
            .arg(name, QString::number(size.width()), QString::number(size.height()));
}

const uchar *bytes(const QByteArray &data)
{
    return reinterpret_cast<const uchar *>(data.constData());
}

// Qt draws a bitmap whose pixel rows run past the end of the file without complaint.
bool bmpComplete(const QByteArray &data)
{
    if (data.size() < 18)
        return false;
    const uchar *p = bytes(data);
    const double pixelsAt = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    double width = 0;
    double height = 0;
    double bitsPerPixel = 0;
    quint32 compression = 0;
    double imageBytes = 0;
    if (infoSize == 12 && data.size() >= 26) {
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
        bitsPerPixel = qFromLittleEndian<quint16>(p + 24);
    } else if (infoSize >= 40 && data.size() >= 54) {
        width = qFromLittleEndian<qint32>(p + 18);
        height = qAbs(double(qFromLittleEndian<qint32>(p + 22)));
        bitsPerPixel = qFromLittleEndian<quint16>(p + 28);
        compression = qFromLittleEndian<quint32>(p + 30);
        imageBytes = qFromLittleEndian<quint32>(p + 34);
    } else {
        return false;
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (uncompressed) {
        const double rowBytes = std::floor((width * bitsPerPixel + 31) / 32) * 4;
        imageBytes = rowBytes * height;
    }
    return double(data.size()) >= pixelsAt + imageBytes;
}

// libjpeg pads a cut-off scan with grey and only warns; a whole file ends in EOI.
bool jpegComplete(const QByteArray &data)
{
    const uchar *p = bytes(data);
    const qsizetype length = data.size();
    if (length < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return false;
    const auto isRestart = [](uchar marker) { return marker >= 0xD0 && marker <= 0xD7; };
    qsizetype pos = 2;
    for (;;) {
        // Stray bytes between segments are tolerated by decoders, so by us too.
        const void *ff = std::memchr(p + pos, 0xFF, size_t(length - pos));
        if (!ff)
            return false;
        pos = static_cast<const uchar *>(ff) - p;
        while (pos < length && p[pos] == 0xFF)
            ++pos;
        if (pos >= length)
            return false;
        const uchar marker = p[pos++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x00 || marker == 0x01 || isRestart(marker))
            continue;
        if (length - pos < 2)
            return false;
        const quint16 segment = qFromBigEndian<quint16>(p + pos);
        if (segment < 2 || segment > length - pos)
            return false;
        pos += segment;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a
        // restart.
        for (;;) {
            const void *next = std::memchr(p + pos, 0xFF, size_t(length - pos));
            if (!next)
                return false;
            pos = static_cast<const uchar *>(next) - p;
            if (pos + 1 >= length)
                return false;
            const uchar following = p[pos + 1];
            if (following != 0x00 && following != 0xFF && !isRestart(following))
                break;
            pos += following == 0xFF ? 1 : 2;
        }
    }
}

// Qt shows a GIF whose image data stops short as far as it got; we want all of the
// first image, which is the one shown.
bool gifComplete(const QByteArray &data)
{
    const uchar *p = bytes(data);
    const qsizetype length = data.size();
    if (length < 13)
        return false;
    const auto colourTableBytes = [](uchar flags) {
        return (flags & 0x80) ? qsizetype(3) << ((flags & 0x07) + 1) : qsizetype(0);
    };
    qsizetype pos = 13 + colourTableBytes(p[10]);
    const auto skipSubBlocks = [&]() {
        while (pos < length) {
            const uchar size = p[pos++];
            if (size == 0)
                return true;
            pos += size;
        }
        return false;
    };
    while (pos < length) {
        const uchar block = p[pos++];
        if (block == 0x21) {
            ++pos; // the extension's label
            if (!skipSubBlocks())
                return false;
        } else if (block == 0x2C) {
            if (length - pos < 10)
                return false;
            pos += 9 + colourTableBytes(p[pos + 8]);
            ++pos; // the LZW code size
            return skipSubBlocks();
        } else {
            // A trailer before any image, or something unknown: Qt's reader judges it.
            return true;
        }
    }
    return false;
}

bool complete(Decoder decoder, const QByteArray &data)
{
    switch (decoder) {
    case Decoder::Bmp:
        return bmpComplete(data);
    case Decoder::Jpeg:
        return jpegComplete(data);
    case Decoder::Gif:
        return gifComplete(data);
    default:
        // Qt's PNG, icon and TIFF readers fail on data that stops short.
        return true;
    }
}

LoadedPicture decodeRaster(
        const QByteArray &data, const Format &format, const QString &name, const QString &extension)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format.qtFormat);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(AllocationLimitMb);
    if (!reader.canRead())
        return refused(notThisKindText(name, extension));
    const QSize size = reader.size();
    if (size.isValid() && tooLarge(size))
        return refused(tooLargeText(name, size));
    if (!complete(format.decoder, data))
        return refused(damagedText(name));

    const QImage image = reader.read();
    if (image.isNull())
        return refused(damagedText(name));
    // Two formats only, so that painting the view never converts on the fly.
    const QImage converted = image.convertToFormat(
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return LoadedPicture { converted.isNull() ? image : converted, QString() };
}

LoadedPicture drawMetafile(
        const QByteArray &data, Decoder decoder, const QString &name, const QString &extension)
{
    const MetafileRenderer metafile(
            decoder == Decoder::Wmf ? MetafileRenderer::Kind::Wmf : MetafileRenderer::Kind::Emf,
            data);
    if (!metafile.isMetafile())
        return refused(notThisKindText(name, extension));
    if (tooLarge(metafile.size()))
        return refused(tooLargeText(name, metafile.size()));
    if (!metafile.isComplete() || metafile.size().isEmpty())
        return refused(damagedText(name));
    const QImage image = metafile.render();
    if (image.isNull())
        return refused(damagedText(name));
    return LoadedPicture { image, QString() };
}

} // namespace

namespace PictureLoader {

QStringList extensions()
{
    QStringList list;
    for (const Format &format : Formats)
        list << QString::fromLatin1(format.extension);
    return list;
}

LoadedPicture load(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString extension = info.suffix();
    const Format *format = formatFor(extension);
    if (!format
            || (format->qtFormat
                    && !QImageReader::supportedImageFormats().contains(format->qtFormat)))
        return refused(unknownExtensionText(extension));

    if (!info.exists())
        return refused(QStringLiteral("ファイル %1 が見つかりません").arg(name));
    const QString cannotOpen = QStringLiteral("ファイル %1 を開けません").arg(name);
    // A folder or a pipe would fail to open or wait for a writer forever.
    if (!info.isFile())
        return refused(cannotOpen);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(cannotOpen);
    if (file.size() > MaxFileBytes)
        return refused(QStringLiteral("ファイル %1 が大きすぎます").arg(name));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refused(cannotOpen);

    if (format->decoder == Decoder::Wmf || format->decoder == Decoder::Emf)
        return drawMetafile(data, format->decoder, name, extension);
    return decodeRaster(data, *format, name, extension);
}

} // namespace PictureLoader
