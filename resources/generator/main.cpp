// SPDX-License-Identifier: MIT
// Makes the program's pictures and its Windows icon from the drawings in
// resources/art. Run by hand after changing a drawing (see resources/README.md);
// the normal build only compiles in what this wrote.

#include "ArtCompiler.h"
#include "IcoFile.h"
#include "shell/Pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream& Err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool WriteIfChanged(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == bytes)
        return false;
    file.close();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw ArtError((path + QStringLiteral(": cannot be written")).toStdString());
    return true;
}

// The colour each picture is seen on in its window, so the contact sheet shows
// the lettering with the contrast a player gets.
QColor SeenOn(const QString& name)
{
    const QColor menuGreen(192, 255, 192);
    const QColor windowBlue(128, 128, 255);
    if (name.startsWith(QStringLiteral("plate-")) || name.startsWith(QStringLiteral("menu-"))
        || name.startsWith(QStringLiteral("word-")))
        return menuGreen;
    if (name == QStringLiteral("icon"))
        return QColor(64, 64, 64);
    return windowBlue;
}

void WriteContactSheet(const QDir& pictures, const QStringList& names, const QString& sheetPath)
{
    constexpr int Zoom = 4;
    constexpr int Margin = 16;
    constexpr int SheetWidth = 1700;
    struct Placed {
        QString name;
        QRect box;
    };
    QList<Placed> placed;
    int x = Margin, y = Margin, rowHeight = 0;
    for (const QString& name : names) {
        QSvgRenderer renderer(pictures.filePath(name + QStringLiteral(".svg")));
        const QSize size = renderer.defaultSize() * Zoom;
        if (x + size.width() > SheetWidth - Margin && x > Margin) {
            x = Margin;
            y += rowHeight + 2 * Margin + 14;
            rowHeight = 0;
        }
        placed.append({name, QRect(QPoint(x, y), size)});
        x += size.width() + Margin;
        rowHeight = qMax(rowHeight, size.height());
    }
    QImage sheet(SheetWidth, y + rowHeight + 2 * Margin + 14, QImage::Format_RGB32);
    sheet.fill(QColor(250, 250, 250));
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    for (const Placed& item : placed) {
        painter.fillRect(item.box, SeenOn(item.name));
        QSvgRenderer renderer(pictures.filePath(item.name + QStringLiteral(".svg")));
        renderer.render(&painter, item.box);
        painter.setPen(Qt::black);
        painter.drawText(item.box.left(), item.box.bottom() + 16, item.name);
    }
    painter.end();
    if (!sheet.save(sheetPath))
        throw ArtError((sheetPath + QStringLiteral(": cannot be written")).toStdString());
}

int Run(const QStringList& arguments)
{
    if (arguments.size() != 4 && !(arguments.size() == 6 && arguments[4] == QStringLiteral("--sheet"))) {
        Err() << "usage: vellumark_artgen <art folder> <pictures folder> <icon.ico> [--sheet <sheet.png>]\n";
        return 2;
    }
    const QDir art(arguments[1]);
    const QDir pictures(arguments[2]);
    const ArtCompiler compiler(art);

    QStringList names;
    for (const QString& fileName : art.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        if (fileName.startsWith(QLatin1Char('_')))
            continue;  // a part other drawings include
        const QByteArray svg = compiler.Compile(fileName);
        const QString target = pictures.filePath(fileName);
        if (!QSvgRenderer(svg).isValid())
            throw ArtError((fileName + QStringLiteral(": the result is no valid SVG")).toStdString());
        if (WriteIfChanged(target, svg))
            Err() << "wrote " << QFileInfo(target).fileName() << '\n';
        names.append(QFileInfo(fileName).completeBaseName());
    }
    for (const QString& fileName : pictures.entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        if (!names.contains(QFileInfo(fileName).completeBaseName()))
            Err() << "warning: pictures/" << fileName << " has no drawing in art/\n";
    }

    const QString icon = pictures.filePath(QStringLiteral("icon.svg"));
    if (!QSvgRenderer(icon).isValid())
        throw ArtError("icon.svg: missing, so the .ico cannot be made");
    QList<QImage> sizes;
    for (const int side : {16, 24, 32, 48, 64, 256})
        sizes.append(RenderPicture(icon, QSize(side, side)));
    if (WriteIfChanged(arguments[3], IcoFile(sizes)))
        Err() << "wrote " << QFileInfo(arguments[3]).fileName() << '\n';

    if (arguments.size() == 6)
        WriteContactSheet(pictures, names, arguments[5]);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts are needed, a screen is not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        return Run(QGuiApplication::arguments());
    } catch (const std::exception& error) {
        Err() << "vellumark_artgen: " << error.what() << '\n';
        return 1;
    }
}
