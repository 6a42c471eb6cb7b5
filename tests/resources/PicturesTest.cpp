// SPDX-License-Identifier: MIT
#include "shell/Pictures.h"
#include "tests/support/TestShell.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#if VELLUMARK_HAS_SVG
#include <QSvgRenderer>
#endif
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

// Failures name the picture rather than dumping its bytes.
void PrintTo(const PictureSpec& picture, std::ostream* out) { *out << picture.name; }
void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << 'x' << size.height(); }

namespace {

// Colours by what a player would call them, loose enough for gradients and
// anti-aliasing, tight enough that a plate drawn red or a face left blank fails.
struct Shade {
    const char* name;
    int alpha;  // opaque above this; without rgb, transparent below it
    bool (*rgb)(int r, int g, int b);
    bool Matches(QColor c) const
    {
        return rgb ? c.alpha() > alpha && rgb(c.red(), c.green(), c.blue()) : c.alpha() < alpha;
    }
};
const Shade Clear{"transparent", 24, nullptr};
const Shade Orange{"orange", 230, [](int r, int g, int b) { return r > 200 && g > 90 && g < 200 && b < 110; }};
const Shade Red{"red", 230, [](int r, int g, int b) { return r > 170 && g < 100 && b < 100; }};
const Shade Blue{"blue", 230, [](int r, int g, int b) { return b > 140 && b > r + 60 && b > g + 20; }};
const Shade White{"white", 240, [](int r, int g, int b) { return r > 235 && g > 235 && b > 235; }};
const Shade Black{"black", 230, [](int r, int g, int b) { return r < 60 && g < 60 && b < 70; }};
const Shade Yellow{"yellow", 230, [](int r, int g, int b) { return r > 220 && g > 200 && b < 90; }};
const Shade DarkGreen{"dark green", 230, [](int r, int g, int b) { return g > 60 && g < 150 && r < 50 && b < 70; }};

struct Spot {
    QPoint at;
    const Shade& shade;
};
// What stands at given pixels of a picture, and what must show somewhere in it.
struct Look {
    std::vector<Spot> spots;
    std::vector<const Shade*> somewhere;
};

const Look* LookOf(const PictureSpec& picture)
{
    static const std::map<std::string, Look> looks = [] {
        std::map<std::string, Look> all;
        const auto put = [&all](std::initializer_list<PictureSpec> pictures, const Look& look) {
            for (const PictureSpec& p : pictures)
                all.emplace(p.name, look);
        };
        using namespace Pictures;
        put({StartPlate, ListPlate, AddPlate, DeletePlate, EndPlate, ListTitle, AddTitle,
             DeleteTitle},
            {{{{0, 0}, Clear}, {{151, 52}, Clear}, {{3, 26}, Orange}, {{148, 26}, Orange}}, {&White}});
        put({BackFace, AddFace, ResetFace}, {{{{0, 0}, Clear}, {{3, 20}, Red}, {{36, 20}, Red}, {{20, 35}, Red}}, {&White}});
        put({NextFace, AnswerFace, PairListFace}, {{{{0, 0}, Clear}, {{39, 0}, Clear}, {{0, 39}, Clear}}, {&White}});
        put({ConfirmWord, CancelWord}, {{{{0, 0}, Clear}, {{71, 29}, Clear}, {{36, 0}, Clear}}, {&White}});
        put({Badges[0], Badges[1], Badges[2], Badges[3]},
            {{{{1, 1}, Clear}, {{43, 43}, Clear}, {{22, 3}, Blue}, {{5, 22}, Blue}}, {&White}});
        put({MenuArt},
            {{{{2, 2}, Clear}, {{372, 2}, Clear}, {{2, 280}, Clear}, {{372, 280}, Clear}, {{187, 12}, Blue}},
             {&White, &Red}});
        put({MenuCrow}, {{{{0, 0}, Clear}, {{79, 67}, Clear}, {{40, 46}, Black}}, {&Orange}});
        put({Icon}, {{{{3, 16}, DarkGreen}, {{28, 3}, DarkGreen}}, {&Yellow}});
        return all;
    }();
    const auto it = looks.find(picture.name);
    return it == looks.end() ? nullptr : &it->second;
}

// The looks of a picture drawn at a device pixel ratio, the spots scaled with it.
void ExpectLooks(const PictureSpec& picture, const QImage& image, qreal ratio)
{
    ASSERT_EQ(image.size(), picture.Size() * ratio);
    const Look* look = LookOf(picture);
    ASSERT_TRUE(look) << "no look to check the picture against";
    for (const Spot& spot : look->spots) {
        const QColor colour = image.pixelColor(spot.at * ratio);
        EXPECT_TRUE(spot.shade.Matches(colour))
            << "(" << spot.at.x() << ", " << spot.at.y() << ") should be " << spot.shade.name << ", is rgba("
            << colour.red() << ", " << colour.green() << ", " << colour.blue() << ", " << colour.alpha() << ")";
    }
    for (const Shade* shade : look->somewhere)
        EXPECT_TRUE(AnyPixel(image, [&](QColor c) { return shade->Matches(c); })) << "shows no " << shade->name;
}

class EveryPicture : public ::testing::TestWithParam<PictureSpec> {};

#if VELLUMARK_HAS_SVG
TEST_P(EveryPicture, IsSelfContainedVectorArtOfItsSize)
{
    const PictureSpec& picture = GetParam();
    QSvgRenderer renderer(PicturePath(picture));
    ASSERT_TRUE(renderer.isValid()) << "not compiled in: " << qPrintable(PicturePath(picture));
    EXPECT_EQ(renderer.defaultSize(), picture.Size());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(0, 0), picture.Size()));
    // Hand edits to the compiled picture would be lost at the next regeneration.
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(VELLUMARK_SOURCE_DIR "/resources/art/") + QLatin1String(picture.name)
                                  + QStringLiteral(".svg")));

    // Text would be set in whatever font the user happens to have, and an
    // embedded bitmap would blur on a scaled desktop.
    QFile file(PicturePath(picture));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        EXPECT_NE(reader.name(), QStringLiteral("text"));
        EXPECT_NE(reader.name(), QStringLiteral("image"));
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            EXPECT_NE(attribute.name(), QStringLiteral("font-family"));
            EXPECT_TRUE(attribute.name() != QStringLiteral("href") || attribute.value().startsWith(QLatin1Char('#')))
                << "refers outside itself";
        }
    }
    EXPECT_FALSE(reader.hasError()) << qPrintable(reader.errorString());
}
#endif

// How many pixels are neither clear nor opaque.
int SoftEdge(const QImage& image)
{
    int soft = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            soft += qAlpha(image.pixel(x, y)) > 8 && qAlpha(image.pixel(x, y)) < 247;
    return soft;
}

// Through the loader the windows use, at the scales a desktop is commonly set to:
// the ready-made pixels at 1 and 2, else (125 %, 150 % and 175 % are common on
// Windows) drawn, or the larger ready-made picture scaled down where Qt Svg is missing.
TEST_P(EveryPicture, ShowsItsColoursSharplyAtEveryScale)
{
    const PictureSpec& picture = GetParam();
    const QImage smallest = ScaledPrerendered(picture, picture.Size());
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        SCOPED_TRACE(ratio);
        const QPixmap shown = Picture(picture, picture.Size(), ratio);
        EXPECT_EQ(shown.deviceIndependentSize().toSize(), picture.Size());
        EXPECT_EQ(shown.devicePixelRatio(), ratio);
        ExpectLooks(picture, shown.toImage(), ratio);
        // The ready-made pixels at 1 and 2; above 1, the larger ones scaled down,
        // sharper than the smaller ones blurred up.
        const QImage scaled = ScaledPrerendered(picture, picture.Size() * ratio);
        ExpectLooks(picture, scaled, ratio);
        if (ratio > 1) {
            const QImage blurred = smallest.scaled(scaled.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_LT(SoftEdge(scaled), SoftEdge(blurred));
        }
#if VELLUMARK_HAS_SVG
        if (ratio != 1 && ratio != 2) {  // drawn afresh, sharper still
            EXPECT_LT(SoftEdge(shown.toImage()), SoftEdge(scaled));
        }
#endif
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, EveryPicture, ::testing::ValuesIn(Pictures::All),
                         [](const auto& param) { return QByteArray(param.param.name).replace('-', '_').toStdString(); });

#if VELLUMARK_HAS_SVG
// Every size the window and the desktop are offered shows the icon's looks.
TEST(Icon, WindowIconAndInstalledIconSetShowTheDrawingAtEachSize)
{
    const auto expectIcon = [](const QImage& image, int side) {
        SCOPED_TRACE(side);
        ExpectLooks(Pictures::Icon, image, side / 32.0);
    };
    for (const int ratio : Pictures::PrerenderedRatios)
        for (const int side : Pictures::WindowIconSides)
            expectIcon(PrerenderedImage(QStringLiteral(":/pictures/") + WindowIconName(side * ratio),
                                        QSize(side, side) * ratio), side * ratio);
    for (const int side : {16, 24, 32, 48, 64, 128, 256})
        expectIcon(QImage(QStringLiteral(VELLUMARK_BINARY_DIR "/icons/hicolor/%1x%1/apps/" VELLUMARK_APP_ID ".png").arg(side)),
                   side);
    for (const int side : {16, 32, 48})  // what a window shows
        expectIcon(AppIcon().pixmap(QSize(side, side)).toImage(), side);
}

TEST(Icon, WindowsIconFileMatchesTheDrawing)
{
    QImageReader reader(QStringLiteral(VELLUMARK_SOURCE_DIR "/resources/vellumark.ico"), "ico");
    QList<int> sides;
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        const QSize listed = reader.size();  // what the icon's directory claims
        const QImage entry = reader.read();
        ASSERT_EQ(entry.size(), listed) << i;
        ASSERT_EQ(listed.width(), listed.height()) << i;
        sides.push_back(listed.width());
        if (listed.width() != 32)
            continue;
        // An icon left behind after the drawing changed would differ here.
        const QImage drawn = Picture(Pictures::Icon).toImage();
        int far = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QColor a = drawn.pixelColor(x, y), b = entry.pixelColor(x, y);
                far += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) > 24;
            }
        EXPECT_LE(far, 8) << "vellumark.ico is not the icon drawing: regenerate it";
    }
    EXPECT_TRUE(sides.contains(16) && sides.contains(32)) << "the sizes a Windows title bar and taskbar need";
}

#endif

} // namespace
