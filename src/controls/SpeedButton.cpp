#include "SpeedButton.h"

#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QPixmap>

SpeedButton::SpeedButton(QWidget *parent, int left) : QToolButton(parent)
{
    setGeometry(left, 2, 25, 25);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
}

void SpeedButton::setHint(const QString &hint)
{
    Component::setHint(hint);
    setToolTip(hint);
}

void SpeedButton::setGlyph(const QString &resource)
{
    const QImage glyphs = QImage(resource).convertToFormat(QImage::Format_ARGB32);
    if (glyphs.isNull())
        return;
    const QRgb transparent = glyphs.pixel(0, glyphs.height() - 1);
    const int side = glyphs.height();
    auto picture = [&](int index) {
        QImage part = glyphs.copy(index * side, 0, side, side);
        for (int y = 0; y < part.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(part.scanLine(y));
            for (int x = 0; x < part.width(); ++x) {
                if (line[x] == transparent)
                    line[x] = qRgba(0, 0, 0, 0);
            }
        }
        return QPixmap::fromImage(part);
    };
    QIcon icon;
    icon.addPixmap(picture(0), QIcon::Normal);
    if (glyphs.width() >= 2 * side)
        icon.addPixmap(picture(1), QIcon::Disabled);
    setIcon(icon);
}
