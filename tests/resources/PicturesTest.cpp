#include "shell/Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

// Failures name the picture rather than dumping its bytes.
void PrintTo(const PictureSpec& picture, std::ostream* out)
{
    *out << picture.name;
}

namespace {

const QString SourceDir = QStringLiteral(VELLUMARK_SOURCE_DIR);

QImage Render(const PictureSpec& picture, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(PicturePath(picture));
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Colours by what a player would call them, loose enough for gradients and
// anti-aliasing, tight enough that a plate drawn red or a face left blank fails.
struct Shade {
    const char* name;
    std::function<bool(QColor)> matches;
};
const Shade Clear{"transparent", [](QColor c) { return c.alpha() < 24; }};
const Shade Orange{"orange", [](QColor c) {
                       return c.alpha() > 230 && c.red() > 200 && c.green() > 90 && c.green() < 200
                           && c.blue() < 110;
                   }};
const Shade Red{"red", [](QColor c) {
                    return c.alpha() > 230 && c.red() > 170 && c.green() < 100 && c.blue() < 100;
                }};
const Shade Blue{"blue", [](QColor c) {
                     return c.alpha() > 230 && c.blue() > 140 && c.blue() > c.red() + 60
                         && c.blue() > c.green() + 20;
                 }};
const Shade White{"white", [](QColor c) {
                      return c.alpha() > 240 && c.red() > 235 && c.green() > 235 && c.blue() > 235;
                  }};
const Shade Black{"black", [](QColor c) {
                      return c.alpha() > 230 && c.red() < 60 && c.green() < 60 && c.blue() < 70;
                  }};
const Shade Yellow{"yellow", [](QColor c) {
                       return c.alpha() > 230 && c.red() > 220 && c.green() > 200 && c.blue() < 90;
                   }};
const Shade DarkGreen{"dark green", [](QColor c) {
                          return c.alpha() > 230 && c.green() > 60 && c.green() < 150 && c.red() < 50
                              && c.blue() < 70;
                      }};

struct Spot {
    QPoint at;
    const Shade& shade;
};

struct Look {
    PictureSpec picture;
    std::vector<Spot> spots;           // what stands at these pixels
    std::vector<const Shade*> somewhere;  // and what must be found anywhere
};

const std::vector<Look>& Looks()
{
    static const std::vector<Look> looks = [] {
        std::vector<Look> all;
        for (const PictureSpec& plate : {Pictures::PlateHajime, Pictures::PlateJiIchiran, Pictures::PlateJiTouroku,
                                         Pictures::PlateJiSakujo, Pictures::PlateOwari, Pictures::TitleJiIchiran,
                                         Pictures::TitleJiTouroku, Pictures::TitleJiSakujo})
            all.push_back({plate, {{{0, 0}, Clear}, {{151, 52}, Clear}, {{3, 26}, Orange}, {{148, 26}, Orange}},
                           {&White}});
        for (const PictureSpec& face : {Pictures::FaceModoru, Pictures::FaceTou, Pictures::FaceHatsu})
            all.push_back({face, {{{0, 0}, Clear}, {{3, 20}, Red}, {{36, 20}, Red}, {{20, 35}, Red}}, {&White}});
        for (const PictureSpec& face : {Pictures::FaceTsugi, Pictures::FaceKotae, Pictures::FaceJi})
            all.push_back({face, {{{0, 0}, Clear}, {{39, 0}, Clear}, {{0, 39}, Clear}}, {&White}});
        for (const PictureSpec& word : {Pictures::WordTouroku, Pictures::WordChuushi})
            all.push_back({word, {{{0, 0}, Clear}, {{71, 29}, Clear}, {{36, 0}, Clear}}, {&White}});
        for (const PictureSpec& badge : Pictures::Badges)
            all.push_back({badge, {{{1, 1}, Clear}, {{43, 43}, Clear}, {{22, 3}, Blue}, {{5, 22}, Blue}}, {&White}});
        all.push_back({Pictures::MenuArt,
                       {{{2, 2}, Clear}, {{372, 2}, Clear}, {{2, 280}, Clear}, {{372, 280}, Clear},
                        {{187, 12}, Blue}},
                       {&White, &Red}});
        all.push_back({Pictures::MenuCrow, {{{0, 0}, Clear}, {{79, 67}, Clear}, {{40, 46}, Black}}, {&Orange}});
        all.push_back({Pictures::Icon, {{{3, 16}, DarkGreen}, {{28, 3}, DarkGreen}}, {&Yellow}});
        return all;
    }();
    return looks;
}

bool Contains(const QImage& image, const Shade& shade)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (shade.matches(image.pixelColor(x, y)))
                return true;
    return false;
}

class EveryPicture : public ::testing::TestWithParam<PictureSpec> {};

TEST_P(EveryPicture, LoadsFromTheResourcesAtItsListedSize)
{
    const PictureSpec& picture = GetParam();
    ASSERT_TRUE(QFile::exists(PicturePath(picture))) << "not compiled in: " << qPrintable(PicturePath(picture));
    QSvgRenderer renderer(PicturePath(picture));
    ASSERT_TRUE(renderer.isValid()) << picture.name;
    EXPECT_EQ(renderer.defaultSize(), picture.Size()) << picture.name;
    EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(0, 0), picture.Size())) << picture.name;
}

TEST_P(EveryPicture, IsSelfContainedVectorArt)
{
    // Text would be set in whatever font the user happens to have, and an
    // embedded bitmap would blur on a scaled desktop.
    QFile file(PicturePath(GetParam()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        EXPECT_NE(reader.name(), QStringLiteral("text")) << GetParam().name;
        EXPECT_NE(reader.name(), QStringLiteral("image")) << GetParam().name;
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            EXPECT_NE(attribute.name(), QStringLiteral("font-family")) << GetParam().name;
            if (attribute.name() == QStringLiteral("href")) {
                EXPECT_TRUE(attribute.value().startsWith(QLatin1Char('#')))
                    << GetParam().name << " refers outside itself";
            }
        }
    }
    EXPECT_FALSE(reader.hasError()) << GetParam().name << ": " << qPrintable(reader.errorString());
}

TEST_P(EveryPicture, IsMadeFromADrawingInTheArtFolder)
{
    // Hand edits to the compiled picture would be lost at the next regeneration.
    const QString drawing = SourceDir + QStringLiteral("/resources/art/") + QLatin1String(GetParam().name)
        + QStringLiteral(".svg");
    EXPECT_TRUE(QFileInfo::exists(drawing)) << GetParam().name;
}

TEST_P(EveryPicture, SharedLoaderGivesThePictureAtItsSize)
{
    const QPixmap pixmap = Picture(GetParam());
    EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), GetParam().Size()) << GetParam().name;
    const QImage image = pixmap.toImage();
    EXPECT_TRUE(Contains(image, Shade{"painted", [](QColor c) { return c.alpha() > 200; }}))
        << GetParam().name << " renders blank";
}

INSTANTIATE_TEST_SUITE_P(Pictures, EveryPicture, ::testing::ValuesIn(Pictures::All),
                         [](const ::testing::TestParamInfo<PictureSpec>& param) {
                             std::string name = param.param.name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

TEST(PictureLooks, EveryPictureIsCoveredByALook)
{
    for (const PictureSpec& picture : Pictures::All) {
        bool covered = false;
        for (const Look& look : Looks())
            covered = covered || qstrcmp(look.picture.name, picture.name) == 0;
        EXPECT_TRUE(covered) << picture.name;
    }
}

TEST(PictureLooks, ColoursStandWhereTheWindowsNeedThem)
{
    for (const Look& look : Looks()) {
        const QImage image = Render(look.picture, look.picture.Size());
        for (const Spot& spot : look.spots) {
            const QColor colour = image.pixelColor(spot.at);
            EXPECT_TRUE(spot.shade.matches(colour))
                << look.picture.name << " at (" << spot.at.x() << ", " << spot.at.y() << ") should be "
                << spot.shade.name << ", is rgba(" << colour.red() << ", " << colour.green() << ", "
                << colour.blue() << ", " << colour.alpha() << ")";
        }
        for (const Shade* shade : look.somewhere)
            EXPECT_TRUE(Contains(image, *shade)) << look.picture.name << " shows no " << shade->name;
    }
}

// The Windows icon file: a directory of square images, each stored as PNG.
struct IcoEntry {
    int side;
    QImage image;
};

std::vector<IcoEntry> ReadIco(const QByteArray& bytes)
{
    std::vector<IcoEntry> entries;
    if (bytes.size() < 6 || qFromLittleEndian<quint16>(bytes.constData()) != 0
        || qFromLittleEndian<quint16>(bytes.constData() + 2) != 1)
        return entries;
    const int count = qFromLittleEndian<quint16>(bytes.constData() + 4);
    for (int i = 0; i < count; ++i) {
        const char* entry = bytes.constData() + 6 + 16 * i;
        if (6 + 16 * (i + 1) > bytes.size())
            return {};
        const int side = static_cast<unsigned char>(entry[0]) == 0 ? 256 : static_cast<unsigned char>(entry[0]);
        const quint32 size = qFromLittleEndian<quint32>(entry + 8);
        const quint32 offset = qFromLittleEndian<quint32>(entry + 12);
        if (static_cast<qint64>(offset) + size > bytes.size())
            return {};
        entries.push_back({side, QImage::fromData(bytes.mid(offset, size))});
    }
    return entries;
}

TEST(Icon, WindowIconIsYellowOnDarkGreenAtEverySize)
{
    for (const int side : {16, 32, 48}) {
        const QImage image = AppIcon().pixmap(QSize(side, side)).toImage();
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_TRUE(DarkGreen.matches(image.pixelColor(1, side / 2))) << side;
        EXPECT_TRUE(Contains(image, Yellow)) << side;
        // The 字 stands in the middle: its yellow (blurred at small sizes) crosses the centre row.
        bool yellowInMiddleRow = false;
        for (int x = 0; x < side; ++x) {
            const QColor c = image.pixelColor(x, side / 2);
            yellowInMiddleRow = yellowInMiddleRow || (c.red() > 150 && c.green() > 130 && c.blue() < 100);
        }
        EXPECT_TRUE(yellowInMiddleRow) << side;
    }
}

TEST(Icon, WindowsIconFileMatchesTheDrawing)
{
    QFile file(SourceDir + QStringLiteral("/resources/vellumark.ico"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<IcoEntry> entries = ReadIco(file.readAll());
    ASSERT_FALSE(entries.empty()) << "not an icon file";
    bool has16 = false, has32 = false;
    for (const IcoEntry& entry : entries) {
        ASSERT_FALSE(entry.image.isNull()) << entry.side;
        EXPECT_EQ(entry.image.size(), QSize(entry.side, entry.side));
        has16 = has16 || entry.side == 16;
        if (entry.side != 32)
            continue;
        has32 = true;
        // An icon left behind after the drawing changed would differ here.
        const QImage drawn = Render(Pictures::Icon, QSize(32, 32));
        int far = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QColor a = drawn.pixelColor(x, y), b = entry.image.pixelColor(x, y);
                far += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) > 24;
            }
        EXPECT_LE(far, 8) << "vellumark.ico is not the icon drawing: regenerate it";
    }
    EXPECT_TRUE(has16);
    EXPECT_TRUE(has32);
}

} // namespace
