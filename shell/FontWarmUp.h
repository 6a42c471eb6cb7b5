// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// Loads the windows' fonts while the menu waits for a click. Finding a font
// through fontconfig, opening its face and rendering its glyphs cost more than a
// whole window's layout, and would otherwise fall on the first opening of each
// window. One font per turn of the event loop, so that a click waits for one at
// most.
class FontWarmUp final : public QObject {
public:
    // pairFonts show the stored pairs; they render pairCharacters() too, asked for
    // once, when the first of them has its turn.
    FontWarmUp(QList<QFont> fonts, QList<QFont> pairFonts, std::function<QString()> pairCharacters);

    void Start();
    bool Done() const { return started_ && next_ >= fonts_.size(); }

private:
    void WarmNext();

    // Held for the whole run: Qt's font cache keeps an engine while a font uses it.
    QList<QFont> fonts_;
    qsizetype pairFontsFrom_;
    std::function<QString()> pairCharacters_;
    QString pairSample_;
    bool started_ = false;
    qsizetype next_ = 0;
};
