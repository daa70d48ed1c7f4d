#include "MetafileRenderer.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdlib>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace {

constexpr double ScreenDpi = 96.0;
constexpr double HundredthsOfMmPerInch = 2540.0;

constexpr quint32 WmfPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype WmfPlaceableSize = 22;
constexpr qsizetype WmfHeaderSize = 18;
constexpr quint16 WmfEof = 0x0000;
constexpr quint16 WmfSetWindowOrg = 0x020B;

constexpr quint32 EmrHeader = 1;
constexpr quint32 EmrEof = 14;
constexpr quint32 EmfSignature = 0x464D4520;
constexpr qsizetype EmfMinHeaderSize = 88;

template<typename T> T read(const QByteArray &data, qsizetype offset)
{
    return qFromLittleEndian<T>(data.constData() + offset);
}

// One libwmf session over a private copy of the data, drawing to the SVG device.
class WmfSession
{
public:
    explicit WmfSession(const QByteArray &data)
        : m_bytes(data)
    {
        wmfAPI_Options options {};
        options.function = wmf_svg_function;
        const unsigned long flags
                = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&m_api, flags, &options) != wmf_E_None) {
            release();
            return;
        }
        auto *bytes = reinterpret_cast<unsigned char *>(m_bytes.data());
        if (wmf_mem_open(m_api, bytes, long(m_bytes.size())) != wmf_E_None
                || wmf_scan(m_api, 0, &m_extent) != wmf_E_None)
            release();
    }
    ~WmfSession() { release(); }
    WmfSession(const WmfSession &) = delete;
    WmfSession &operator=(const WmfSession &) = delete;

    wmfAPI *api() const { return m_api; }
    // The drawing's extent in libwmf's coordinates, which is not the picture's frame.
    wmfD_Rect extent() const { return m_extent; }

private:
    void release()
    {
        if (m_api)
            wmf_api_destroy(m_api);
        m_api = nullptr;
    }

    QByteArray m_bytes;
    wmfAPI *m_api = nullptr;
    wmfD_Rect m_extent {};
};

QSize roundedSize(double width, double height)
{
    // Past int the claim is absurd anyway; keep it absurd rather than wrapped.
    const auto clamp = [](double value) { return qRound(qBound(-2e9, value, 2e9)); };
    return QSize(clamp(width), clamp(height));
}

} // namespace

MetafileRenderer::MetafileRenderer(Kind kind, const QByteArray &data)
    : m_kind(kind)
    , m_data(data)
{
    if (kind == Kind::Wmf)
        readWmf();
    else
        readEmf();
}

void MetafileRenderer::readWmf()
{
    const qsizetype length = m_data.size();
    const bool placeable = length >= 4 && read<quint32>(m_data, 0) == WmfPlaceableKey;
    const qsizetype header = placeable ? WmfPlaceableSize : 0;
    if (length < header + WmfHeaderSize) {
        m_isMetafile = placeable;
        return;
    }
    const quint16 type = read<quint16>(m_data, header);
    const quint16 headerWords = read<quint16>(m_data, header + 2);
    const quint16 version = read<quint16>(m_data, header + 4);
    const bool plainHeader = (type == 1 || type == 2) && headerWords == WmfHeaderSize / 2
            && (version == 0x0100 || version == 0x0300);
    m_isMetafile = placeable || plainHeader;
    if (!plainHeader)
        return;

    bool setsWindowOrigin = false;
    qsizetype pos = header + WmfHeaderSize;
    for (;;) {
        if (length - pos < 6)
            return;
        const quint32 words = read<quint32>(m_data, pos);
        const quint16 function = read<quint16>(m_data, pos + 4);
        if (words < 3 || words > quint64(length - pos) / 2)
            return;
        if (function == WmfEof)
            break;
        if (function == WmfSetWindowOrg)
            setsWindowOrigin = true;
        pos += qsizetype(words) * 2;
    }
    m_isComplete = true;

    if (!placeable) {
        // Without a placeable header the file names no frame; its drawing is all we have.
        WmfSession session(m_data);
        if (!session.api())
            return;
        const wmfD_Rect extent = session.extent();
        unsigned int width = 0;
        unsigned int height = 0;
        wmf_display_size(session.api(), &width, &height, ScreenDpi, ScreenDpi);
        m_size = QSize(int(qMin(width, 2147483647u)), int(qMin(height, 2147483647u)));
        m_frame = QRectF(QPointF(extent.TL.x, extent.TL.y), QPointF(extent.BR.x, extent.BR.y));
        return;
    }

    const qint16 left = read<qint16>(m_data, 6);
    const qint16 top = read<qint16>(m_data, 8);
    const qint16 right = read<qint16>(m_data, 10);
    const qint16 bottom = read<qint16>(m_data, 12);
    const quint16 unitsPerInch = read<quint16>(m_data, 14);
    if (unitsPerInch == 0)
        return;
    const double width = double(right) - left;
    const double height = double(bottom) - top;
    m_size = roundedSize(width * ScreenDpi / unitsPerInch, height * ScreenDpi / unitsPerInch);

    // libwmf works in points measured from the window origin; the frame starts at that
    // origin when the records set one, else at the header's own corner.
    const double points = 72.0 / unitsPerInch;
    const QPointF corner = setsWindowOrigin ? QPointF() : QPointF(left * points, top * points);
    m_frame = QRectF(corner, QSizeF(width * points, height * points));
}

void MetafileRenderer::readEmf()
{
    const qsizetype length = m_data.size();
    if (length < EmfMinHeaderSize || read<quint32>(m_data, 0) != EmrHeader
            || read<quint32>(m_data, 40) != EmfSignature)
        return;
    m_isMetafile = true;

    const quint32 headerSize = read<quint32>(m_data, 4);
    if (headerSize < EmfMinHeaderSize || headerSize % 4 != 0 || headerSize > quint64(length))
        return;
    qsizetype pos = headerSize;
    for (;;) {
        if (length - pos < 8)
            return;
        const quint32 type = read<quint32>(m_data, pos);
        const quint32 size = read<quint32>(m_data, pos + 4);
        if (size < 8 || size % 4 != 0 || size > quint64(length - pos))
            return;
        if (type == EmrEof)
            break;
        pos += size;
    }
    m_isComplete = true;

    // The frame, in hundredths of a millimetre, is the picture; the bounds only enclose
    // what was drawn, and libemf2svg puts their corner at the SVG's origin.
    const double boundsLeft = read<qint32>(m_data, 8);
    const double boundsTop = read<qint32>(m_data, 12);
    const double frameLeft = read<qint32>(m_data, 24);
    const double frameTop = read<qint32>(m_data, 28);
    const double frameWidth = read<qint32>(m_data, 32) - frameLeft;
    const double frameHeight = read<qint32>(m_data, 36) - frameTop;
    m_size = roundedSize(frameWidth * ScreenDpi / HundredthsOfMmPerInch,
            frameHeight * ScreenDpi / HundredthsOfMmPerInch);

    // Records draw in the pixels of the reference device the file was made on.
    const auto pixelsPerHundredthMm = [this](qsizetype pixelsAt, qsizetype millimetresAt) {
        const qint32 pixels = read<qint32>(m_data, pixelsAt);
        const qint32 millimetres = read<qint32>(m_data, millimetresAt);
        if (pixels <= 0 || millimetres <= 0)
            return ScreenDpi / HundredthsOfMmPerInch;
        return double(pixels) / (double(millimetres) * 100.0);
    };
    const double scaleX = pixelsPerHundredthMm(72, 80);
    const double scaleY = pixelsPerHundredthMm(76, 84);
    m_frame = QRectF(frameLeft * scaleX - boundsLeft, frameTop * scaleY - boundsTop,
            frameWidth * scaleX, frameHeight * scaleY);
}

QByteArray MetafileRenderer::wmfToSvg() const
{
    WmfSession session(m_data);
    wmfAPI *api = session.api();
    if (!api)
        return {};

    wmf_svg_t *device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);
    if (!device->out)
        return {};
    device->bbox.TL = { float(m_frame.left()), float(m_frame.top()) };
    device->bbox.BR = { float(m_frame.right()), float(m_frame.bottom()) };
    device->width = unsigned(m_size.width());
    device->height = unsigned(m_size.height());
    // Bitmaps go into the SVG itself; otherwise libwmf writes them to files of its own.
    device->flags |= WMF_SVG_INLINE_IMAGES;
    device->image.name = nullptr;

    wmfD_Rect extent = session.extent();
    const bool played = wmf_play(api, 0, &extent) == wmf_E_None;

    char *buffer = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api, device->out, &buffer, &length);
    device->out = nullptr;
    QByteArray svg;
    if (played && buffer)
        svg = QByteArray(buffer, qsizetype(length));
    if (buffer)
        wmf_free(api, buffer);
    return svg;
}

QByteArray MetafileRenderer::emfToSvg() const
{
    char noNamespace[] = "";
    generatorOptions options {};
    options.nameSpace = noNamespace;
    options.svgDelimiter = true;
    options.emfplus = true;

    QByteArray bytes = m_data;
    char *out = nullptr;
    size_t outLength = 0;
    const int converted = emf2svg(bytes.data(), size_t(bytes.size()), &out, &outLength, &options);
    QByteArray svg;
    if (converted == 1 && out)
        svg = QByteArray(out, qsizetype(outLength));
    std::free(out);
    return svg;
}

QImage MetafileRenderer::render() const
{
    if (!m_isComplete || m_size.isEmpty())
        return {};
    const QByteArray svg = m_kind == Kind::Wmf ? wmfToSvg() : emfToSvg();
    if (svg.isEmpty())
        return {};

    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    // libwmf already maps the frame onto the SVG's own width and height.
    if (m_kind == Kind::Emf)
        renderer.setViewBox(m_frame);

    QImage image(m_size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(m_size)));
    painter.end();
    return image;
}
