// SPDX-License-Identifier: MIT
#include "shell/Pictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

// Names the picture in the test list and in failures.
#if VELLUMARK_HAS_SVG
void PrintTo(const PictureSpec& picture, std::ostream* out);  // PicturesTest.cpp, built beside
#else
void PrintTo(const PictureSpec& picture, std::ostream* out) { *out << picture.name; }
#endif

namespace {

#if VELLUMARK_HAS_SVG
// The average difference of two images of one size, per channel, from 0 to 255.
double MeanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    long long sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 4; ++i)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return double(sum) / (double(x.width()) * x.height() * 4);
}
#endif

class ScaledPicture : public ::testing::TestWithParam<PictureSpec> {};

// Without Qt Svg (the Windows build) the windows show these at scales other than
// 1 and 2 (125 %, 150 % and 175 % are common on Windows).
TEST_P(ScaledPicture, IsTheNearestLargerReadyMadePictureScaledSmoothly)
{
    const PictureSpec& picture = GetParam();
    for (const qreal ratio : {0.75, 1.25, 1.5, 1.75}) {
        SCOPED_TRACE(ratio);
        const QSize pixels = picture.Size() * ratio;
        const QImage scaled = ScaledPrerendered(picture, pixels);
        ASSERT_EQ(scaled.size(), pixels);
        const int from = ratio <= 1 ? 1 : 2;
        const QImage made = PrerenderedImage(QStringLiteral(":/pictures/") + PrerenderedName(picture, from),
                                             picture.Size() * from);
        ASSERT_FALSE(made.isNull());
        EXPECT_EQ(scaled, made.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied));
#if VELLUMARK_HAS_SVG
        // Close to what the SVG draws at that scale.
        EXPECT_LT(MeanDifference(scaled, RenderPicture(PicturePath(picture), pixels)), 10.0);
#else
        // What the windows show.
        EXPECT_EQ(Picture(picture, picture.Size(), ratio).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  scaled);
#endif
    }
    // At the ready-made sizes, the ready-made pixels themselves.
    EXPECT_EQ(ScaledPrerendered(picture, picture.Size() * 2),
              PrerenderedImage(QStringLiteral(":/pictures/") + PrerenderedName(picture, 2), picture.Size() * 2));
}

INSTANTIATE_TEST_SUITE_P(Pictures, ScaledPicture, ::testing::ValuesIn(Pictures::All),
                         [](const auto& param) { return QByteArray(param.param.name).replace('-', '_').toStdString(); });

} // namespace
