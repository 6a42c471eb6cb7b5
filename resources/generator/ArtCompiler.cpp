// SPDX-License-Identifier: MIT
#include "ArtCompiler.h"

#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QSet>
#include <QTransform>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <utility>

namespace {

// Outlines are taken at this size and scaled down, so hinting at the small
// sizes of the pictures never bends a stroke.
constexpr int OutlinePixels = 1000;

[[noreturn]] void Fail(const QString& fileName, const QString& what)
{
    throw ArtError((fileName + QStringLiteral(": ") + what).toStdString());
}

QString Number(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

double NumberAttribute(const QXmlStreamAttributes& attributes, const char* name, double fallback,
                       const QString& fileName)
{
    const QString text = attributes.value(QLatin1String(name)).toString().trimmed();
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        Fail(fileName, QStringLiteral("%1=\"%2\" is not a number").arg(QLatin1String(name), text));
    return value;
}

QFont OutlineFont(const QString& family, const QString& fileName)
{
    QFont font(family);
    font.setPixelSize(OutlinePixels);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    // A substituted font would silently change every picture: refuse instead.
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) != 0)
        Fail(fileName, QStringLiteral("font \"%1\" is not installed").arg(family));
    return font;
}

QString PathData(const QPainterPath& path)
{
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        auto point = [&data](const QPainterPath::Element& e) {
            data += Number(e.x) + QLatin1Char(' ') + Number(e.y);
        };
        if (element.isMoveTo()) {
            data += QLatin1Char('M');
            point(element);
        } else if (element.isLineTo()) {
            data += QLatin1Char('L');
            point(element);
        } else if (element.isCurveTo()) {
            data += QLatin1Char('C');
            point(element);
            data += QLatin1Char(' ');
            point(path.elementAt(i + 1));
            data += QLatin1Char(' ');
            point(path.elementAt(i + 2));
            i += 2;
        }
    }
    return data;
}

// The attributes that only say how to set the text; the rest (fill, stroke,
// transform, opacity) carry over to the path.
const QSet<QString>& TypesettingAttributes()
{
    static const QSet<QString> names{
        QStringLiteral("x"),           QStringLiteral("y"),
        QStringLiteral("font-family"), QStringLiteral("font-size"),
        QStringLiteral("text-anchor"), QStringLiteral("dominant-baseline"),
        QStringLiteral("letter-spacing"),
    };
    return names;
}

void WriteTextAsPath(QXmlStreamReader& reader, QXmlStreamWriter& writer, const QString& fileName)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    const QString family = attributes.value(QStringLiteral("font-family")).toString();
    if (family.isEmpty())
        Fail(fileName, QStringLiteral("<text> on line %1 names no font-family").arg(reader.lineNumber()));
    const double x = NumberAttribute(attributes, "x", 0, fileName);
    const double y = NumberAttribute(attributes, "y", 0, fileName);
    const double size = NumberAttribute(attributes, "font-size", 16, fileName);
    const double spacing = NumberAttribute(attributes, "letter-spacing", 0, fileName);
    const QString anchor = attributes.value(QStringLiteral("text-anchor")).toString();
    const bool central = attributes.value(QStringLiteral("dominant-baseline")) == QStringLiteral("central");
    const qint64 line = reader.lineNumber();
    const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    if (text.isEmpty())
        Fail(fileName, QStringLiteral("<text> on line %1 is empty").arg(line));

    const QFont font = OutlineFont(family, fileName);
    const QFontMetricsF metrics(font);
    const double scale = size / OutlinePixels;
    QPainterPath glyphs;
    double pen = 0;
    for (const QChar character : text) {
        glyphs.addText(pen, 0, font, QString(character));
        pen += metrics.horizontalAdvance(character) + spacing / scale;
    }
    glyphs = QTransform::fromScale(scale, scale).map(glyphs);

    const QRectF ink = glyphs.boundingRect();
    double dx = x;
    if (anchor == QStringLiteral("middle"))
        dx = x - ink.center().x();
    else if (anchor == QStringLiteral("end"))
        dx = x - ink.right();
    const double dy = central ? y - ink.center().y() : y;
    glyphs.translate(dx, dy);

    writer.writeStartElement(QStringLiteral("path"));
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (!TypesettingAttributes().contains(attribute.qualifiedName().toString()))
            writer.writeAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
    }
    writer.writeAttribute(QStringLiteral("d"), PathData(glyphs));
    writer.writeEndElement();
}

} // namespace

ArtCompiler::ArtCompiler(QDir artDir) : artDir_(std::move(artDir)) {}

QByteArray ArtCompiler::Compile(const QString& fileName) const
{
    QFile file(artDir_.filePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        Fail(fileName, QStringLiteral("cannot be read"));
    QXmlStreamReader reader(&file);
    reader.setNamespaceProcessing(false);

    QByteArray output;
    QXmlStreamWriter writer(&output);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);
    writer.writeStartDocument();
    if (!reader.readNextStartElement() || reader.qualifiedName() != QStringLiteral("svg"))
        Fail(fileName, QStringLiteral("the root element is not <svg>"));
    writer.writeStartElement(QStringLiteral("svg"));
    writer.writeAttributes(reader.attributes());
    writer.writeComment(QStringLiteral(" Made from resources/art/%1; change that drawing, not this file. ")
                            .arg(fileName));
    CopyChildren(reader, writer, fileName, 0);
    writer.writeEndElement();
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError())
        Fail(fileName, QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString()));
    writer.writeEndDocument();
    return output;
}

void ArtCompiler::CopyChildren(QXmlStreamReader& reader, QXmlStreamWriter& writer, const QString& fileName,
                               int depth) const
{
    int open = 0;  // elements copied and not yet closed below the current parent
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (reader.qualifiedName() == QStringLiteral("text")) {
                WriteTextAsPath(reader, writer, fileName);
            } else if (reader.qualifiedName() == QStringLiteral("include")) {
                const QString part = reader.attributes().value(QStringLiteral("href")).toString();
                reader.skipCurrentElement();
                IncludePart(part, writer, depth + 1);
            } else {
                writer.writeStartElement(reader.qualifiedName().toString());
                writer.writeAttributes(reader.attributes());
                ++open;
            }
            break;
        case QXmlStreamReader::EndElement:
            if (open == 0)
                return;
            writer.writeEndElement();
            --open;
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace())
                writer.writeCharacters(reader.text().toString());
            break;
        default:
            break;  // comments and processing instructions stay in the drawing
        }
    }
}

void ArtCompiler::IncludePart(const QString& partName, QXmlStreamWriter& writer, int depth) const
{
    if (depth > 8)
        Fail(partName, QStringLiteral("includes itself"));
    QFile file(artDir_.filePath(partName));
    if (!file.open(QIODevice::ReadOnly))
        Fail(partName, QStringLiteral("cannot be read"));
    QXmlStreamReader reader(&file);
    reader.setNamespaceProcessing(false);
    if (!reader.readNextStartElement() || reader.qualifiedName() != QStringLiteral("svg"))
        Fail(partName, QStringLiteral("the root element is not <svg>"));
    CopyChildren(reader, writer, partName, depth);
    if (reader.hasError())
        Fail(partName, QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString()));
}
