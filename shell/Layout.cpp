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

} // namespace

QFont MinchoFont(double points, bool bold)
{
    static const QStringList families{QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS Mincho"),
                                      QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho"),
                                      QStringLiteral("Noto Serif CJK JP")};
    return MakeFont(families, points, bold);
}

QFont PMinchoFont(double points, bool bold)
{
    static const QStringList families{QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"),
                                      QStringLiteral("IPAexMincho"), QStringLiteral("IPAPMincho"),
                                      QStringLiteral("Noto Serif CJK JP")};
    return MakeFont(families, points, bold);
}
