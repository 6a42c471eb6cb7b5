// Draws the program's icon into the PNG sizes a desktop icon theme wants:
//   vellumark_iconset <icon.svg> <output folder> <icon name> <size>...
// writes <output folder>/hicolor/<N>x<N>/apps/<icon name>.png for every size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Drawing into an image needs no screen, and the build may have none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "usage: vellumark_iconset <icon.svg> <output folder> <icon name> <size>...\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "vellumark_iconset: %s is not a drawing Qt can render\n", qUtf8Printable(arguments.at(1)));
        return 1;
    }
    for (qsizetype i = 4; i < arguments.size(); ++i) {
        bool isNumber = false;
        const int size = arguments.at(i).toInt(&isNumber);
        if (!isNumber || size <= 0) {
            std::fprintf(stderr, "vellumark_iconset: %s is not a size\n", qUtf8Printable(arguments.at(i)));
            return 2;
        }
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(arguments.at(2)).arg(size);
        const QString path = folder + u'/' + arguments.at(3) + QStringLiteral(".png");
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(folder) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "vellumark_iconset: cannot write %s\n", qUtf8Printable(path));
            return 1;
        }
    }
    return 0;
}
