#include "shell/Pictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

const QString ResourceFolder = QStringLiteral(":/pictures/");

bool IsPrerenderedRatio(qreal ratio)
{
    return std::find(Pictures::PrerenderedRatios.begin(), Pictures::PrerenderedRatios.end(), ratio)
        != Pictures::PrerenderedRatios.end();
}

// The build's PNG when there is one for that size and ratio, else the SVG drawn.
QPixmap Load(const PictureSpec& picture, QSize size, qreal ratio, const QString& prerendered)
{
    QPixmap pixmap;
    if (prerendered.isEmpty() || !pixmap.load(ResourceFolder + prerendered, "PNG"))
        pixmap = QPixmap::fromImage(RenderPicture(PicturePath(picture), size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

qreal ScreenRatio()
{
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

} // namespace

QString PicturePath(const PictureSpec& picture)
{
    return ResourceFolder + QLatin1String(picture.name) + QStringLiteral(".svg");
}

QString PrerenderedName(const PictureSpec& picture, int ratio)
{
    return QLatin1String(picture.name) + QLatin1Char('@') + QString::number(ratio) + QStringLiteral("x.png");
}

QString WindowIconName(int pixels)
{
    return QStringLiteral("icon-") + QString::number(pixels) + QStringLiteral(".png");
}

QImage RenderPicture(const QString& svgPath, QSize pixels)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(svgPath);
    if (renderer.isValid()) {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    return image;
}

QPixmap Picture(const PictureSpec& picture)
{
    return Picture(picture, picture.Size());
}

QPixmap Picture(const PictureSpec& picture, QSize size)
{
    return Picture(picture, size, ScreenRatio());
}

QPixmap Picture(const PictureSpec& picture, QSize size, qreal ratio)
{
    // Windows are built afresh at every opening; each picture is loaded once per
    // size and scale.
    static QHash<QString, QPixmap> cache;
    const QString key = QLatin1String(picture.name) + QLatin1Char('@') + QString::number(size.width())
        + QLatin1Char('x') + QString::number(size.height()) + QLatin1Char('@') + QString::number(ratio);
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    const bool prerendered = size == picture.Size() && IsPrerenderedRatio(ratio);
    const QPixmap pixmap = Load(picture, size, ratio, prerendered ? PrerenderedName(picture, int(ratio)) : QString());
    cache.insert(key, pixmap);
    return pixmap;
}

QIcon AppIcon()
{
    static const QIcon icon = [] {
        const qreal ratio = ScreenRatio();
        const bool prerendered = IsPrerenderedRatio(ratio);
        QIcon result;
        for (const int side : Pictures::WindowIconSides)
            result.addPixmap(Load(Pictures::Icon, QSize(side, side), ratio,
                                  prerendered ? WindowIconName(side * int(ratio)) : QString()));
        return result;
    }();
    return icon;
}
