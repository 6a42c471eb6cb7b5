// SPDX-License-Identifier: MIT
#include "shell/Layout.h"

#include <QStringList>

#include <cmath>

namespace {

QFont MakeFont(const QStringList& families, double points, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setStyleHint(QFont::Serif);
    return font;
}

// The Mincho families to ask for, best first: Windows' own (ＭＳ 明朝, then Yu Mincho)
// on Windows, IPA Mincho elsewhere; then the other platform's, and a last Mincho
// that many Linux desktops have.
QStringList MinchoFamilies(const QStringList& windows, const QStringList& ipa)
{
#ifdef Q_OS_WIN
    return windows + ipa + QStringList{QStringLiteral("Noto Serif CJK JP")};
#else
    return ipa + windows + QStringList{QStringLiteral("Noto Serif CJK JP")};
#endif
}

} // namespace

QFont MinchoFont(double points, bool bold)
{
    static const QStringList families =
        MinchoFamilies({QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS Mincho"), QStringLiteral("游明朝"),
                        QStringLiteral("Yu Mincho")},
                       {QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho")});
    return MakeFont(families, points, bold);
}

QFont PMinchoFont(double points, bool bold)
{
    static const QStringList families =
        MinchoFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"), QStringLiteral("游明朝"),
                        QStringLiteral("Yu Mincho")},
                       {QStringLiteral("IPAexMincho"), QStringLiteral("IPAPMincho")});
    return MakeFont(families, points, bold);
}
