// SPDX-License-Identifier: MIT
#include "shell/FontWarmUp.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTimer>

FontWarmUp::FontWarmUp(QList<QFont> fonts, QList<QFont> pairFonts, std::function<QString()> pairCharacters)
    : fonts_(std::move(fonts)), pairFontsFrom_(fonts_.size()), pairCharacters_(std::move(pairCharacters))
{
    fonts_ += pairFonts;
}

void FontWarmUp::Start()
{
    if (started_)
        return;
    started_ = true;
    QTimer::singleShot(0, this, [this] { WarmNext(); });
}

void FontWarmUp::WarmNext()
{
    if (next_ >= fonts_.size())
        return;
    if (next_ == pairFontsFrom_ && pairCharacters_)
        pairSample_ = pairCharacters_();
    // The full-width digits number the pair grid; 字 brings in the face for kanji.
    QString sample = QStringLiteral("０１２３４５６７８９字");
    if (next_ >= pairFontsFrom_)
        sample += pairSample_;
    const QFont& font = fonts_.at(next_++);
    const QFontMetrics metrics(font);
    // Big enough for every glyph to land inside, and so be rendered.
    QImage scratch(metrics.horizontalAdvance(sample) + 1, metrics.height() + 1, QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    QPainter painter(&scratch);
    painter.setFont(font);
    painter.drawText(QPointF(0, metrics.ascent()), sample);
    painter.end();
    QTimer::singleShot(0, this, [this] { WarmNext(); });
}
