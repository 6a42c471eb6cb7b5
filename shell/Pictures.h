// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <array>

// A picture of the windows: its file under resources/pictures (without ".svg")
// and the size the window shows it at.
struct PictureSpec {
    const char* name;
    int width;
    int height;
    QSize Size() const { return {width, height}; }
};

// Every picture a window names. Pictures are compiled in as SVG, and the build
// renders each of them at its size for device pixel ratios 1 and 2 into pixels
// ready to paint; at any other scale the SVG is drawn when first shown, so the
// pictures stay sharp on a scaled desktop without costing every start. A build
// without Qt Svg (the Windows cross-build) scales the nearest larger ready-made
// picture smoothly instead.
namespace Pictures {
inline constexpr PictureSpec StartPlate{"plate-hajime", 152, 53};
inline constexpr PictureSpec ListPlate{"plate-jiichiran", 152, 53};
inline constexpr PictureSpec AddPlate{"plate-jitouroku", 152, 53};
inline constexpr PictureSpec DeletePlate{"plate-jisakujo", 152, 53};
inline constexpr PictureSpec EndPlate{"plate-owari", 152, 53};
inline constexpr PictureSpec ListTitle{"title-jiichiran", 152, 53};
inline constexpr PictureSpec AddTitle{"title-jitouroku", 152, 53};
inline constexpr PictureSpec DeleteTitle{"title-jisakujo", 152, 53};
inline constexpr PictureSpec BackFace{"face-modoru", 40, 40};   // 戻, white on red
inline constexpr PictureSpec NextFace{"face-tsugi", 40, 40};     // 次
inline constexpr PictureSpec AnswerFace{"face-kotae", 40, 40};     // 答
inline constexpr PictureSpec PairListFace{"face-ji", 40, 40};           // 字
inline constexpr PictureSpec AddFace{"face-tou", 40, 40};         // 登, white on red
inline constexpr PictureSpec ResetFace{"face-hatsu", 40, 40};     // 初, white on red
inline constexpr PictureSpec ConfirmWord{"word-touroku", 72, 30}; // 登録
inline constexpr PictureSpec CancelWord{"word-chuushi", 72, 30}; // 中止
inline constexpr std::array<PictureSpec, 4> Badges{{{"badge-0", 45, 45}, {"badge-1", 45, 45},
                                                    {"badge-2", 45, 45}, {"badge-3", 45, 45}}};
inline constexpr PictureSpec MenuArt{"menu-art", 375, 283};
inline constexpr PictureSpec MenuCrow{"menu-crow", 80, 68};
inline constexpr PictureSpec Icon{"icon", 32, 32};

inline constexpr std::array All{StartPlate, ListPlate, AddPlate, DeletePlate, EndPlate,
                                ListTitle, AddTitle, DeleteTitle, BackFace, NextFace,
                                AnswerFace, PairListFace, AddFace, ResetFace, ConfirmWord, CancelWord,
                                Badges[0], Badges[1], Badges[2], Badges[3], MenuArt, MenuCrow, Icon};

// The device pixel ratios the build renders for, and the sides the window icon is
// offered at.
inline constexpr std::array PrerenderedRatios{1, 2};
inline constexpr std::array WindowIconSides{16, 24, 32, 48, 64};
} // namespace Pictures

QString PicturePath(const PictureSpec& picture);
// The picture at its design size.
QPixmap Picture(const PictureSpec& picture);
QPixmap Picture(const PictureSpec& picture, QSize size);
// At a given device pixel ratio rather than the screen's.
QPixmap Picture(const PictureSpec& picture, QSize size, qreal ratio);
QIcon AppIcon();

// What the build renders, under ":/pictures/": a picture at its design size for one
// of the PrerenderedRatios, and the window icon by its side in pixels. Each file
// holds the bare pixels in QImage::Format_ARGB32_Premultiplied, row by row: a
// PNG would cost more to decode than the whole menu takes to lay out.
QString PrerenderedName(const PictureSpec& picture, int ratio);
QString WindowIconName(int pixels);
// The bytes such a file holds, and the image of a file's bytes (null when they do
// not make an image of that size).
QByteArray PrerenderedBytes(const QImage& image);
QImage PrerenderedImage(const QString& resourcePath, QSize pixels);
// How a picture looks at `pixels`: its SVG drawn onto a transparent image of that
// size (left blank if the SVG is not valid). The build and the loader share it.
// Only in a build with Qt Svg (VELLUMARK_HAS_SVG).
QImage RenderPicture(const QString& svgPath, QSize pixels);
// The same without Qt Svg: the smallest ready-made picture (ratio 1 or 2) that
// covers `pixels`, else the largest, scaled smoothly to `pixels`.
QImage ScaledPrerendered(const PictureSpec& picture, QSize pixels);
