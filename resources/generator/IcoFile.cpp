// SPDX-License-Identifier: MIT
#include "IcoFile.h"

#include <QBuffer>
#include <QtEndian>

#include <stdexcept>

namespace {

void Append16(QByteArray& bytes, quint16 value)
{
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 2);
}

void Append32(QByteArray& bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 4);
}

} // namespace

QByteArray IcoFile(const QList<QImage>& images)
{
    QList<QByteArray> pngs;
    for (const QImage& image : images) {
        if (image.width() != image.height() || image.width() < 1 || image.width() > 256)
            throw std::invalid_argument("icon images must be square, 1 to 256 pixels");
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
        pngs.append(png);
    }

    QByteArray ico;
    Append16(ico, 0);  // reserved
    Append16(ico, 1);  // an icon, not a cursor
    Append16(ico, static_cast<quint16>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int side = images[i].width();
        ico.append(static_cast<char>(side == 256 ? 0 : side));  // 0 stands for 256
        ico.append(static_cast<char>(side == 256 ? 0 : side));
        ico.append('\0');  // no palette
        ico.append('\0');
        Append16(ico, 1);   // colour planes
        Append16(ico, 32);  // bits per pixel
        Append32(ico, static_cast<quint32>(pngs[i].size()));
        Append32(ico, offset);
        offset += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray& png : pngs)
        ico.append(png);
    return ico;
}
