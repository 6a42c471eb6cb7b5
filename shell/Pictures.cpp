// SPDX-License-Identifier: MIT
#include "shell/Pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#if VELLUMARK_HAS_SVG
#include <QSvgRenderer>
#endif

#include <algorithm>
#include <cstring>

namespace {

const QString ResourceFolder = QStringLiteral(":/pictures/");

bool IsPrerenderedRatio(qreal ratio)
{
    return std::find(Pictures::PrerenderedRatios.begin(), Pictures::PrerenderedRatios.end(), ratio)
        != Pictures::PrerenderedRatios.end();
}

// A picture at a size or scale the build rendered no pixels for: its SVG drawn where
// Qt Svg is built in, else (the Windows build) the nearest larger ready-made
// picture scaled smoothly.
QImage PictureAtOtherScale(const PictureSpec& picture, QSize pixels)
{
#if VELLUMARK_HAS_SVG
    return RenderPicture(PicturePath(picture), pixels);
#else
    return ScaledPrerendered(picture, pixels);
#endif
}

// The build's pixels when there are some for that size and ratio, else drawn.
QPixmap Load(const PictureSpec& picture, QSize size, qreal ratio, const QString& prerendered)
{
    QImage image;
    if (!prerendered.isEmpty())
        image = PrerenderedImage(ResourceFolder + prerendered, size * ratio);
    if (image.isNull())
        image = PictureAtOtherScale(picture, size * ratio);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
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
    return QLatin1String(picture.name) + QLatin1Char('@') + QString::number(ratio) + QStringLiteral("x.argb");
}

QString WindowIconName(int pixels)
{
    return QStringLiteral("icon-") + QString::number(pixels) + QStringLiteral(".argb");
}

QByteArray PrerenderedBytes(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray bytes;
    bytes.reserve(pixels.width() * pixels.height() * 4);
    for (int y = 0; y < pixels.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), pixels.width() * 4);
    return bytes;
}

QImage PrerenderedImage(const QString& resourcePath, QSize pixels)
{
    // The resource may be compressed; its bytes are copied into an image of its own.
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const qsizetype rowBytes = qsizetype{pixels.width()} * 4;
    if (pixels.isEmpty() || bytes.size() != rowBytes * pixels.height())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(image.scanLine(y), bytes.constData() + y * rowBytes, static_cast<std::size_t>(rowBytes));
    return image;
}

QImage ScaledPrerendered(const PictureSpec& picture, QSize pixels)
{
    // The smallest ready-made picture that covers the size, else the largest.
    int chosen = Pictures::PrerenderedRatios.back();
    for (const int ratio : Pictures::PrerenderedRatios) {
        const QSize made = picture.Size() * ratio;
        if (made.width() >= pixels.width() && made.height() >= pixels.height()) {
            chosen = ratio;
            break;
        }
    }
    const QImage made = PrerenderedImage(ResourceFolder + PrerenderedName(picture, chosen), picture.Size() * chosen);
    if (made.isNull() || pixels.isEmpty()) {
        QImage blank(pixels, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        return blank;
    }
    if (made.size() == pixels)
        return made;
    return made.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

#if VELLUMARK_HAS_SVG
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
#endif

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
