// SPDX-License-Identifier: MIT
// Renders every picture listed in shell/Pictures.h from its SVG into the pixels the
// program compiles in, one file for each prerendered device pixel ratio, and the
// icon at the sides asked for: bare pixels for a file ending in .argb, else a PNG
// (the desktop's icon set). Every build runs it (see ../CMakeLists.txt): the SVGs
// are already outlined, so no fonts are needed. The pixels are in the build
// machine's byte order, which is the program's.
// Usage: vellumark_render <svg folder> <output folder> [<side> <icon file>]...

#include "shell/Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

#include <stdexcept>

namespace {

struct RenderError : std::runtime_error {
    explicit RenderError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

QString CheckedSvg(const QDir& folder, const char* name)
{
    const QString path = folder.filePath(QLatin1String(name) + QStringLiteral(".svg"));
    if (!QSvgRenderer(path).isValid())
        throw RenderError(path + QStringLiteral(": missing or no valid SVG"));
    return path;
}

void Save(const QImage& image, const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        throw RenderError(QFileInfo(path).path() + QStringLiteral(": cannot be created"));
    // Through a temporary file, so a stopped build never leaves half a PNG for the next.
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written && path.endsWith(QStringLiteral(".argb"))) {
        const QByteArray bytes = PrerenderedBytes(image);
        written = file.write(bytes) == bytes.size();
    } else if (written) {
        // Quality 0 asks for the strongest compression; PNG stays lossless.
        written = image.save(&file, "PNG", 0);
    }
    if (!written || !file.commit())
        throw RenderError(path + QStringLiteral(": cannot be written"));
}

void Run(const QStringList& arguments)
{
    if (arguments.size() < 3 || arguments.size() % 2 == 0)
        throw RenderError(QStringLiteral("usage: vellumark_render <svg folder> <output folder> [<side> <icon file>]..."));
    const QDir svgs(arguments[1]);
    const QDir rendered(arguments[2]);

    // The build expects a PNG for every SVG it finds, so an SVG missing from the
    // list would leave it waiting for a file that never comes.
    QStringList unlisted = svgs.entryList({QStringLiteral("*.svg")}, QDir::Files);
    for (const PictureSpec& picture : Pictures::All) {
        const QString svg = CheckedSvg(svgs, picture.name);
        unlisted.removeAll(QFileInfo(svg).fileName());
        for (const int ratio : Pictures::PrerenderedRatios)
            Save(RenderPicture(svg, picture.Size() * ratio), rendered.filePath(PrerenderedName(picture, ratio)));
    }
    if (!unlisted.isEmpty())
        throw RenderError(unlisted.join(QStringLiteral(", ")) + QStringLiteral(": not listed in shell/Pictures.h"));

    const QString icon = CheckedSvg(svgs, Pictures::Icon.name);
    for (qsizetype i = 3; i < arguments.size(); i += 2) {
        bool isNumber = false;
        const int side = arguments[i].toInt(&isNumber);
        if (!isNumber || side < 1)
            throw RenderError(arguments[i] + QStringLiteral(": not an icon side in pixels"));
        Save(RenderPicture(icon, QSize(side, side)), arguments[i + 1]);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // The application sets up the same drawing code a window's painter uses; a
    // screen is not needed, and a build has none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        Run(QGuiApplication::arguments());
        return 0;
    } catch (const std::exception& error) {
        QTextStream(stderr) << "vellumark_render: " << error.what() << '\n';
        return 1;
    }
}
