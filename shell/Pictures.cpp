#include "shell/Pictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

QString PicturePath(const PictureSpec& picture)
{
    return QStringLiteral(":/pictures/") + QLatin1String(picture.name) + QStringLiteral(".svg");
}

QPixmap Picture(const PictureSpec& picture)
{
    return Picture(picture, picture.Size());
}

QPixmap Picture(const PictureSpec& picture, QSize size)
{
    // Rendering an SVG costs more than a window's whole layout: each picture is
    // drawn once per size and scale.
    static QHash<QString, QPixmap> cache;
    const qreal scale = qApp ? qApp->devicePixelRatio() : 1.0;
    const QString key = QLatin1String(picture.name) + QLatin1Char('@') + QString::number(size.width())
        + QLatin1Char('x') + QString::number(size.height()) + QLatin1Char('@') + QString::number(scale);
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;

    QPixmap pixmap(size * scale);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(PicturePath(picture));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(scale);
    cache.insert(key, pixmap);
    return pixmap;
}

QIcon AppIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (const int side : {16, 24, 32, 48, 64})
            result.addPixmap(Picture(Pictures::Icon, QSize(side, side)));
        return result;
    }();
    return icon;
}
