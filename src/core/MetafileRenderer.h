#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>

// Draws a Windows metafile at its own size: .wmf through libwmf's SVG device, .emf
// through libemf2svg, the SVG then painted by Qt. The header is read and every record
// is checked to lie within the data before any library sees the bytes, so the caller
// can refuse a foreign, cut-off or absurdly large file before anything is allocated.
class MetafileRenderer
{
public:
    enum class Kind { Wmf, Emf };

    MetafileRenderer(Kind kind, const QByteArray &data);

    // The data starts with a header of this kind.
    bool isMetafile() const { return m_isMetafile; }
    // Every record lies within the data, up to the end-of-file record.
    bool isComplete() const { return m_isComplete; }
    // The size in pixels at 96 dpi that the header claims; empty when it claims none.
    // Not capped: check it before render().
    QSize size() const { return m_size; }

    // A transparent picture of size() with the drawing on it; null when the renderer
    // refuses the records.
    QImage render() const;

private:
    void readWmf();
    void readEmf();
    QByteArray wmfToSvg() const;
    QByteArray emfToSvg() const;

    Kind m_kind;
    QByteArray m_data;
    bool m_isMetafile = false;
    bool m_isComplete = false;
    QSize m_size;
    // Where the picture's frame lies in the coordinates drawn in: libwmf's points for
    // .wmf, the user space of libemf2svg's SVG for .emf.
    QRectF m_frame;
};
